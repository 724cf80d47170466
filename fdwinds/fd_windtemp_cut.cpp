#include "fdwinds/fd_sources.h"

#include <string>

#include "common/ansi_text.h"
#include "fdwinds/fd_decoder.h"

namespace stratocue::fdwinds {
namespace {

constexpr std::string_view kHeaderEnd = "39000";  // last column title of the header line

}  // namespace

std::string FD_CutWindTempText(std::string_view answerText) {
    const std::string text = replaceAll(answerText, "\r\n", "\n");
    const auto header = text.find(kHeaderEnd);
    if (header == std::string::npos) throw FdFormatError("no \"39000\" header line in the winds-aloft text");
    const auto headerEnd = text.find('\n', header);
    if (headerEnd == std::string::npos || headerEnd + 1 == text.size()) {
        throw FdFormatError("no station rows after the \"39000\" header line");
    }
    std::string_view rows = std::string_view(text).substr(headerEnd + 1);
    if (rows.ends_with('\n')) rows.remove_suffix(1);
    return FD_TableFromRows(rows);
}

}  // namespace stratocue::fdwinds
