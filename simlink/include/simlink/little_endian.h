#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace stratocue::simlink {

// Little-endian helpers for the wire records and the simulator's values. Each reads or
// writes exactly its width at byte position `at`; a range that leaves `bytes` raises a
// RuntimeFault (Subscript) and touches nothing.
[[nodiscard]] std::int32_t readLe32(std::span<const std::byte> bytes, std::size_t at = 0);
[[nodiscard]] std::int16_t readLe16(std::span<const std::byte> bytes, std::size_t at = 0);
[[nodiscard]] std::uint32_t readLeU32(std::span<const std::byte> bytes, std::size_t at = 0);
[[nodiscard]] std::uint64_t readLeU64(std::span<const std::byte> bytes, std::size_t at = 0);
void writeLe32(std::span<std::byte> bytes, std::size_t at, std::int32_t value);
void writeLe16(std::span<std::byte> bytes, std::size_t at, std::int16_t value);
void writeLeU32(std::span<std::byte> bytes, std::size_t at, std::uint32_t value);
void writeLeU64(std::span<std::byte> bytes, std::size_t at, std::uint64_t value);

}  // namespace stratocue::simlink
