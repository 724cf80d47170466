#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fdwinds/fd_bulletin_source.h"
#include "fdwinds/fd_winds.h"
#include "metar/metar_report_source.h"
#include "web/http_transfer.h"
#include "web/web_answer.h"

namespace stratocue::app {

// The server's answer to one request through the transfer component: its status, and its
// body as page text (empty when the body is). Raises when no answer arrived, and when the
// body is longer than a page may be.
[[nodiscard]] WebAnswer fetchAnswer(web::HttpTransfer& transfer, const std::string& url);

// The station's report from the source; nullopt when the source has none for it. Raises
// on every failure.
[[nodiscard]] std::optional<std::string> fetchMetarReport(web::HttpTransfer& transfer,
                                                          const metar::MetarReportSource& source,
                                                          std::string_view stationId);

// A report found among several stations asked at once: where its station stands in the
// list asked for, and the report text.
struct StationReport {
    std::size_t position = 0;
    std::string text;
};

// Asks the source once for all of `stationIds` (joined by "," when there are several) and
// gives the report of the first of them that the answer holds; nullopt when it holds none.
// Raises on every failure.
[[nodiscard]] std::optional<StationReport> fetchFirstReport(web::HttpTransfer& transfer,
                                                            const metar::MetarReportSource& source,
                                                            std::span<const std::string> stationIds);

// The station tables of the seven bulletins in page order, each bulletin cut before the
// next is fetched. Raises on the first failure.
[[nodiscard]] std::vector<std::string> fetchFdStationTables(web::HttpTransfer& transfer,
                                                            const fdwinds::FdBulletinSource& source);

// The forecast model's winds at `url` (fdwinds::gfsRequestUrl) as one FdWinds row "GFS",
// from the answer's entry for `hourText`. Raises on every failure.
[[nodiscard]] fdwinds::FdWinds fetchGfsWinds(web::HttpTransfer& transfer, const std::string& url,
                                             std::string_view hourText);

}  // namespace stratocue::app
