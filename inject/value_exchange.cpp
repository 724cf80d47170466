#include "inject/value_exchange.h"

#include <array>

#include "common/rounding.h"

namespace stratocue::inject {

void exchangeBytes(simlink::Link& link, const offsets::SimOffset& where, std::span<const std::byte> bytes) {
    std::int32_t code = 0;
    if (link.Link_Write(where.offset, checkedInteger<std::int32_t>(static_cast<double>(bytes.size())), bytes, code)) {
        (void)link.Link_Process(code);
    }
}

void exchangeValue16(simlink::Link& link, const offsets::SimOffset& where, std::optional<std::int32_t> value) {
    if (!value) return;
    const auto low16 = static_cast<std::uint32_t>(*value) & 0xFFFFu;
    const std::array<std::byte, 2> bytes = {static_cast<std::byte>(low16 & 0xFFu), static_cast<std::byte>(low16 >> 8)};
    exchangeBytes(link, where, bytes);
}

void exchangeText(simlink::Link& link, const offsets::SimOffset& where, std::string_view text) {
    std::int32_t code = 0;
    const auto sizeBytes = checkedInteger<std::int32_t>(static_cast<double>(text.size()) + 1.0);
    if (link.Link_WriteText(where.offset, sizeBytes, text, code)) {
        (void)link.Link_Process(code);
    }
}

}  // namespace stratocue::inject
