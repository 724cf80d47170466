#pragma once

namespace stratocue::stations {

constexpr double kDistanceFactor = 3963.1;  // the Earth's mean radius in statute miles

// Great-circle distance between two positions in radians, in the unit the windows label
// "nm": 3963.1 times the central angle from the haversine. Never faults: a station exactly
// opposite gives the half circumference (about 12450.3), and a rounding that pushes the
// haversine above 1 counts as 1.
[[nodiscard]] double stationDistance(double latitudeA, double longitudeA, double latitudeB, double longitudeB);

}  // namespace stratocue::stations
