#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace stratocue::fdwinds::testing_pages {

// The lines of a text ended by LF, without their line ends.
inline std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    return lines;
}

// The bulletin of a classic page as the data API sends it: the text inside <PRE>, with
// its WMO heading line (the line before the product line "FD...") replaced by
// "(Extracted from <heading>)" and the lines before it dropped.
inline std::string windTempTextOfPage(std::string_view page) {
    const auto preStart = page.find("<PRE>\n") + 6;
    const std::vector<std::string> lines = linesOf(page.substr(preStart, page.find("</PRE>") - preStart));
    std::size_t product = 0;
    while (product < lines.size() && !lines[product].starts_with("FD")) ++product;
    std::string text = "(Extracted from " + (product > 0 ? lines[product - 1] : std::string("FBUS31 KWNO")) + ")\n";
    for (std::size_t i = product; i < lines.size(); ++i) text += lines[i] + "\n";
    return text;
}

}  // namespace stratocue::fdwinds::testing_pages
