#include "standins/wx/wx_service_texts.h"

#include <cstddef>

#include "standins/wx/wx_text_lines.h"

namespace stratocue::standins {
namespace {

constexpr std::string_view kReportType = "METAR ";
constexpr std::string_view kProductLineStart = "FD";
constexpr std::string_view kUnknownHeading = "FD bulletin";

}  // namespace

std::string vatsimServiceText(const std::optional<std::string>& report) { return report ? *report + "\n" : ""; }

std::string dataApiMetarText(const std::vector<std::string>& reports) {
    std::string text;
    for (const std::string& report : reports) text += std::string(kReportType) + report + "\n";
    return text;
}

std::string windTempText(std::string_view bulletinText) {
    std::vector<std::string_view> lines = textLines(bulletinText);
    while (!lines.empty() && lines.back().empty()) lines.pop_back();

    std::size_t product = 0;
    while (product < lines.size() && !lines[product].starts_with(kProductLineStart)) ++product;
    const bool headed = product > 0 && product < lines.size();
    const std::size_t firstKept = headed ? product : 0;

    std::string text = "(Extracted from " + std::string(headed ? lines[product - 1] : kUnknownHeading) + ")\n";
    for (std::size_t i = firstKept; i < lines.size(); ++i) {
        text += lines[i];
        text += '\n';
    }
    return text;
}

}  // namespace stratocue::standins
