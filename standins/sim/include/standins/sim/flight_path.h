#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace stratocue::standins {

// One point of a scripted flight.
struct FlightPoint {
    double seconds = 0;  // since the stand-in started
    double latitudeDeg = 0;
    double longitudeDeg = 0;
    double altitudeMetres = 0;

    friend bool operator==(const FlightPoint&, const FlightPoint&) = default;
};

struct FlightPath {
    std::vector<FlightPoint> points;
    std::string error;  // empty when every line was good; else "line N: ..."
};

// Reads lines "seconds latitude_deg longitude_deg altitude_m"; "#" starts a comment and
// blank lines are skipped. Times must not go backwards; latitudes lie within -90..90,
// longitudes within -180..180. The first bad line ends the parse with its error.
[[nodiscard]] FlightPath parseFlightPath(std::string_view text);

// The position at `seconds`, interpolated linearly between points; the first point before
// the path starts, the last one held after it ends; all zeros without points.
[[nodiscard]] FlightPoint positionAt(std::span<const FlightPoint> points, double seconds);

}  // namespace stratocue::standins
