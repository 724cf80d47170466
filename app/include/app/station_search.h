#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "stations/station_tables.h"

namespace stratocue::app {

constexpr double kNoStationDistance = 99999999.0;

// The station chosen by one search: the nearest one, or the forced one within its range.
struct StationChoice {
    std::int16_t closestIndex = 1;
    double closestDistance = kNoStationDistance;
};

// Searches StationList for the station to use. A forced id of exactly 4 characters whose
// upper-case form equals a station id wins when that station lies strictly within
// `forcedRange` (forcedActive set), and is an ordinary station otherwise (forcedActive
// cleared); the flag keeps its value when the forced station is not met. Of stations at
// equal distance the first listed wins. `tempClosest` receives every index chosen.
[[nodiscard]] StationChoice findStation(const stations::StationTables& stations, double aircraftLatitude,
                                        double aircraftLongitude, const std::string& forcedId, std::int16_t forcedRange,
                                        bool& forcedActive, std::int16_t& tempClosest);

// How far a METAR refresh looks for another station when the chosen one has no report.
inline constexpr std::size_t kMostNeighbourStations = 5;
inline constexpr double kNeighbourRange = 50.0;  // in the distance unit the main window shows

// The stations nearest the aircraft other than `chosenIndex`, nearest first (of equal
// distance the first listed), at most `most` and each strictly within `range`.
[[nodiscard]] std::vector<std::int16_t> neighbourStations(const stations::StationTables& stations,
                                                          double aircraftLatitude, double aircraftLongitude,
                                                          std::int16_t chosenIndex, std::size_t most, double range);

}  // namespace stratocue::app
