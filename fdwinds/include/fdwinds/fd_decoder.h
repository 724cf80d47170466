#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "fdwinds/fd_winds.h"

namespace stratocue::fdwinds {

// A bulletin page or a joined bulletin text that the decoder cannot take: no "</PRE>"
// where the station table should end, "</PRE>" right at the start of the cut, or more
// tokens than the table holds.
class FdFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Cuts the station table out of one page text (from the character after the line break
// that follows the first "39000", up to the line break before "</PRE>" within 5000
// characters) and rewrites blank runs of missing levels into "9900" fields. CR+LF line
// ends read as LF; trailing blanks are dropped. Throws FdFormatError when "</PRE>" is
// missing from the window or stands at its first position.
[[nodiscard]] std::string FD_CutBulletin(std::string_view pageText);

// The station rows of a bulletin (LF line ends, none after the last row) in the form the
// cut gives: line breaks and the blank runs of missing fields rewritten, trailing blanks
// dropped.
[[nodiscard]] std::string FD_TableFromRows(std::string_view rows);

// The cuts joined in page order with one blank between neighbours, none at either end.
[[nodiscard]] std::string FD_JoinCuts(const std::vector<std::string>& cuts);

// The tokens of the joined text cut at every single blank: tokens 1..N in elements
// 1..N (element 0 unused), empty tokens kept. Throws FdFormatError above kMaxTokens.
[[nodiscard]] std::vector<std::string> FD_SplitTokens(std::string_view joinedText);

// Decodes every ten tokens (element 0 unused) into one row of `winds`, a short last group
// too; 4-character fields take the surface temperature read from `surfaceTempText` (the
// METAR temperature text). `winds` is replaced as a whole, rows above rowCount empty.
// Throws RuntimeFault on an overflow of a 16-bit value or more rows than the tables hold;
// `winds` is then left as it was.
void FD_DecodeRows(const std::vector<std::string>& tokens, std::string_view surfaceTempText, FdWinds& winds);

// The one-line summary of a row, "ABC 3K:271015 6K:2812-05 9K:...". Throws
// RuntimeFault(Subscript) for a row outside 1..rowCount.
[[nodiscard]] std::string FD_DisplayText(const FdWinds& winds, std::int16_t row);

}  // namespace stratocue::fdwinds
