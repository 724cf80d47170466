#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "simlink/link.h"
#include "standins/server/fake_ipc_platform.h"

namespace stratocue::simlink {

// A link over the in-process fake simulator; the platform outlives the link.
struct FakeLink {
    standins::FakeIpcPlatform platform;
    Link link{platform};

    // Link_Init and Link_Open(0); the result code.
    std::int32_t open() {
        link.Link_Init();
        std::int32_t code = -1;
        link.Link_Open(0, code);
        return code;
    }
};

// `Count` bytes all holding `value`.
template <std::size_t Count>
std::array<std::byte, Count> filledBytes(std::uint8_t value) {
    std::array<std::byte, Count> bytes{};
    bytes.fill(std::byte{value});
    return bytes;
}

}  // namespace stratocue::simlink
