#include "app/weather_fetch.h"

#include "fdwinds/gfs_winds.h"
#include "web/page_text.h"

namespace stratocue::app {

WebAnswer fetchAnswer(web::HttpTransfer& transfer, const std::string& url) {
    const web::HttpResponse response = transfer.FetchResponse(url);
    // Today's services say "no report" with an empty body; the sources judge it.
    return {response.status, response.body.empty() ? std::string() : web::pageTextFromBody(response.body)};
}

std::optional<std::string> fetchMetarReport(web::HttpTransfer& transfer, const metar::MetarReportSource& source,
                                            std::string_view stationId) {
    return source.reportFromAnswer(fetchAnswer(transfer, source.requestUrl(stationId)), stationId);
}

std::optional<StationReport> fetchFirstReport(web::HttpTransfer& transfer, const metar::MetarReportSource& source,
                                              std::span<const std::string> stationIds) {
    std::string idList;
    for (const std::string& id : stationIds) idList += (idList.empty() ? "" : ",") + id;
    const WebAnswer answer = fetchAnswer(transfer, source.requestUrl(idList));
    for (std::size_t position = 0; position < stationIds.size(); ++position) {
        if (auto report = source.reportFromAnswer(answer, stationIds[position])) {
            return StationReport{position, std::move(*report)};
        }
    }
    return std::nullopt;
}

std::vector<std::string> fetchFdStationTables(web::HttpTransfer& transfer, const fdwinds::FdBulletinSource& source) {
    std::vector<std::string> tables;
    for (const std::string& url : source.bulletinUrls()) {
        tables.push_back(source.stationTableFromAnswer(fetchAnswer(transfer, url)));
    }
    return tables;
}

fdwinds::FdWinds fetchGfsWinds(web::HttpTransfer& transfer, const std::string& url, std::string_view hourText) {
    return fdwinds::GFS_WindsRow(fdwinds::GFS_ReadAnswer(fetchAnswer(transfer, url), hourText));
}

}  // namespace stratocue::app
