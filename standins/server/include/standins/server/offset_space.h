#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace stratocue::standins {

constexpr std::size_t kOffsetSpaceBytes = 0x10000;

// The simulator's 64 KiB of numbered offsets, all zero at first. Values are little-endian.
class OffsetSpace {
public:
    OffsetSpace() : bytes_(kOffsetSpaceBytes) {}

    // The `count` bytes at `offset`; empty when that range leaves the space.
    [[nodiscard]] std::span<const std::byte> bytes(std::size_t offset, std::size_t count) const;
    [[nodiscard]] std::span<std::byte> bytes(std::size_t offset, std::size_t count);

    // Fixed-width values; a range that leaves the space raises a RuntimeFault (Subscript).
    [[nodiscard]] std::uint8_t getByte(std::size_t offset) const;
    [[nodiscard]] std::uint16_t getLe16(std::size_t offset) const;
    [[nodiscard]] std::uint32_t getLe32(std::size_t offset) const;
    void setByte(std::size_t offset, std::uint8_t value);
    void setLe16(std::size_t offset, std::uint16_t value);
    void setLe32(std::size_t offset, std::uint32_t value);

private:
    std::vector<std::byte> bytes_;
};

}  // namespace stratocue::standins
