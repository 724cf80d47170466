#pragma once

#include <map>
#include <string>
#include <string_view>

#include "standins/wx/wx_options.h"
#include "standins/wx/wx_weather_data.h"

namespace stratocue::standins {

inline constexpr std::string_view kVatsimMetarPath = "/search_metar.html";
inline constexpr std::string_view kVatsimQueryKey = "cod";
inline constexpr std::string_view kWeatherServiceMetarPath = "/cgi-bin/mgetmetar.pl";
inline constexpr std::string_view kWeatherServiceQueryKey = "cccc";

inline constexpr int kStatusOk = 200;
inline constexpr int kStatusNotFound = 404;

// The answer to one request before any fault is applied.
struct WxReply {
    int status = kStatusOk;
    std::string body;
};

// Answers a GET of `path` with its decoded query parameters: the METAR page of either
// layout for the station named by the query (a "not found" page, status 200, for an
// unknown station), the FD page of a region, or status 404 for any other path and for a
// region without a bulletin.
[[nodiscard]] WxReply answerRequest(const WeatherData& data, std::string_view path,
                                    const std::multimap<std::string, std::string>& query);

// The reply as the status and oversize faults change it: the fault's status replaces the
// reply's, and the page is padded past 32,767 bytes. The slow fault is the server's.
[[nodiscard]] WxReply withFaults(WxReply reply, const WxFaults& faults);

}  // namespace stratocue::standins
