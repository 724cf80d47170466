#include "common/text_lines.h"

namespace stratocue {
namespace {

constexpr std::string_view kBlanks = " \t";

}  // namespace

std::vector<std::string_view> textLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto lineEnd = text.find('\n');
        std::string_view line = text.substr(0, lineEnd);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (lineEnd == std::string_view::npos) break;
        text.remove_prefix(lineEnd + 1);
    }
    return lines;
}

std::string_view trimmedBlanks(std::string_view text) noexcept {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

std::string_view firstWord(std::string_view text) noexcept {
    const std::string_view trimmed = trimmedBlanks(text);
    return trimmed.substr(0, trimmed.find_first_of(kBlanks));
}

std::string normalisedBulletinText(std::string_view bulletinText) {
    std::vector<std::string_view> lines = textLines(bulletinText);
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    std::string text;
    for (const std::string_view line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

}  // namespace stratocue
