#include <charconv>
#include <chrono>
#include <cstdio>
#include <string>

#include "fdwinds/gfs_winds.h"

namespace stratocue::fdwinds {
namespace {

constexpr std::string_view kGfsPath = "/v1/gfs";
constexpr int kPositionDecimals = 2;

// The degrees with two decimals and a ".", whatever the locale; no "-0.00".
std::string degreesText(double degrees) {
    char text[32];
    const auto result =
        std::to_chars(std::begin(text), std::end(text), degrees, std::chars_format::fixed, kPositionDecimals);
    std::string written(text, result.ptr);
    if (written == "-0.00") written.erase(0, 1);
    return written;
}

std::string hourlyVariables() {
    std::string variables;
    for (const std::string_view name : {"wind_speed_", "wind_direction_", "temperature_"}) {
        for (const int hectopascals : kGfsLevelHectopascals) {
            if (!variables.empty()) variables += ',';
            variables += std::string(name) + std::to_string(hectopascals) + "hPa";
        }
    }
    return variables;
}

}  // namespace

std::string gfsRequestUrl(std::string_view base, double latitudeDegrees, double longitudeDegrees) {
    return std::string(base) + std::string(kGfsPath) + "?latitude=" + degreesText(latitudeDegrees) +
           "&longitude=" + degreesText(longitudeDegrees) + "&hourly=" + hourlyVariables() +
           "&wind_speed_unit=kn&forecast_hours=1";
}

std::string gfsHourText(std::chrono::system_clock::time_point now) {
    using namespace std::chrono;
    const auto day = floor<days>(now);
    const year_month_day date(day);
    const auto hour = duration_cast<hours>(now - day).count();
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:00", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()), static_cast<int>(hour));
    return text;
}

std::string gfsServerAddress(const ServerAddresses& servers) {
    return servers.named(kOpenMeteoServer.key).value_or(std::string(kOpenMeteoServer.defaultAddress));
}

}  // namespace stratocue::fdwinds
