#include "standins/server/offset_space.h"

#include "common/fault.h"
#include "simlink/little_endian.h"

namespace stratocue::standins {

namespace {

bool fits(std::size_t offset, std::size_t count) {
    return offset <= kOffsetSpaceBytes && count <= kOffsetSpaceBytes - offset;
}

}  // namespace

std::span<const std::byte> OffsetSpace::bytes(std::size_t offset, std::size_t count) const {
    if (!fits(offset, count)) {
        return {};
    }
    return std::span<const std::byte>(bytes_).subspan(offset, count);
}

std::span<std::byte> OffsetSpace::bytes(std::size_t offset, std::size_t count) {
    if (!fits(offset, count)) {
        return {};
    }
    return std::span<std::byte>(bytes_).subspan(offset, count);
}

std::uint8_t OffsetSpace::getByte(std::size_t offset) const {
    if (!fits(offset, 1)) {
        throw RuntimeFault(RuntimeFault::Kind::Subscript, "Subscript out of range");
    }
    return std::to_integer<std::uint8_t>(bytes_[offset]);
}

std::uint16_t OffsetSpace::getLe16(std::size_t offset) const {
    return static_cast<std::uint16_t>(simlink::readLe16(bytes_, offset));
}

std::uint32_t OffsetSpace::getLe32(std::size_t offset) const { return simlink::readLeU32(bytes_, offset); }

void OffsetSpace::setByte(std::size_t offset, std::uint8_t value) {
    if (!fits(offset, 1)) {
        throw RuntimeFault(RuntimeFault::Kind::Subscript, "Subscript out of range");
    }
    bytes_[offset] = std::byte{value};
}

void OffsetSpace::setLe16(std::size_t offset, std::uint16_t value) {
    simlink::writeLe16(bytes_, offset, static_cast<std::int16_t>(value));
}

void OffsetSpace::setLe32(std::size_t offset, std::uint32_t value) { simlink::writeLeU32(bytes_, offset, value); }

}  // namespace stratocue::standins
