#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stratocue::standins {

// The reports of each station in file order, keyed by the upper-cased station identifier.
// The last one is the station's current report; the earlier ones are older reports, which
// only the data API lists (as it does when asked for some hours back).
using MetarTable = std::map<std::string, std::vector<std::string>, std::less<>>;

// Reads a report file: one report per line (LF or CR LF), the station identifier as its
// first word; blanks at either end of a line are dropped, blank lines skipped, and a later
// line for the same station is its newer report. A station without a line has no report.
[[nodiscard]] MetarTable parseMetarLines(std::string_view text);

// The current report of the station, whatever the case of `stationId`; nullopt when there
// is none.
[[nodiscard]] std::optional<std::string> findReport(const MetarTable& reports, std::string_view stationId);

// Every report of the station in file order (empty when there is none).
[[nodiscard]] std::vector<std::string> allReports(const MetarTable& reports, std::string_view stationId);

}  // namespace stratocue::standins
