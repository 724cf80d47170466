#include "stations/station_file_text.h"

namespace stratocue::stations {

std::vector<std::string_view> splitStationFileLines(std::string_view text) {
    constexpr char kCarriageReturn = '\r';
    constexpr char kLineFeed = '\n';

    std::vector<std::string_view> lines;
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        const std::size_t lineEnd = text.find(kCarriageReturn, lineStart);
        if (lineEnd == std::string_view::npos) {
            lines.push_back(text.substr(lineStart));
            break;
        }
        lines.push_back(text.substr(lineStart, lineEnd - lineStart));
        lineStart = lineEnd + 1;
        if (lineStart < text.size() && text[lineStart] == kLineFeed) ++lineStart;
    }
    return lines;
}

bool isStationDataLine(std::string_view line) noexcept {
    constexpr std::size_t kShortestDataLine = 5;
    return line.size() >= kShortestDataLine && !line.starts_with("//");
}

}  // namespace stratocue::stations
