#include <cstddef>
#include <string>

#include <nlohmann/json.hpp>

#include "fdwinds/gfs_winds.h"

namespace stratocue::fdwinds {
namespace {

using Json = nlohmann::json;

constexpr std::string_view kSpeedUnit = "kn";

std::string variableName(std::string_view quantity, std::size_t level) {
    return std::string(quantity) + std::to_string(kGfsLevelHectopascals[level]) + "hPa";
}

// The member of an object, or a failure naming what is missing.
const Json& member(const Json& object, const std::string& name) {
    if (!object.is_object() || !object.contains(name)) throw GfsAnswerError("the model's answer has no " + name);
    return object[name];
}

// The number at `entry` of the variable's array; a null, a text or a short array fails.
double valueAt(const Json& hourly, const std::string& name, std::size_t entry) {
    const Json& values = member(hourly, name);
    if (!values.is_array() || entry >= values.size() || !values[entry].is_number()) {
        throw GfsAnswerError("the model's answer has no value of " + name + " for the hour");
    }
    return values[entry].get<double>();
}

}  // namespace

GfsReadings GFS_ReadAnswer(const WebAnswer& answer, std::string_view hourText) {
    const Json json = Json::parse(answer.text, nullptr, false);
    if (json.is_discarded()) throw GfsAnswerError("the model's answer is no JSON");
    if (json.is_object() && json.contains("error")) {
        const auto reason = json.find("reason");
        const bool told = reason != json.end() && reason->is_string();
        throw GfsAnswerError("the model service refused: " + (told ? reason->get<std::string>() : std::string()));
    }
    requireServiceSuccess(answer);

    const Json& hourly = member(json, "hourly");
    const Json& units = member(json, "hourly_units");
    const Json& times = member(hourly, "time");
    std::size_t entry = 0;
    while (times.is_array() && entry < times.size() &&
           !(times[entry].is_string() && times[entry].get_ref<const std::string&>() == hourText))
        ++entry;
    if (!times.is_array() || entry == times.size()) {
        throw GfsAnswerError("the model's answer has no entry for " + std::string(hourText));
    }

    GfsReadings readings;
    for (std::size_t level = 0; level < kLevelCount; ++level) {
        const std::string speed = variableName("wind_speed_", level);
        const Json& unit = member(units, speed);
        if (!unit.is_string() || unit.get_ref<const std::string&>() != kSpeedUnit)
            throw GfsAnswerError("the model's " + speed + " is not in knots");
        readings[level] = {valueAt(hourly, speed, entry),
                           valueAt(hourly, variableName("wind_direction_", level), entry),
                           valueAt(hourly, variableName("temperature_", level), entry)};
        if (!(readings[level].windSpeedKnots >= 0)) throw GfsAnswerError("the model's " + speed + " is negative");
    }
    return readings;
}

}  // namespace stratocue::fdwinds
