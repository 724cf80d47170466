#include "fdwinds/fd_decoder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/fault.h"
#include "common/number_parse.h"
#include "common/rounding.h"

namespace stratocue::fdwinds {
namespace {

constexpr std::size_t kTokensPerRow = 1 + kLevelCount;  // identifier, then one field per level

// Field lengths that carry a temperature of their own; a 4-character field (every 3K field
// and every "9900" placeholder) takes the surface temperature.
constexpr std::size_t kSignedTempFieldLength = 7;    // 2812-05: last three characters, signed
constexpr std::size_t kUnsignedTempFieldLength = 6;  // 245938: last two characters
constexpr std::size_t kNoTempFieldLength = 4;        // 2710

// Characters `first`.. (0-based) of the text, at most `count` of them; "" past its end.
std::string_view middle(std::string_view text, std::size_t first, std::size_t count) {
    return first < text.size() ? text.substr(first, count) : std::string_view{};
}

std::int16_t surfaceTempC(std::string_view surfaceTempText) {
    return roundTo<std::int16_t>(parseLeadingNumber(surfaceTempText));
}

FdLevelValues decodeField(std::string_view field, std::string_view surfaceTempText) {
    FdLevelValues values;
    values.dirCode = floorTo<std::int16_t>(parseLeadingNumber(middle(field, 0, 2)));
    values.speedCode = floorTo<std::int16_t>(parseLeadingNumber(middle(field, 2, 2)));
    switch (field.size()) {
        case kSignedTempFieldLength:
            values.tempC = roundTo<std::int16_t>(parseLeadingNumber(field.substr(field.size() - 3)));
            break;
        case kUnsignedTempFieldLength:
            values.tempC = roundTo<std::int16_t>(parseLeadingNumber(field.substr(field.size() - 2)));
            break;
        case kNoTempFieldLength:
            values.tempC = surfaceTempC(surfaceTempText);
            break;
        default:
            break;  // no temperature: stays 0
    }
    return values;
}

}  // namespace

void FD_DecodeRows(const std::vector<std::string>& tokens, std::string_view surfaceTempText, FdWinds& winds) {
    const std::size_t tokenCount = tokens.empty() ? 0 : tokens.size() - 1;
    const auto token = [&tokens, tokenCount](std::size_t index) -> std::string_view {
        return index <= tokenCount ? std::string_view(tokens[index]) : std::string_view{};
    };

    // Built aside and moved in at the end, so that a fault leaves the previous rows whole.
    FdWinds fresh;
    std::int16_t rowCount = 0;
    for (std::size_t first = 1; first <= tokenCount; first += kTokensPerRow) {
        if (rowCount >= kMaxLevelRows) throw RuntimeFault(RuntimeFault::Kind::Subscript, "Subscript out of range");
        ++rowCount;
        const auto row = static_cast<std::size_t>(rowCount);
        fresh.rowId[row] = std::string(token(first));
        for (std::size_t level = 0; level < kLevelCount; ++level) {
            fresh.levels[row][level] = decodeField(token(first + 1 + level), surfaceTempText);
        }
    }
    fresh.rowCount = rowCount;
    winds = std::move(fresh);
}

}  // namespace stratocue::fdwinds
