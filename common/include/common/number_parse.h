#pragma once

#include <string_view>

namespace stratocue {

// Reads the number at the start of `text`: leading blanks are skipped, then an optional
// sign, digits with at most one "." (never a comma, whatever the locale), blanks between
// the parts ignored, and an exponent (E or D, optional sign, digits) when digits follow it.
// Reading stops at the first character that does not fit. No digit at all gives 0, so
// "", "P6", "M05" and "VRB" all read as 0. A result too large for a double is +-infinity.
[[nodiscard]] double parseLeadingNumber(std::string_view text) noexcept;

}  // namespace stratocue
