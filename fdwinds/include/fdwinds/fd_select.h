#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/fd_regions.h"
#include "common/units.h"
#include "fdwinds/fd_winds.h"
#include "stations/station_tables.h"

namespace stratocue::fdwinds {

// The seven regional bulletin pages, in the order they are fetched and joined.
inline constexpr std::array<std::string_view, kFdRegions.size()> FdRegionPages = [] {
    std::array<std::string_view, kFdRegions.size()> pages{};
    for (std::size_t i = 0; i < pages.size(); ++i) pages[i] = kFdRegions[i].pagePath;
    return pages;
}();

constexpr std::int32_t kFdRequestTimeoutSeconds = 30;
constexpr double kFdRangeLimit = 500.0;
constexpr double kFdWriteAltitudeMetres = 1500 / units::kFeetPerMetreWindsAloftWrite;  // about 392.157 m

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

// True when a station of FdStationList lies within range of the aircraft (positions in
// radians), whether or not the bulletins carry it: the bulletins are worth asking for.
[[nodiscard]] bool FD_StationWithinRange(const stations::StationTables& stations, double aircraftLatitude,
                                         double aircraftLongitude);

}  // namespace stratocue::fdwinds
