#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "standins/server/offset_space.h"
#include "standins/server/request_block.h"

namespace stratocue::standins {

// {"t": 1.234, "offset": "0x0F42", "size": 2, "data": "000f"}: a write received, `t` in
// seconds (3 decimals), the data in order as lowercase hex. No newline.
[[nodiscard]] std::string writeLogLine(double secondsSinceStart, std::uint32_t offset,
                                       std::span<const std::byte> bytes);

// {"t": 1.234, "message": "..."}: an on-screen message; each ANSI byte of the text becomes
// the Unicode character of the same number. No newline.
[[nodiscard]] std::string messageLogLine(double secondsSinceStart, std::string_view ansiText);

// The on-screen message a write sets off: when it left -1 (ff ff) at the trigger offset,
// the text at the message offset up to its first zero; otherwise empty.
[[nodiscard]] std::optional<std::string> onScreenMessage(const OffsetSpace& space, const WriteNotice& write);

}  // namespace stratocue::standins
