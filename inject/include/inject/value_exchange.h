#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "common/fault.h"
#include "common/sim_offsets.h"
#include "simlink/link.h"

namespace stratocue::inject {

// Runs `compute` and gives its value, or nothing when it raises a RuntimeFault (a value that
// does not fit its width). The writers skip such a value and go on with the others.
template <class Compute>
[[nodiscard]] auto tryValue(Compute compute) -> std::optional<decltype(compute())> {
    try {
        return compute();
    } catch (const RuntimeFault&) {
        return std::nullopt;
    }
}

// Queues `bytes` at `where` and, when that succeeded, sends them at once; the outcome of
// the exchange is not looked at.
void exchangeBytes(simlink::Link& link, const offsets::SimOffset& where, std::span<const std::byte> bytes);

// Writes the low 16 bits of `value` little-endian at `where` (a 2-byte offset) as its own
// exchange; nothing when the value is missing.
void exchangeValue16(simlink::Link& link, const offsets::SimOffset& where, std::optional<std::int32_t> value);

// Writes `text` followed by one zero byte at `where` (size = length + 1) as its own exchange.
void exchangeText(simlink::Link& link, const offsets::SimOffset& where, std::string_view text);

}  // namespace stratocue::inject
