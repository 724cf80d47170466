#include "standins/sim/write_log.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>

#include "common/ansi_text.h"
#include "standins/sim/sim_offsets.h"

namespace stratocue::standins {

namespace {

double toMilliseconds(double seconds) { return std::round(seconds * 1000.0) / 1000.0; }

std::string offsetText(std::uint32_t offset) {
    constexpr std::string_view kHexDigits = "0123456789ABCDEF";
    std::string digits;
    do {
        digits.insert(digits.begin(), kHexDigits[offset & 0xFU]);
        offset >>= 4;
    } while (offset != 0);
    if (digits.size() < 4) {
        digits.insert(0, 4 - digits.size(), '0');
    }
    return "0x" + digits;
}

std::string hexBytes(std::span<const std::byte> bytes) {
    constexpr std::string_view kHexDigits = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const std::byte value : bytes) {
        const auto number = std::to_integer<unsigned>(value);
        text += kHexDigits[number >> 4];
        text += kHexDigits[number & 0xFU];
    }
    return text;
}

}  // namespace

std::string writeLogLine(double secondsSinceStart, std::uint32_t offset, std::span<const std::byte> bytes) {
    nlohmann::ordered_json line;
    line["t"] = toMilliseconds(secondsSinceStart);
    line["offset"] = offsetText(offset);
    line["size"] = bytes.size();
    line["data"] = hexBytes(bytes);
    return line.dump();
}

std::string messageLogLine(double secondsSinceStart, std::string_view ansiText) {
    nlohmann::ordered_json line;
    line["t"] = toMilliseconds(secondsSinceStart);
    line["message"] = utf8FromAnsi(ansiText);
    return line.dump();
}

std::optional<std::string> onScreenMessage(const OffsetSpace& space, const WriteNotice& write) {
    const std::size_t first = write.offset;
    const std::size_t end = first + write.bytes.size();
    const std::size_t trigger = offsets::kMessageShow.place();
    const std::size_t text = offsets::kMessageText.place();
    if (first > trigger || end < trigger + static_cast<std::size_t>(offsets::kMessageShow.sizeBytes) ||
        space.getLe16(trigger) != 0xFFFF) {
        return std::nullopt;
    }
    const std::span<const std::byte> rest = space.bytes(text, kOffsetSpaceBytes - text);
    const auto zero = std::find(rest.begin(), rest.end(), std::byte{0});
    return ansiFromBytes(std::span<const std::byte>(rest.begin(), zero));
}

}  // namespace stratocue::standins
