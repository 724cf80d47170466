#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

#include "common/program_state.h"
#include "common/server_addresses.h"
#include "fdwinds/fd_winds.h"
#include "stations/station_tables.h"
#include "ui/form_slot.h"
#include "ui/frm_main.h"
#include "ui/frm_status.h"
#include "ui/http_transfer.h"

namespace stratocue::fdwinds {

// The seven regional bulletin pages, in the order they are fetched and joined.
inline constexpr std::array<std::string_view, 7> FdRegionPages{
    "/fdwinds/text/sfo_fd1.shtml",     "/fdwinds/text/slc_fd1.shtml",    "/fdwinds/text/chicago_fd1.shtml",
    "/fdwinds/text/ftworth_fd1.shtml", "/fdwinds/text/boston_fd1.shtml", "/fdwinds/text/miami_fd1.shtml",
    "/fdwinds/text/alaska_fd1.shtml",
};

constexpr std::int32_t kFdRequestTimeoutSeconds = 30;
constexpr double kFdRangeLimit = 500.0;
constexpr double kFdWriteAltitudeMetres = 1500 / 3.825;  // about 392.157 m

// The station choice of one run: the row of FdWinds (0 = none), whether it lies within
// range, and the FdStationList index of the chosen station (0 = none).
struct FdSelection {
    std::int16_t row = 0;
    bool inRange = false;
    std::int16_t stationIndex = 0;
};

// The FD station nearest to the aircraft among those that occur in the bulletins: strict
// less-than, stations with one-character ids never match, the last matching row wins.
[[nodiscard]] FdSelection FD_SelectStation(const FdWinds& winds, const stations::StationTables& stations,
                                           double aircraftLatitude, double aircraftLongitude);

// What FD_Read reads and writes.
struct FdReadContext {
    ui::FormSlot<ui::FrmMain>& frmMain;
    ui::FormSlot<ui::FrmStatus>& frmStatus;
    ProgramState& state;
    const stations::StationTables& stations;
    ui::HttpTransfer& Inet1;
    const ServerAddresses& servers;
    FdWinds& winds;
    // The winds-aloft writer, called with the chosen row and the index FD_Read received.
    std::function<void(std::int16_t& row, std::int16_t& index)> FD_Set;
};

// One winds-aloft refresh: fetches and decodes all seven pages, chooses the station,
// shows its summary in txtTESTFD and writes its winds when the aircraft is high enough,
// the station in range and nothing forced. Every failure shows "Download Timeout or
// Error"; a failure before the decoding keeps the previous winds. Nothing escapes.
void FD_Read(FdReadContext& context, std::int16_t& index);

}  // namespace stratocue::fdwinds
