#include "metar/text_slices.h"

#include <cstddef>
#include <limits>

#include "common/fault.h"

namespace stratocue::metar {
namespace {

void requireCount(int count) {
    if (count < 0) throw RuntimeFault(RuntimeFault::Kind::InvalidArgument, "Invalid procedure call or argument");
}

}  // namespace

std::int16_t checked16(long long value) {
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) {
        throw RuntimeFault(RuntimeFault::Kind::Overflow, "Overflow");
    }
    return static_cast<std::int16_t>(value);
}

std::int16_t length16(std::string_view text) { return checked16(static_cast<long long>(text.size())); }

std::int16_t position16(std::string_view text, std::string_view part) {
    const std::size_t found = text.find(part);
    if (found == std::string_view::npos) return 0;
    return checked16(static_cast<long long>(found) + 1);
}

bool contains(std::string_view text, std::string_view part) noexcept {
    return text.find(part) != std::string_view::npos;
}

std::string_view mid(std::string_view text, int start, int length) {
    if (start < 1) throw RuntimeFault(RuntimeFault::Kind::InvalidArgument, "Invalid procedure call or argument");
    requireCount(length);
    const auto offset = static_cast<std::size_t>(start - 1);
    if (offset >= text.size()) return {};
    return text.substr(offset, static_cast<std::size_t>(length));
}

std::string_view left(std::string_view text, int count) {
    requireCount(count);
    return text.substr(0, static_cast<std::size_t>(count));
}

std::string_view right(std::string_view text, int count) {
    requireCount(count);
    const auto kept = static_cast<std::size_t>(count);
    return kept >= text.size() ? text : text.substr(text.size() - kept);
}

}  // namespace stratocue::metar
