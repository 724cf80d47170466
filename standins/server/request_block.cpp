#include "standins/server/request_block.h"

#include <algorithm>

#include "simlink/little_endian.h"

namespace stratocue::standins {

namespace {

constexpr std::uint32_t kTypeEnd = 0;
constexpr std::uint32_t kTypeRead = 1;
constexpr std::uint32_t kTypeWrite = 2;
constexpr std::size_t kReadHeaderBytes = 16;
constexpr std::size_t kWriteHeaderBytes = 12;
constexpr std::size_t kTypeBytes = 4;

// True when `count` bytes fit at `at` in something of `available` bytes.
bool fits(std::size_t available, std::size_t at, std::size_t count) {
    return at <= available && count <= available - at;
}

}  // namespace

std::optional<std::vector<RequestRecord>> parseRequestBlock(std::span<const std::byte> block) {
    std::vector<RequestRecord> records;
    std::size_t at = 0;
    for (;;) {
        if (!fits(block.size(), at, kTypeBytes)) {
            return std::nullopt;  // no terminator inside the block
        }
        const std::uint32_t type = simlink::readLeU32(block, at);
        if (type == kTypeEnd) {
            return records;
        }
        if (type != kTypeRead && type != kTypeWrite) {
            return std::nullopt;
        }
        const std::size_t headerBytes = type == kTypeRead ? kReadHeaderBytes : kWriteHeaderBytes;
        if (!fits(block.size(), at, headerBytes)) {
            return std::nullopt;
        }
        const RequestRecord record{type, simlink::readLeU32(block, at + 4), simlink::readLeU32(block, at + 8),
                                   at + headerBytes};
        if (!fits(block.size(), record.dataAt, record.size) || !fits(kOffsetSpaceBytes, record.offset, record.size)) {
            return std::nullopt;
        }
        records.push_back(record);
        at = record.dataAt + record.size;
    }
}

std::uint32_t processRequestBlock(std::span<std::byte> block, OffsetSpace& space, const WriteObserver& observer) {
    // Every position below comes from the checked list, so a client that changes the block
    // meanwhile cannot move a copy outside it.
    const std::optional<std::vector<RequestRecord>> records = parseRequestBlock(block);
    if (!records) {
        return kReplyRefused;
    }
    for (const RequestRecord& record : *records) {
        const std::span<std::byte> data = block.subspan(record.dataAt, record.size);
        const std::span<std::byte> offsets = space.bytes(record.offset, record.size);
        if (record.type == kTypeRead) {
            std::copy(offsets.begin(), offsets.end(), data.begin());
        } else {
            std::copy(data.begin(), data.end(), offsets.begin());
            if (observer) {
                observer(WriteNotice{record.offset, offsets});
            }
        }
    }
    return kReplyServed;
}

}  // namespace stratocue::standins
