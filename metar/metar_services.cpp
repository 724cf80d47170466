#include "metar/metar_services.h"

#include <array>

#include "common/ansi_text.h"

namespace stratocue::metar {
namespace {

// Since 2025 the data API may put the report type before the station.
constexpr std::array<std::string_view, 2> kReportTypePrefixes = {"METAR ", "SPECI "};

std::string_view withoutLineEnd(std::string_view line) {
    if (line.ends_with('\r')) line.remove_suffix(1);
    return line;
}

}  // namespace

std::string_view withoutReportType(std::string_view line) {
    for (const std::string_view prefix : kReportTypePrefixes) {
        if (line.starts_with(prefix)) return line.substr(prefix.size());
    }
    return line;
}

std::optional<std::string> reportLineFromServiceText(std::string_view text, std::string_view stationId) {
    const std::string wantedId = upperAscii(stationId);
    while (!text.empty()) {
        const auto lineEnd = text.find('\n');
        const std::string_view line = withoutLineEnd(text.substr(0, lineEnd));
        text = lineEnd == std::string_view::npos ? std::string_view{} : text.substr(lineEnd + 1);

        const std::string_view report = withoutReportType(line);
        const std::string_view firstWord = report.substr(0, report.find(' '));
        if (!firstWord.empty() && upperAscii(firstWord) == wantedId) return std::string(report);
    }
    return std::nullopt;
}

std::optional<std::string> reportFromServiceAnswer(const WebAnswer& answer, std::string_view stationId) {
    requireServiceSuccess(answer);
    if (isEmptyAnswer(answer)) return std::nullopt;
    return reportLineFromServiceText(answer.text, stationId);
}

}  // namespace stratocue::metar
