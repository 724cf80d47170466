#pragma once

#include <cstdint>
#include <string>

namespace stratocue::app {

// The interface version shown in the status window: the four digits of the high half,
// "." after the first, and a build letter from the low byte when the low 16 bits are not
// zero (0x28100004 gives "2.810d", 0x19980005 gives "1.998e"). Digits above 9 become the
// characters after "9"; a zero low byte with other low bits set gives a grave accent.
[[nodiscard]] std::string versionText(std::int32_t serverVersion);

}  // namespace stratocue::app
