#include "simlink/little_endian.h"

#include "common/fault.h"

namespace stratocue::simlink {

namespace {

void requireRange(std::size_t available, std::size_t at, std::size_t width) {
    if (at > available || available - at < width) {
        throw RuntimeFault(RuntimeFault::Kind::Subscript, "Subscript out of range");
    }
}

std::uint64_t readUnsigned(std::span<const std::byte> bytes, std::size_t at, std::size_t width) {
    requireRange(bytes.size(), at, width);
    std::uint64_t value = 0;
    for (std::size_t i = width; i-- > 0;) {
        value = (value << 8) | std::to_integer<std::uint64_t>(bytes[at + i]);
    }
    return value;
}

void writeUnsigned(std::span<std::byte> bytes, std::size_t at, std::size_t width, std::uint64_t value) {
    requireRange(bytes.size(), at, width);
    for (std::size_t i = 0; i < width; ++i) {
        bytes[at + i] = static_cast<std::byte>((value >> (8 * i)) & 0xFFU);
    }
}

}  // namespace

std::int32_t readLe32(std::span<const std::byte> bytes, std::size_t at) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(readUnsigned(bytes, at, 4)));
}

std::int16_t readLe16(std::span<const std::byte> bytes, std::size_t at) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(readUnsigned(bytes, at, 2)));
}

std::uint32_t readLeU32(std::span<const std::byte> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(readUnsigned(bytes, at, 4));
}

std::uint64_t readLeU64(std::span<const std::byte> bytes, std::size_t at) { return readUnsigned(bytes, at, 8); }

void writeLe32(std::span<std::byte> bytes, std::size_t at, std::int32_t value) {
    writeUnsigned(bytes, at, 4, static_cast<std::uint32_t>(value));
}

void writeLe16(std::span<std::byte> bytes, std::size_t at, std::int16_t value) {
    writeUnsigned(bytes, at, 2, static_cast<std::uint16_t>(value));
}

void writeLeU32(std::span<std::byte> bytes, std::size_t at, std::uint32_t value) { writeUnsigned(bytes, at, 4, value); }

void writeLeU64(std::span<std::byte> bytes, std::size_t at, std::uint64_t value) { writeUnsigned(bytes, at, 8, value); }

}  // namespace stratocue::simlink
