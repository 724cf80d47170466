#include "standins/wx/wx_gfs.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <sstream>

#include <nlohmann/json.hpp>

#include "standins/wx/wx_data_error.h"
#include "standins/wx/wx_text_lines.h"

namespace stratocue::standins {
namespace {

using Json = nlohmann::ordered_json;
using Query = std::multimap<std::string, std::string>;

constexpr double kKilometresPerNauticalMile = 1.852;
constexpr int kHoursPerDay = 24;
constexpr int kDefaultForecastDays = 7;
constexpr int kLongestForecastHours = 384;
constexpr double kKnotsAddedPerHour = 1;
constexpr double kDegreesAddedPerHour = 10;

std::optional<double> number(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

GfsReply errorReply(const std::string& reason) { return {400, Json{{"error", true}, {"reason", reason}}.dump()}; }

std::optional<std::string> queryValue(const Query& query, const std::string& key) {
    const auto found = query.find(key);
    if (found == query.end()) return std::nullopt;
    return found->second;
}

// "2026-12-08T14:00" of the hour `hoursAfter` hours after the start of `day`.
std::string timeText(std::chrono::sys_days day, int hoursAfter) {
    const auto moment = day + std::chrono::hours(hoursAfter);
    const auto date = std::chrono::year_month_day(std::chrono::floor<std::chrono::days>(moment));
    const auto hour = (moment - std::chrono::floor<std::chrono::days>(moment)).count();
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:00", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()), static_cast<int>(hour));
    return text;
}

int hourOfDay(int hoursAfterMidnight) { return hoursAfterMidnight % kHoursPerDay; }

// The quantity and level of a variable name "wind_speed_300hPa"; nullopt for another name.
struct Variable {
    std::string name;
    std::string quantity;  // wind_speed, wind_direction, temperature
    int hectopascals;
};
std::optional<Variable> parseVariable(const std::string& name) {
    for (const std::string quantity : {"wind_speed", "wind_direction", "temperature"}) {
        const std::string prefix = quantity + "_";
        if (!name.starts_with(prefix) || !name.ends_with("hPa")) continue;
        const std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - 3);
        int level = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), level);
        if (!digits.empty() && error == std::errc{} && end == digits.data() + digits.size()) {
            return Variable{name, quantity, level};
        }
    }
    return std::nullopt;
}

}  // namespace

GfsTable parseGfsTable(std::string_view text) {
    GfsTable table;
    const std::vector<std::string_view> lines = textLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = trimmedBlanks(lines[i]);
        if (line.empty() || line.starts_with('#')) continue;
        std::istringstream fields{std::string(line)};
        int hectopascals = 0;
        GfsLevelValues values;
        std::string rest;
        if (!(fields >> hectopascals >> values.windSpeedKnots >> values.windDirectionDegrees >> values.temperatureC) ||
            (fields >> rest)) {
            throw WxDataError(std::string(kGfsFileName) + " line " + std::to_string(i + 1) +
                              ": expected \"hPa knots degrees celsius\"");
        }
        table[hectopascals] = values;
    }
    return table;
}

GfsLevelValues gfsValuesAt(const GfsLevelValues& midnight, int hour) {
    return {midnight.windSpeedKnots + kKnotsAddedPerHour * hour,
            std::fmod(midnight.windDirectionDegrees + kDegreesAddedPerHour * hour, 360.0), midnight.temperatureC};
}

GfsReply gfsReply(const GfsTable& table, const Query& query, std::chrono::system_clock::time_point now) {
    const auto latitude = number(queryValue(query, "latitude").value_or(""));
    const auto longitude = number(queryValue(query, "longitude").value_or(""));
    if (!latitude || std::fabs(*latitude) > 90) return errorReply("Latitude must be in range of -90 to 90°.");
    if (!longitude || std::fabs(*longitude) > 180) return errorReply("Longitude must be in range of -180 to 180°.");
    const bool knots = queryValue(query, "wind_speed_unit") == "kn";

    const auto today = std::chrono::floor<std::chrono::days>(now);
    int firstHour = 0;
    int hourCount = kDefaultForecastDays * kHoursPerDay;
    if (const auto forecastHours = queryValue(query, "forecast_hours")) {
        const auto count = number(*forecastHours);
        if (!count || *count < 1 || *count > kLongestForecastHours || *count != std::floor(*count)) {
            return errorReply("Parameter 'forecast_hours' must be between 1 and 384.");
        }
        firstHour = static_cast<int>(std::chrono::floor<std::chrono::hours>(now - today).count());
        hourCount = static_cast<int>(*count);
    }

    Json units = {{"time", "iso8601"}};
    Json hourly = {{"time", Json::array()}};
    for (int h = 0; h < hourCount; ++h) hourly["time"].push_back(timeText(today, firstHour + h));
    std::string variables = queryValue(query, "hourly").value_or("");
    while (!variables.empty()) {
        const auto comma = variables.find(',');
        const std::string name = variables.substr(0, comma);
        variables = comma == std::string::npos ? std::string() : variables.substr(comma + 1);
        const auto variable = parseVariable(name);
        const auto level = variable ? table.find(variable->hectopascals) : table.end();
        if (level == table.end()) {
            return errorReply("Cannot initialize WeatherVariable from invalid String value " + name + ".");
        }
        units[name] = variable->quantity == "wind_speed"       ? (knots ? "kn" : "km/h")
                      : variable->quantity == "wind_direction" ? "°"
                                                               : "°C";
        Json& values = hourly[name] = Json::array();
        for (int h = 0; h < hourCount; ++h) {
            const GfsLevelValues at = gfsValuesAt(level->second, hourOfDay(firstHour + h));
            if (variable->quantity == "wind_speed") {
                values.push_back(knots ? at.windSpeedKnots : at.windSpeedKnots * kKilometresPerNauticalMile);
            } else {
                values.push_back(variable->quantity == "wind_direction" ? at.windDirectionDegrees : at.temperatureC);
            }
        }
    }
    const Json answer = {{"latitude", *latitude},   {"longitude", *longitude}, {"generationtime_ms", 0.1},
                         {"utc_offset_seconds", 0}, {"timezone", "GMT"},       {"timezone_abbreviation", "GMT"},
                         {"elevation", 0.0},        {"hourly_units", units},   {"hourly", hourly}};
    return {200, answer.dump()};
}

}  // namespace stratocue::standins
