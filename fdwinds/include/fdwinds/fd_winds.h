#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace stratocue::fdwinds {

// The nine forecast levels of an FD bulletin, in column order.
enum class FdLevel { K3, K6, K9, K12, K18, K24, K30, K34, K39 };
constexpr std::size_t kLevelCount = 9;

constexpr std::int16_t kMaxRows = 2000;      // room in rowId
constexpr std::int16_t kMaxLevelRows = 500;  // room in each level table
constexpr std::size_t kMaxTokens = 3500;     // tokens of one decoding run

// One level of one row, as the bulletin codes it: direction code (tens of degrees, above
// 50 for 100 knots and more, 99 for light and variable), speed code (knots) and the
// temperature in degrees Celsius (without sign at 30K, 34K and 39K).
struct FdLevelValues {
    std::int16_t dirCode = 0;
    std::int16_t speedCode = 0;
    std::int16_t tempC = 0;

    bool operator==(const FdLevelValues&) const = default;
};

// The decoded winds aloft: rows numbered from 1 (index 0 unused) in the order of the
// joined bulletins.
struct FdWinds {
    std::int16_t rowCount = 0;
    std::vector<std::string> rowId = std::vector<std::string>(kMaxRows + 1);
    std::vector<std::array<FdLevelValues, kLevelCount>> levels =
        std::vector<std::array<FdLevelValues, kLevelCount>>(kMaxLevelRows + 1);

    bool operator==(const FdWinds&) const = default;
};

}  // namespace stratocue::fdwinds
