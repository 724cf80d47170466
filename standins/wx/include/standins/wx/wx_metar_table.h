#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace stratocue::standins {

// The current report of each station, keyed by the upper-cased station identifier.
using MetarTable = std::map<std::string, std::string, std::less<>>;

// Reads a report file: one report per line (LF or CR LF), the station identifier as its
// first word; blanks at either end of a line are dropped, blank lines skipped, and a later
// line for the same station replaces an earlier one.
[[nodiscard]] MetarTable parseMetarLines(std::string_view text);

// The report of the station, whatever the case of `stationId`; nullopt when there is none.
[[nodiscard]] std::optional<std::string> findReport(const MetarTable& reports, std::string_view stationId);

}  // namespace stratocue::standins
