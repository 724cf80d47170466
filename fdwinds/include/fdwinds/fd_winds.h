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

// What the program knows of each level.
struct FdLevelInfo {
    FdLevel level;
    std::string_view name;        // as the summary line and the decoder's JSON name it
    std::int32_t feet;            // the level's height
    bool temperatureSignImplied;  // the bulletin leaves out the minus sign of its temperatures
};

// The nine levels, in column order (the order of FdLevel).
inline constexpr std::array<FdLevelInfo, kLevelCount> kFdLevels{{
    {FdLevel::K3, "3K", 3000, false},
    {FdLevel::K6, "6K", 6000, false},
    {FdLevel::K9, "9K", 9000, false},
    {FdLevel::K12, "12K", 12000, false},
    {FdLevel::K18, "18K", 18000, false},
    {FdLevel::K24, "24K", 24000, false},
    {FdLevel::K30, "30K", 30000, true},
    {FdLevel::K34, "34K", 34000, true},
    {FdLevel::K39, "39K", 39000, true},
}};

[[nodiscard]] constexpr const FdLevelInfo& fdLevelInfo(FdLevel level) {
    return kFdLevels[static_cast<std::size_t>(level)];
}

constexpr std::int16_t kMaxRows = 2000;      // room in rowId
constexpr std::int16_t kMaxLevelRows = 500;  // room in each level table
constexpr std::size_t kMaxTokens = 3500;     // tokens of one decoding run

// One level of one row, as the bulletin codes it: direction code (tens of degrees, above
// 50 for 100 knots and more, 99 for light and variable), speed code (knots) and the
// temperature in degrees Celsius (without its implied sign, see FdLevelInfo).
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
