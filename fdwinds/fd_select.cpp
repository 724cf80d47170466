#include "fdwinds/fd_select.h"

#include "stations/station_distance.h"

namespace stratocue::fdwinds {
namespace {

constexpr double kStartingDistance = 99999999.0;

// The row of the last bulletin line carrying `stationId`, 0 when none does.
std::int16_t lastRowOf(const FdWinds& winds, std::string_view stationId) {
    if (stationId.size() <= 1) return 0;
    std::int16_t found = 0;
    for (std::int16_t row = 1; row <= winds.rowCount; ++row) {
        if (winds.rowId[static_cast<std::size_t>(row)] == stationId) found = row;
    }
    return found;
}

}  // namespace

FdSelection FD_SelectStation(const FdWinds& winds, const stations::StationTables& stations, double aircraftLatitude,
                             double aircraftLongitude) {
    FdSelection selection;
    double best = kStartingDistance;
    for (std::int32_t j = 1; j <= stations.FdStationCount; ++j) {
        const stations::Station& station = stations.FdStationList[static_cast<std::size_t>(j)];
        const double distance =
            stations::stationDistance(aircraftLatitude, aircraftLongitude, station.latitude, station.longitude);
        if (!(distance < best)) continue;
        const std::int16_t row = lastRowOf(winds, station.id);
        if (row == 0) continue;  // a nearer station missing from the bulletins never blocks a farther one
        selection.row = row;
        selection.stationIndex = static_cast<std::int16_t>(j);
        best = distance;
    }
    selection.inRange = selection.row != 0 && best <= kFdRangeLimit;
    return selection;
}

bool FD_StationWithinRange(const stations::StationTables& stations, double aircraftLatitude, double aircraftLongitude) {
    for (std::int32_t j = 1; j <= stations.FdStationCount; ++j) {
        const stations::Station& station = stations.FdStationList[static_cast<std::size_t>(j)];
        if (stations::stationDistance(aircraftLatitude, aircraftLongitude, station.latitude, station.longitude) <=
            kFdRangeLimit) {
            return true;
        }
    }
    return false;
}

}  // namespace stratocue::fdwinds
