#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace stratocue {

// The lines of a text ended by LF or CR LF, without their line ends; a last line without
// a line break counts too, an empty text has no lines.
[[nodiscard]] std::vector<std::string_view> textLines(std::string_view text);

// The text without blanks and tabs at either end.
[[nodiscard]] std::string_view trimmedBlanks(std::string_view text) noexcept;

// The first blank-separated word of the text, empty when the text is blank.
[[nodiscard]] std::string_view firstWord(std::string_view text) noexcept;

// The bulletin with LF line ends only and exactly one line break at its end.
[[nodiscard]] std::string normalisedBulletinText(std::string_view bulletinText);

}  // namespace stratocue
