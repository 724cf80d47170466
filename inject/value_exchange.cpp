#include "inject/value_exchange.h"

#include <array>

#include "common/rounding.h"

namespace stratocue::inject {

void LinkSink::bytes(const offsets::SimOffset& where, std::span<const std::byte> bytes) {
    std::int32_t code = 0;
    if (link_.Link_Write(where.offset, checkedInteger<std::int32_t>(static_cast<double>(bytes.size())), bytes, code)) {
        (void)link_.Link_Process(code);
    }
}

void LinkSink::value16(const offsets::SimOffset& where, std::int32_t value) {
    const auto low16 = static_cast<std::uint32_t>(value) & 0xFFFFu;
    const std::array<std::byte, 2> bytes = {static_cast<std::byte>(low16 & 0xFFu), static_cast<std::byte>(low16 >> 8)};
    LinkSink::bytes(where, bytes);
}

void LinkSink::text(const offsets::SimOffset& where, std::string_view text) {
    std::int32_t code = 0;
    const auto sizeBytes = checkedInteger<std::int32_t>(static_cast<double>(text.size()) + 1.0);
    if (link_.Link_WriteText(where.offset, sizeBytes, text, code)) {
        (void)link_.Link_Process(code);
    }
}

void exchangeBytes(WeatherSink& sink, const offsets::SimOffset& where, std::span<const std::byte> bytes) {
    sink.bytes(where, bytes);
}

void exchangeValue16(WeatherSink& sink, const offsets::SimOffset& where, std::optional<std::int32_t> value) {
    if (value) sink.value16(where, *value);
}

void exchangeText(WeatherSink& sink, const offsets::SimOffset& where, std::string_view text) { sink.text(where, text); }

}  // namespace stratocue::inject
