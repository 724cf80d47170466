#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

#include "stations/station_tables.h"

namespace stratocue::stations {

constexpr std::string_view kMetarStationFileName = "icao.txt";
constexpr std::string_view kFdStationFileName = "fdwinds.txt";
constexpr std::string_view kStationLoadErrorMessage =
    "Error reading ICAO.TXT or FDWINDS.TXT - Make sure they exist and are valid";

// What the station loader needs from the rest of the program. An action left empty is
// skipped.
struct StationLoadActions {
    std::filesystem::path folder;                       // working folder holding icao.txt and fdwinds.txt
    std::function<void(std::string_view)> showMessage;  // modal message box with one OK button
    std::function<void()> closeLink;                    // Link_Close
    std::function<void()> destroyMainAndSplash;         // destroys frmMain, then frmSplash
};

// Fills `tables` from icao.txt and fdwinds.txt in `actions.folder` and returns true. On any
// failure (a file missing or unreadable, too many data lines, an elevation out of range, a
// numeric fault) it shows kStationLoadErrorMessage, closes the link, destroys the main and
// splash windows and returns false; the entries stored before the failure stay. Its own
// faults never escape; the actions' do.
[[nodiscard]] bool Stations_Load(StationTables& tables, const StationLoadActions& actions);

}  // namespace stratocue::stations
