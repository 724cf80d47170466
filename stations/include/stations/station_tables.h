#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace stratocue::stations {

constexpr std::int32_t kMaxMetarStations = 5000;
constexpr std::int32_t kMaxFdStations = 2000;

// One reporting station: identifier as in the file, position in radians (north and east
// positive), elevation in whole metres (METAR stations only).
struct Station {
    std::string id;
    double latitude = 0.0;
    double longitude = 0.0;
    std::int16_t elevation = 0;
};

// The two station tables, indexed from 1; index 0 exists and is never filled.
struct StationTables {
    std::vector<Station> StationList;
    std::int32_t StationCount = 0;
    std::vector<Station> FdStationList;
    std::int32_t FdStationCount = 0;
};

}  // namespace stratocue::stations
