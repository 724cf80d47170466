#pragma once

#include <string>
#include <string_view>

namespace stratocue {

// A text made fit to stand in a URL: every byte that cannot stand there as it is (a blank,
// "#", "%", a control character 0x00..0x1F or 0x7F, a byte above 127) becomes "%" and two
// upper-case hex digits. Every other byte is kept, so a plain station identifier passes
// through byte for byte.
[[nodiscard]] std::string percentEncodeUnsafe(std::string_view text);

}  // namespace stratocue
