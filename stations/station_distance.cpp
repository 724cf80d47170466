#include "stations/station_distance.h"

#include <algorithm>
#include <cmath>

namespace stratocue::stations {

double stationDistance(double latitudeA, double longitudeA, double latitudeB, double longitudeB) {
    const double halfLongitude = std::sin((longitudeB - longitudeA) / 2.0);
    const double halfLatitude = std::sin((latitudeB - latitudeA) / 2.0);
    double a = halfLongitude * halfLongitude * std::cos(latitudeB) * std::cos(latitudeA) + halfLatitude * halfLatitude;
    if (!(a >= 0.0)) a = 0.0;  // also catches NaN from a non-finite position
    a = std::min(a, 1.0);
    // atan2 gives the same angle as atan(sqrt(a) / sqrt(1 - a)) and stays defined at a = 1.
    const double centralAngle = 2.0 * std::atan2(std::sqrt(a), std::sqrt(1.0 - a));
    return centralAngle * kDistanceFactor;
}

}  // namespace stratocue::stations
