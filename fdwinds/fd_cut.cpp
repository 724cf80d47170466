#include "fdwinds/fd_decoder.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/ansi_text.h"

namespace stratocue::fdwinds {
namespace {

constexpr std::string_view kHeaderEnd = "39000";  // last column title of the header line
constexpr std::string_view kTableEnd = "</PRE>";
constexpr std::size_t kWindowChars = 5000;
// 0-based start of the window: past "39000" and the line break after it, or the page's
// sixth character when the header is missing.
constexpr std::size_t kStartAfterHeader = kHeaderEnd.size() + 1;
constexpr std::size_t kStartWithoutHeader = 5;

// The blank rewrites, applied in this order, each one scan from the left: line breaks
// become blanks, then the blank runs left by one or two missing fields become "9900"
// fields, then the remaining wide gaps shrink to one blank.
struct BlankRewrite {
    std::string_view from;
    std::string_view to;
};
constexpr BlankRewrite kBlankRewrites[] = {
    {"\n", " "},
    {"              ", " 9900 9900 "},  // 14 blanks
    {"      ", " 9900 "},               // 6 blanks
    {"    ", " "},                      // 4 blanks
};

std::string withoutTrailingBlanks(std::string text) {
    const auto last = text.find_last_not_of(' ');
    text.erase(last == std::string::npos ? 0 : last + 1);
    return text;
}

}  // namespace

std::string FD_CutBulletin(std::string_view pageText) {
    // A line ended by CR+LF reads as one ended by LF, so positions count as in an LF page.
    const std::string page = replaceAll(pageText, "\r\n", "\n");

    const auto header = page.find(kHeaderEnd);
    const std::size_t start = header == std::string::npos ? kStartWithoutHeader : header + kStartAfterHeader;
    const std::string_view window =
        start < page.size() ? std::string_view(page).substr(start, kWindowChars) : std::string_view{};

    // The table ends with the line break directly before "</PRE>", which is dropped too.
    const auto end = window.find(kTableEnd);
    if (end == std::string_view::npos) {
        throw FdFormatError("no \"</PRE>\" within 5000 characters of the station table");
    }
    if (end == 0) throw FdFormatError("\"</PRE>\" at the first position of the station table");

    return FD_TableFromRows(window.substr(0, end - 1));
}

std::string FD_TableFromRows(std::string_view rows) {
    std::string table(rows);
    for (const BlankRewrite& rewrite : kBlankRewrites) table = replaceAll(table, rewrite.from, rewrite.to);
    return withoutTrailingBlanks(std::move(table));
}

std::string FD_JoinCuts(const std::vector<std::string>& cuts) {
    std::string joined;
    for (std::size_t i = 0; i < cuts.size(); ++i) {
        if (i > 0) joined += ' ';
        joined += cuts[i];
    }
    return joined;
}

}  // namespace stratocue::fdwinds
