#pragma once

#include <chrono>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace stratocue::standins {

inline constexpr std::string_view kGfsFileName = "gfs.txt";
inline constexpr std::string_view kGfsPath = "/v1/gfs";

// The forecast model's values at one pressure level at 00 UTC; each hour of the day adds
// one knot to the speed and ten degrees to the direction, so the hour shows in what is served.
struct GfsLevelValues {
    double windSpeedKnots = 0.0;
    double windDirectionDegrees = 0.0;
    double temperatureC = 0.0;
};

// The levels of the data file, by pressure in hPa.
using GfsTable = std::map<int, GfsLevelValues>;

// Reads gfs.txt: lines "hPa knots degrees celsius"; "#" starts a comment line, blank lines
// are skipped. Throws WxDataError naming the line of a malformed one.
[[nodiscard]] GfsTable parseGfsTable(std::string_view text);

// The level's values in the hour of the day `hour` (0..23).
[[nodiscard]] GfsLevelValues gfsValuesAt(const GfsLevelValues& midnight, int hour);

// The model service's answer to "/v1/gfs" with its query, as the service gives it: status
// 200 and JSON with hourly_units and hourly (forecast_hours entries from the hour of `now`,
// else seven days from 00 UTC), speeds in km/h unless wind_speed_unit=kn; status 400 and
// {"error":true,"reason":...} for a position that is missing or out of range, a variable
// the table has no level for, or a forecast_hours outside 1..384.
struct GfsReply {
    int status;
    std::string json;
};
[[nodiscard]] GfsReply gfsReply(const GfsTable& table, const std::multimap<std::string, std::string>& query,
                                std::chrono::system_clock::time_point now);

}  // namespace stratocue::standins
