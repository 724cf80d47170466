#include "standins/wx/wx_metar_table.h"

#include "common/ansi_text.h"
#include "standins/wx/wx_text_lines.h"

namespace stratocue::standins {

MetarTable parseMetarLines(std::string_view text) {
    MetarTable reports;
    for (const std::string_view line : textLines(text)) {
        const std::string_view report = trimmedBlanks(line);
        if (report.empty()) continue;
        reports[upperAscii(firstWord(report))].emplace_back(report);
    }
    return reports;
}

std::optional<std::string> findReport(const MetarTable& reports, std::string_view stationId) {
    const auto found = reports.find(upperAscii(stationId));
    if (found == reports.end()) return std::nullopt;
    return found->second.back();
}

std::vector<std::string> allReports(const MetarTable& reports, std::string_view stationId) {
    const auto found = reports.find(upperAscii(stationId));
    return found == reports.end() ? std::vector<std::string>{} : found->second;
}

}  // namespace stratocue::standins
