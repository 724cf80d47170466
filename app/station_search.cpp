#include "app/station_search.h"

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

}  // namespace stratocue::app
