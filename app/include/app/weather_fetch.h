#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/web_answer.h"
#include "fdwinds/fd_bulletin_source.h"
#include "metar/metar_report_source.h"
#include "ui/http_transfer.h"

namespace stratocue::app {

// The server's answer to one request through the transfer component: its status, and its
// body as page text (empty when the body is). Raises when no answer arrived, and when the
// body is longer than a page may be.
[[nodiscard]] WebAnswer fetchAnswer(ui::HttpTransfer& transfer, const std::string& url);

// The station's report from the source; nullopt when the source has none for it. Raises
// on every failure.
[[nodiscard]] std::optional<std::string> fetchMetarReport(ui::HttpTransfer& transfer,
                                                          const metar::MetarReportSource& source,
                                                          std::string_view stationId);

// The station tables of the seven bulletins in page order, each bulletin cut before the
// next is fetched. Raises on the first failure.
[[nodiscard]] std::vector<std::string> fetchFdStationTables(ui::HttpTransfer& transfer,
                                                            const fdwinds::FdBulletinSource& source);

}  // namespace stratocue::app
