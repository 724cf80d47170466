#include "fdwinds/fd_decoder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/fault.h"
#include "common/number_format.h"

namespace stratocue::fdwinds {
namespace {

std::string twoDigits(std::int16_t value) { return formatNumber(value, "00"); }

}  // namespace

std::string FD_DisplayText(const FdWinds& winds, std::int16_t row) {
    if (row < 1 || row > winds.rowCount) throw RuntimeFault(RuntimeFault::Kind::Subscript, "Subscript out of range");
    const auto index = static_cast<std::size_t>(row);
    if (index >= winds.rowId.size() || index >= winds.levels.size()) {
        throw RuntimeFault(RuntimeFault::Kind::Subscript, "Subscript out of range");
    }

    std::string text = winds.rowId[index];
    for (std::size_t level = 0; level < kLevelCount; ++level) {
        const FdLevelValues& values = winds.levels[index][level];
        text += ' ';
        text += kFdLevels[level].name;
        text += ':';
        text += twoDigits(values.dirCode);
        text += twoDigits(values.speedCode);
        text += twoDigits(values.tempC);
    }
    return text;
}

}  // namespace stratocue::fdwinds
