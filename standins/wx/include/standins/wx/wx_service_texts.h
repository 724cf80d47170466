#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stratocue::standins {

// The VATSIM METAR service's plain-text answer: the report and a line end, or nothing at
// all for a station without one.
[[nodiscard]] std::string vatsimServiceText(const std::optional<std::string>& report);

// The data API's raw METAR answer: one line per report, each with the "METAR " type in
// front as the service writes it since 2025; empty when there is no report.
[[nodiscard]] std::string dataApiMetarText(const std::vector<std::string>& reports);

// The data API's winds-aloft answer for a regional bulletin: "(Extracted from <heading>)"
// in place of the bulletin's WMO heading line (the line before the product line "FD..."),
// then the bulletin's lines after it, each ending in LF. A bulletin without a product line
// follows a first line "(Extracted from FD bulletin)" whole.
[[nodiscard]] std::string windTempText(std::string_view bulletinText);

}  // namespace stratocue::standins
