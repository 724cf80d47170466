#include "common/number_format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace stratocue {
namespace {

struct FormatCase {
    std::string name;
    double value;
    std::string pattern;
    std::string expected;
};

class NumberPattern : public testing::TestWithParam<FormatCase> {};

TEST_P(NumberPattern, FormatsWithTiesToEven) {
    const auto& c = GetParam();
    EXPECT_EQ(formatNumber(c.value, c.pattern), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, NumberPattern,
    testing::Values(
        FormatCase{"Radians", 1.5707963267948966, "0.000000", "1.570796"},
        FormatCase{"NegativeRadians", -1.5707963267948966, "0.000000", "-1.570796"},
        FormatCase{"DistanceOneDecimal", 59.94, "0.0", "59.9"}, FormatCase{"ExactTieOneDecimal", 0.25, "0.0", "0.2"},
        FormatCase{"EmptyListDistance", 99999999.0, "0.0", "99999999.0"}, FormatCase{"WholeTieToEven", 2.5, "0", "2"},
        FormatCase{"WholeTieToEvenUp", 3.5, "0", "4"}, FormatCase{"WholeNegative", -5.0, "0", "-5"},
        FormatCase{"TinyNegativeShowsNoSign", -0.4, "0", "0"}, FormatCase{"TwoDigitsPadded", 5.0, "00", "05"},
        FormatCase{"TwoDigitsNegative", -5.0, "00", "-05"}, FormatCase{"TwoDigitsWide", 120.0, "00", "120"},
        FormatCase{"ZeroTwoDigits", 0.0, "00", "00"}, FormatCase{"FractionNoIntegerDigit", 0.5, ".00", ".50"},
        FormatCase{"EighthTiesToEven", 0.125, ".00", ".12"}, FormatCase{"ThreeEighths", 0.375, ".00", ".38"},
        FormatCase{"SixteenthRounds", 1.0 / 6.0, ".00", ".17"}, FormatCase{"FractionWithWhole", 1.5, ".00", "1.50"},
        FormatCase{"ZeroFraction", 0.0, ".00", ".00"},
        FormatCase{"MinutesFiveDecimals", 37.0 / 60.0, "0.00000", "0.61667"},
        FormatCase{"HalfDegree", 0.5, "0.00000", "0.50000"}),
    [](const testing::TestParamInfo<FormatCase>& param) { return param.param.name; });

TEST(NumberPatternLocale, DecimalPointIgnoresTheUserLocale) {
    // A German locale, when the machine has one, must not turn the point into a comma.
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    EXPECT_EQ(formatNumber(1.25, "0.000000"), "1.250000");
    EXPECT_EQ(formatShortest(0.5), " 0.5");
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(ShortestForm, NonNegativeValuesGetALeadingBlank) {
    EXPECT_EQ(formatShortest(65535 / 8191.875), " 8");
    EXPECT_EQ(formatShortest(32767 / 8191.875), " 3.999938963912413");
    EXPECT_EQ(formatShortest(0.0), " 0");
    EXPECT_EQ(formatShortest(5.0), " 5");
    EXPECT_EQ(formatShortest(-2.5), "-2.5");
}

}  // namespace
}  // namespace stratocue
