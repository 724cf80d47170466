#include "common/rounding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace stratocue {
namespace {

TEST(Rounding, TiesGoToEven) {
    const struct {
        double value;
        double rounded;
    } cases[] = {{2.5, 2.0}, {3.5, 4.0}, {-2.5, -2.0}, {-3.5, -4.0},       {0.5, 0.0},   {1.5, 2.0},
                 {2.4, 2.0}, {2.6, 3.0}, {-0.4, -0.0}, {49150.5, 49150.0}, {1e16, 1e16}, {-1.49, -1.0}};
    for (const auto& c : cases) EXPECT_EQ(roundHalfEven(c.value), c.rounded) << c.value;
}

TEST(Rounding, FloorGoesTowardMinusInfinity) {
    EXPECT_EQ(floorValue(-3.5), -4.0);
    EXPECT_EQ(floorValue(12.9), 12.0);
    EXPECT_EQ(floorTo<std::int16_t>(-3.5), -4);
}

TEST(Rounding, WidthOverflowIsAFault) {
    EXPECT_EQ(roundTo<std::int16_t>(32767.4), 32767);
    EXPECT_THROW((void)roundTo<std::int16_t>(32767.5), RuntimeFault);  // ties to even gives 32768
    EXPECT_EQ(roundTo<std::int16_t>(-32768.5), -32768);
    EXPECT_THROW((void)floorTo<std::int16_t>(-32768.5), RuntimeFault);
    EXPECT_THROW((void)roundTo<std::int32_t>(std::numeric_limits<double>::quiet_NaN()), RuntimeFault);
    EXPECT_THROW((void)roundTo<std::uint8_t>(256.0), RuntimeFault);
    EXPECT_THROW((void)roundTo<std::int16_t>(std::numeric_limits<double>::infinity()), RuntimeFault);
}

}  // namespace
}  // namespace stratocue
