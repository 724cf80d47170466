#pragma once

#include <string_view>
#include <vector>

namespace stratocue::stations {

// Cuts a station file's text into lines. A line ends at a carriage return, or at a
// carriage return followed by a line feed (the pair is one end); a line feed alone does
// not end a line and stays in its text. A last line without an end is still a line; an
// empty text has no lines. The views point into `text`.
[[nodiscard]] std::vector<std::string_view> splitStationFileLines(std::string_view text);

// True for a line that describes a station: false for a comment (first two characters
// "//") and for a line of fewer than 5 characters, which covers blank lines.
[[nodiscard]] bool isStationDataLine(std::string_view line) noexcept;

}  // namespace stratocue::stations
