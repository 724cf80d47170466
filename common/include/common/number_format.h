#pragma once

#include <string>
#include <string_view>

namespace stratocue {

// Formats `value` with a digit pattern made of zeros and at most one point: "0.000000",
// "0.0", "0", "00", ".00", "0.00000". The zeros before the point give the least number of
// integer digits (none for ".00", so 0.5 gives ".50"), the zeros after it the exact
// number of decimals. Rounds to nearest with ties to even on the double's exact value and
// always writes "." as the decimal point, whatever the user's locale. A result that shows
// only zeros carries no minus sign.
[[nodiscard]] std::string formatNumber(double value, std::string_view pattern);

// The shortest text that reads back as the same double, with a leading blank for values
// that are not negative: 8 gives " 8", 32767 / 8191.875 gives " 3.999938963912413".
[[nodiscard]] std::string formatShortest(double value);

}  // namespace stratocue
