#include "common/ansi_text.h"
#include "common/fault.h"
#include "ui/http_transfer.h"

#include <cstdint>
#include <limits>
#include <string>

namespace stratocue::ui {

namespace {

// The downloads keep the byte count in a 16-bit signed number.
constexpr std::size_t kMaxPageBytes = std::numeric_limits<std::int16_t>::max();

}  // namespace

std::string pageTextFromBody(std::span<const std::byte> body) {
    if (body.empty()) {
        throw RuntimeFault(RuntimeFault::Kind::InvalidArgument, "the page is empty (0 bytes)");
    }
    if (body.size() > kMaxPageBytes) {
        throw RuntimeFault(RuntimeFault::Kind::Overflow, "the page has " + std::to_string(body.size()) +
                                                             " bytes, more than " + std::to_string(kMaxPageBytes));
    }
    return ansiFromBytes(body);
}

}  // namespace stratocue::ui
