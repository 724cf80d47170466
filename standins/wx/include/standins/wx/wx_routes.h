#pragma once

#include <chrono>
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

// Today's services: the data API's two paths; the VATSIM service answers "/<ID>" for an
// identifier of one to four letters and digits.
inline constexpr std::string_view kDataApiMetarPath = "/api/data/metar";
inline constexpr std::string_view kDataApiWindTempPath = "/api/data/windtemp";

inline constexpr int kStatusOk = 200;
inline constexpr int kStatusNoContent = 204;
inline constexpr int kStatusBadRequest = 400;
inline constexpr int kStatusNotFound = 404;

inline constexpr std::string_view kHtmlContent = "text/html";
inline constexpr std::string_view kPlainTextContent = "text/plain";
inline constexpr std::string_view kJsonContent = "application/json";

// The answer to one request before any fault is applied.
struct WxReply {
    int status = kStatusOk;
    std::string body;
    std::string_view contentType = kHtmlContent;
};

// Answers a GET of `path` with its decoded query parameters:
// - the classic layouts: the METAR page of either layout for the station named by the
//   query (a "not found" page, status 200, for an unknown station), the FD page of a
//   region;
// - today's services, plain text: the VATSIM service's report for "/<ID>" (an empty body,
//   status 200, for an unknown station); the data API's METARs for
//   "/api/data/metar?ids=ID[,ID...][&format=raw]" (204 without any report) and the
//   regional bulletin for "/api/data/windtemp?region=R&level=low&fcst=06" (204 for a
//   region without a bulletin); status 400 for a query the data API would refuse;
// - the forecast model service's JSON for "/v1/gfs" (gfsReply, the hour of `now`);
// - status 404 for any other path, for a classic FD page without a bulletin and for
//   "/v1/gfs" without a gfs.txt.
[[nodiscard]] WxReply answerRequest(const WeatherData& data, std::string_view path,
                                    const std::multimap<std::string, std::string>& query,
                                    std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

// The reply as the status, no-page and oversize faults change it: the fault's status
// replaces the reply's, the body becomes notAPage(), and the page is padded past 32,767
// bytes. The slow and endless faults are the server's.
[[nodiscard]] WxReply withFaults(WxReply reply, const WxFaults& faults);

// The reply as a fault naming the service of `path` changes it: that status and a short
// plain-text body saying so; any other reply as it is.
[[nodiscard]] WxReply withServiceFault(WxReply reply, std::string_view path, const WxFaults& faults);

// A body that is no page at all: 4096 bytes of every value 0..255 in a fixed jumbled
// order, holding no report mark, no "</PRE>" and no bulletin header.
[[nodiscard]] std::string notAPage();

}  // namespace stratocue::standins
