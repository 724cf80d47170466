#include "standins/server/request_block.h"

#include <algorithm>
#include <utility>

#include "common/sim_offsets.h"
#include "simlink/little_endian.h"

namespace stratocue::standins {

namespace {

constexpr std::size_t kTypeBytes = 4;
constexpr auto kRecordEnd = static_cast<std::uint32_t>(simlink::kRecordEnd);
constexpr auto kRecordRead = static_cast<std::uint32_t>(simlink::kRecordRead);
constexpr auto kRecordWrite = static_cast<std::uint32_t>(simlink::kRecordWrite);

// Offsets a client may write without effect: the server owns them.
constexpr offsets::SimOffset kReadOnlyOffsets[] = {offsets::kLibraryVersion};

// True when `count` bytes fit at `at` in something of `available` bytes.
bool fits(std::size_t available, std::size_t at, std::size_t count) {
    return at <= available && count <= available - at;
}

std::optional<std::size_t> headerBytesOf(std::uint32_t type) {
    switch (type) {
        case kRecordRead:
            return simlink::kReadHeaderBytes;
        case kRecordRead64:
            return kRead64HeaderBytes;
        case kRecordWrite:
            return simlink::kWriteHeaderBytes;
        default:
            return std::nullopt;
    }
}

bool isReadOnly(std::size_t place) {
    return std::any_of(std::begin(kReadOnlyOffsets), std::end(kReadOnlyOffsets), [place](const auto& readOnly) {
        return place >= readOnly.place() && place - readOnly.place() < static_cast<std::size_t>(readOnly.sizeBytes);
    });
}

// Copies a write's data into the offsets, byte by byte around the read-only ones.
void applyWrite(std::span<const std::byte> data, std::size_t offset, OffsetSpace& space) {
    const std::span<std::byte> target = space.bytes(offset, data.size());
    for (std::size_t index = 0; index < data.size(); ++index) {
        if (!isReadOnly(offset + index)) {
            target[index] = data[index];
        }
    }
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
        if (type == kRecordEnd) {
            return records;
        }
        const std::optional<std::size_t> headerBytes = headerBytesOf(type);
        if (!headerBytes || !fits(block.size(), at, *headerBytes)) {
            return std::nullopt;
        }
        const RequestRecord record{type, simlink::readLeU32(block, at + 4), simlink::readLeU32(block, at + 8),
                                   at + *headerBytes};
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
        if (record.isRead()) {
            const std::span<const std::byte> offsets = std::as_const(space).bytes(record.offset, record.size);
            std::copy(offsets.begin(), offsets.end(), data.begin());
        } else {
            applyWrite(data, record.offset, space);
            if (observer) {
                observer(WriteNotice{record.offset, data});
            }
        }
    }
    return kReplyServed;
}

}  // namespace stratocue::standins
