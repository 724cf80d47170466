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

// Where the weather writers put their values: straight into the link, or through the ramp
// that moves some of them at a pilot's pace.
class WeatherSink {
public:
    virtual ~WeatherSink() = default;
    // Writes the low 16 bits of `value` little-endian at `where` (a 2-byte offset).
    virtual void value16(const offsets::SimOffset& where, std::int32_t value) = 0;
    // Writes `bytes` at `where`.
    virtual void bytes(const offsets::SimOffset& where, std::span<const std::byte> bytes) = 0;
    // Writes `text` followed by one zero byte at `where` (size = length + 1).
    virtual void text(const offsets::SimOffset& where, std::string_view text) = 0;
};

// Each value queued with Link_Write (or Link_WriteText) and, when that succeeded, sent at
// once with Link_Process, one exchange per value; the outcome is not looked at.
class LinkSink final : public WeatherSink {
public:
    explicit LinkSink(simlink::Link& link) : link_(link) {}
    void value16(const offsets::SimOffset& where, std::int32_t value) override;
    void bytes(const offsets::SimOffset& where, std::span<const std::byte> bytes) override;
    void text(const offsets::SimOffset& where, std::string_view text) override;

private:
    simlink::Link& link_;
};

// Queues `bytes` at `where` and, when that succeeded, sends them at once; the outcome of
// the exchange is not looked at.
void exchangeBytes(WeatherSink& sink, const offsets::SimOffset& where, std::span<const std::byte> bytes);

// Writes the low 16 bits of `value` little-endian at `where` (a 2-byte offset) as its own
// exchange; nothing when the value is missing.
void exchangeValue16(WeatherSink& sink, const offsets::SimOffset& where, std::optional<std::int32_t> value);

// Writes `text` followed by one zero byte at `where` (size = length + 1) as its own exchange.
void exchangeText(WeatherSink& sink, const offsets::SimOffset& where, std::string_view text);

}  // namespace stratocue::inject
