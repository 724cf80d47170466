#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "standins/server/offset_space.h"

namespace stratocue::standins {

constexpr std::uint32_t kReplyServed = 1;
constexpr std::uint32_t kReplyRefused = 0;

// One record of a request block, as the server found it.
struct RequestRecord {
    std::uint32_t type = 0;    // 1 read, 2 write
    std::uint32_t offset = 0;  // simulator offset
    std::uint32_t size = 0;    // byte count
    std::size_t dataAt = 0;    // where its data area starts in the block

    friend bool operator==(const RequestRecord&, const RequestRecord&) = default;
};

// What a write record put into the offsets.
struct WriteNotice {
    std::uint32_t offset = 0;
    std::span<const std::byte> bytes;
};
using WriteObserver = std::function<void(const WriteNotice&)>;

// The records of a block up to its terminator; empty when a record has an unknown type,
// runs past the block or past the 64 KiB offsets, or the terminator is missing.
[[nodiscard]] std::optional<std::vector<RequestRecord>> parseRequestBlock(std::span<const std::byte> block);

// Serves a block as the simulator's side does: reads copy offsets into their data areas,
// writes copy their data into the offsets and are reported to `observer` (may be empty).
// Returns kReplyServed, or kReplyRefused for a malformed block, which is then not served
// at all. Never touches anything outside `block` and `space`.
[[nodiscard]] std::uint32_t processRequestBlock(std::span<std::byte> block, OffsetSpace& space,
                                                const WriteObserver& observer);

}  // namespace stratocue::standins
