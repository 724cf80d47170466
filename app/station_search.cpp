#include "app/station_search.h"

#include <algorithm>
#include <utility>

#include "common/ansi_text.h"
#include "stations/station_distance.h"

namespace stratocue::app {

StationChoice findStation(const stations::StationTables& stations, double aircraftLatitude, double aircraftLongitude,
                          const std::string& forcedId, std::int16_t forcedRange, bool& forcedActive,
                          std::int16_t& tempClosest) {
    StationChoice choice;
    const bool forcing = forcedId.size() == 4;
    const std::string forcedUpper = upperAscii(forcedId);
    for (std::int32_t i = 1; i <= stations.StationCount; ++i) {
        const stations::Station& station = stations.StationList[static_cast<std::size_t>(i)];
        const double distance =
            stations::stationDistance(aircraftLatitude, aircraftLongitude, station.latitude, station.longitude);
        const auto index = static_cast<std::int16_t>(i);
        if (forcing && forcedUpper == station.id) {
            forcedActive = false;
            if (distance < forcedRange) {
                forcedActive = true;
                choice = {index, distance};
                tempClosest = index;
                return choice;
            }
        }
        if (distance < choice.closestDistance) {
            choice = {index, distance};
            tempClosest = index;
        }
    }
    return choice;
}

std::vector<std::int16_t> neighbourStations(const stations::StationTables& stations, double aircraftLatitude,
                                            double aircraftLongitude, std::int16_t chosenIndex, std::size_t most,
                                            double range) {
    std::vector<std::pair<double, std::int16_t>> inRange;
    for (std::int32_t i = 1; i <= stations.StationCount; ++i) {
        const auto index = static_cast<std::int16_t>(i);
        if (index == chosenIndex) continue;
        const stations::Station& station = stations.StationList[static_cast<std::size_t>(i)];
        const double distance =
            stations::stationDistance(aircraftLatitude, aircraftLongitude, station.latitude, station.longitude);
        if (distance < range) inRange.emplace_back(distance, index);
    }
    // Sorting the pairs orders equal distances by index, which is the list order.
    std::sort(inRange.begin(), inRange.end());
    std::vector<std::int16_t> nearest;
    for (std::size_t i = 0; i < inRange.size() && i < most; ++i) nearest.push_back(inRange[i].second);
    return nearest;
}

}  // namespace stratocue::app
