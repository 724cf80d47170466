#include "app/weather_fetch.h"

namespace stratocue::app {

WebAnswer fetchAnswer(ui::HttpTransfer& transfer, const std::string& url) {
    const ui::HttpResponse response = transfer.FetchResponse(url);
    // Today's services say "no report" with an empty body; the sources judge it.
    return {response.status, response.body.empty() ? std::string() : ui::pageTextFromBody(response.body)};
}

std::optional<std::string> fetchMetarReport(ui::HttpTransfer& transfer, const metar::MetarReportSource& source,
                                            std::string_view stationId) {
    return source.reportFromAnswer(fetchAnswer(transfer, source.requestUrl(stationId)), stationId);
}

std::vector<std::string> fetchFdStationTables(ui::HttpTransfer& transfer, const fdwinds::FdBulletinSource& source) {
    std::vector<std::string> tables;
    for (const std::string& url : source.bulletinUrls()) {
        tables.push_back(source.stationTableFromAnswer(fetchAnswer(transfer, url)));
    }
    return tables;
}

}  // namespace stratocue::app
