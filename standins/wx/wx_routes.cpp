#include "standins/wx/wx_routes.h"

#include <cctype>
#include <string>
#include <vector>

#include "standins/wx/wx_pages.h"
#include "standins/wx/wx_service_texts.h"

namespace stratocue::standins {
namespace {

using Query = std::multimap<std::string, std::string>;

constexpr std::string_view kRawFormat = "raw";
constexpr std::string_view kLowLevels = "low";
constexpr std::string_view kSixHourForecast = "06";
constexpr std::size_t kLongestStationId = 4;

// The first value of the query key; empty when the query has none.
std::string queryValue(const Query& query, std::string_view key) {
    const auto found = query.find(std::string(key));
    return found == query.end() ? std::string() : found->second;
}

WxReply plainText(int status, std::string text) { return {status, std::move(text), kPlainTextContent}; }

WxReply badRequest(std::string_view why) {
    return plainText(kStatusBadRequest, "Bad request: " + std::string(why) + "\n");
}

// A VATSIM service path: "/" and a station identifier, one to four letters and digits.
bool isVatsimServicePath(std::string_view path) {
    if (path.size() < 2 || path.size() > 1 + kLongestStationId || path.front() != '/') return false;
    for (const char c : path.substr(1)) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) return false;
    }
    return true;
}

// The identifiers of a comma-separated list, empty entries skipped.
std::vector<std::string> stationIds(std::string_view list) {
    std::vector<std::string> ids;
    while (!list.empty()) {
        const auto comma = list.find(',');
        if (comma != 0) ids.emplace_back(list.substr(0, comma));
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
    }
    return ids;
}

WxReply dataApiMetars(const WeatherData& data, const Query& query) {
    const std::string format = queryValue(query, "format");
    if (!format.empty() && format != kRawFormat) return badRequest("only format=raw is served");
    const std::vector<std::string> ids = stationIds(queryValue(query, "ids"));
    if (ids.empty()) return badRequest("ids is missing");
    std::vector<std::string> reports;
    for (const std::string& id : ids) {
        for (std::string& report : allReports(data.metars, id)) reports.push_back(std::move(report));
    }
    return plainText(reports.empty() ? kStatusNoContent : kStatusOk, dataApiMetarText(reports));
}

WxReply dataApiWindTemp(const WeatherData& data, const Query& query) {
    const auto region = fdRegionFromApiName(queryValue(query, "region"));
    if (!region) return badRequest("unknown region");
    if (queryValue(query, "level") != kLowLevels || queryValue(query, "fcst") != kSixHourForecast) {
        return badRequest("only level=low&fcst=06 is served");
    }
    const std::optional<std::string>& bulletin = data.fdBulletins[fdRegionIndex(*region)];
    if (!bulletin) return plainText(kStatusNoContent, "");
    return plainText(kStatusOk, windTempText(*bulletin));
}

}  // namespace

WxReply answerRequest(const WeatherData& data, std::string_view path, const Query& query,
                      std::chrono::system_clock::time_point now) {
    if (path == kGfsPath && data.gfs) {
        GfsReply reply = gfsReply(*data.gfs, query, now);
        return {reply.status, std::move(reply.json), kJsonContent};
    }
    if (path == kVatsimMetarPath) {
        const std::string stationId = queryValue(query, kVatsimQueryKey);
        return {kStatusOk, vatsimMetarPage(stationId, findReport(data.metars, stationId))};
    }
    if (path == kWeatherServiceMetarPath) {
        const std::string stationId = queryValue(query, kWeatherServiceQueryKey);
        return {kStatusOk, weatherServiceMetarPage(stationId, findReport(data.metars, stationId))};
    }
    if (const auto region = fdRegionFromPagePath(path)) {
        const std::optional<std::string>& bulletin = data.fdBulletins[fdRegionIndex(*region)];
        if (bulletin) return {kStatusOk, fdBulletinPage(*bulletin)};
    }
    if (path == kDataApiMetarPath) return dataApiMetars(data, query);
    if (path == kDataApiWindTempPath) return dataApiWindTemp(data, query);
    if (isVatsimServicePath(path))
        return plainText(kStatusOk, vatsimServiceText(findReport(data.metars, path.substr(1))));
    return {kStatusNotFound, missingPage(path)};
}

namespace {

// The servers.txt key of the service that answers `path`; empty for none.
std::string_view serviceOfPath(std::string_view path) {
    if (path == kVatsimMetarPath) return "metar_vatsim";
    if (path == kWeatherServiceMetarPath) return "metar_nws";
    if (fdRegionFromPagePath(path)) return "fdwinds";
    if (path.starts_with("/api/data/")) return "awc_api";
    if (isVatsimServicePath(path)) return "vatsim_api";
    return {};
}

}  // namespace

WxReply withServiceFault(WxReply reply, std::string_view path, const WxFaults& faults) {
    const auto fault = faults.serviceStatus.find(serviceOfPath(path));
    if (fault == faults.serviceStatus.end()) return reply;
    return plainText(fault->second, "Service unavailable: status " + std::to_string(fault->second) + "\n");
}

WxReply withFaults(WxReply reply, const WxFaults& faults) {
    if (faults.status) reply.status = *faults.status;
    if (faults.noPage) reply.body = notAPage();
    if (faults.oversize) reply.body = paddedPastPageLimit(reply.body);
    return reply;
}

std::string notAPage() {
    constexpr std::size_t kNoPageBytes = 4096;
    std::string body;
    body.reserve(kNoPageBytes);
    // A multiplier that is odd and a step that is odd run through all 256 values before
    // repeating, so every byte value occurs, zero and those above 127 included.
    unsigned value = 0;
    for (std::size_t i = 0; i < kNoPageBytes; ++i) {
        value = (value * 109 + 89) % 256;
        body += static_cast<char>(value);
    }
    return body;
}

}  // namespace stratocue::standins
