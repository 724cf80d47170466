#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "simlink/link.h"
#include "standins/server/offset_space.h"

namespace stratocue::standins {

constexpr std::uint32_t kReplyServed = 1;
constexpr std::uint32_t kReplyRefused = 0;

// Besides the link's own records, a block may hold the read record of clients built for
// 64-bit addresses: type, offset and byte count as in the link's read, then a 64-bit
// destination field. The server serves both reads alike.
constexpr std::uint32_t kRecordRead64 = 4;
constexpr std::size_t kRead64HeaderBytes = 20;

// One record of a request block, as the server found it.
struct RequestRecord {
    std::uint32_t type = 0;    // the link's read or write, or kRecordRead64
    std::uint32_t offset = 0;  // simulator offset
    std::uint32_t size = 0;    // byte count
    std::size_t dataAt = 0;    // where its data area starts in the block

    [[nodiscard]] bool isRead() const {
        return type == static_cast<std::uint32_t>(simlink::kRecordRead) || type == kRecordRead64;
    }

    friend bool operator==(const RequestRecord&, const RequestRecord&) = default;
};

// What a write record asked for: its offset and the bytes it carried. A write that falls on
// a read-only offset is reported all the same, though those offsets keep their value.
struct WriteNotice {
    std::uint32_t offset = 0;
    std::span<const std::byte> bytes;
};
using WriteObserver = std::function<void(const WriteNotice&)>;

// The records of a block up to its terminator; empty when a record has an unknown type,
// runs past the block or past the 64 KiB offsets, or the terminator is missing.
[[nodiscard]] std::optional<std::vector<RequestRecord>> parseRequestBlock(std::span<const std::byte> block);

// Serves a block as the simulator's side does: reads copy offsets into their data areas,
// writes copy their data into the offsets (except the read-only link version word, which
// clients write but a server keeps) and are reported to `observer` (may be empty).
// Returns kReplyServed, or kReplyRefused for a malformed block, which is then not served
// at all. Never touches anything outside `block` and `space`.
[[nodiscard]] std::uint32_t processRequestBlock(std::span<std::byte> block, OffsetSpace& space,
                                                const WriteObserver& observer);

}  // namespace stratocue::standins
