#pragma once

// Answers of the forecast model service, built as the service writes them.

#include <cstddef>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "fdwinds/gfs_winds.h"

namespace stratocue::fdwinds::testing_gfs {

// The same readings at every level.
inline GfsReadings allLevels(GfsLevelReading reading) {
    GfsReadings readings;
    readings.fill(reading);
    return readings;
}

// Readings that differ at every level: speed 10 + level, direction 100 + 10 * level,
// temperature 5 - 10 * level.
inline GfsReadings distinctLevels() {
    GfsReadings readings;
    for (std::size_t level = 0; level < readings.size(); ++level) {
        const auto n = static_cast<double>(level);
        readings[level] = {10 + n, 100 + 10 * n, 5 - 10 * n};
    }
    return readings;
}

// The JSON answer: one entry per time, each with its readings, speeds in `speedUnit`.
inline nlohmann::json gfsAnswer(const std::vector<std::string>& times, const std::vector<GfsReadings>& entries,
                                const std::string& speedUnit = "kn") {
    nlohmann::json hourly = {{"time", times}};
    nlohmann::json units = {{"time", "iso8601"}};
    for (std::size_t level = 0; level < kGfsLevelHectopascals.size(); ++level) {
        const std::string hPa = std::to_string(kGfsLevelHectopascals[level]) + "hPa";
        units["wind_speed_" + hPa] = speedUnit;
        units["wind_direction_" + hPa] = "°";
        units["temperature_" + hPa] = "°C";
        for (const GfsReadings& entry : entries) {
            hourly["wind_speed_" + hPa].push_back(entry[level].windSpeedKnots);
            hourly["wind_direction_" + hPa].push_back(entry[level].windDirectionDegrees);
            hourly["temperature_" + hPa].push_back(entry[level].temperatureC);
        }
    }
    return {{"latitude", 52.375}, {"longitude", 4.875}, {"generationtime_ms", 0.5}, {"utc_offset_seconds", 0},
            {"timezone", "GMT"},  {"elevation", 0.0},   {"hourly_units", units},    {"hourly", hourly}};
}

}  // namespace stratocue::fdwinds::testing_gfs
