#include "standins/wx/wx_routes.h"

#include "standins/wx/wx_pages.h"

namespace stratocue::standins {
namespace {

// The first value of the query key; empty when the query has none.
std::string queryValue(const std::multimap<std::string, std::string>& query, std::string_view key) {
    const auto found = query.find(std::string(key));
    return found == query.end() ? std::string() : found->second;
}

}  // namespace

WxReply answerRequest(const WeatherData& data, std::string_view path,
                      const std::multimap<std::string, std::string>& query) {
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
    return {kStatusNotFound, missingPage(path)};
}

WxReply withFaults(WxReply reply, const WxFaults& faults) {
    if (faults.status) reply.status = *faults.status;
    if (faults.oversize) reply.body = paddedPastPageLimit(reply.body);
    return reply;
}

}  // namespace stratocue::standins
