#pragma once

#include <cstdint>
#include <string_view>

namespace stratocue::metar {

// The decoder's text primitives. Positions count from 1 and are 16-bit, as the decoder
// keeps them; every misuse raises a RuntimeFault where the decoding must stop.

// The value as a 16-bit working number, or an overflow fault when it does not fit.
[[nodiscard]] std::int16_t checked16(long long value);

// The length of the text as a 16-bit number; overflow fault beyond 32767 characters.
[[nodiscard]] std::int16_t length16(std::string_view text);

// 1-based position of the first occurrence of `part` in `text`, 0 when absent; a position
// beyond 16 bits is an overflow fault.
[[nodiscard]] std::int16_t position16(std::string_view text, std::string_view part);

// True when `part` occurs in `text` (case-sensitive).
[[nodiscard]] bool contains(std::string_view text, std::string_view part) noexcept;

// Up to `length` characters from 1-based `start`, empty when start lies beyond the end;
// a start below 1 or a negative length is a fault.
[[nodiscard]] std::string_view mid(std::string_view text, int start, int length);

// The first / last `count` characters (the whole text when shorter); negative count faults.
[[nodiscard]] std::string_view left(std::string_view text, int count);
[[nodiscard]] std::string_view right(std::string_view text, int count);

}  // namespace stratocue::metar
