#include "common/number_parse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace stratocue {
namespace {

struct ParseCase {
    std::string name;
    std::string text;
    double expected;
};

class LeadingNumber : public testing::TestWithParam<ParseCase> {};

TEST_P(LeadingNumber, ReadsTheNumberAtTheStart) {
    EXPECT_DOUBLE_EQ(parseLeadingNumber(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingNumber,
    testing::Values(ParseCase{"Empty", "", 0.0}, ParseCase{"PlusSixIsNoNumber", "P6", 0.0},
                    ParseCase{"MinusPrefixIsNoNumber", "M05", 0.0}, ParseCase{"Variable", "VRB", 0.0},
                    ParseCase{"LeadingZeros", "030", 30.0}, ParseCase{"Negative", "-05", -5.0},
                    ParseCase{"ExplicitPlus", "+15", 15.0}, ParseCase{"Decimal", "29.92", 29.92},
                    ParseCase{"CommaIsNotAPoint", "1,5", 1.0}, ParseCase{"SecondPointStops", "12.5.61667", 12.5},
                    ParseCase{"LeadingBlanks", "   42", 42.0}, ParseCase{"BlanksBetweenDigits", "1 2 3", 123.0},
                    ParseCase{"BlankAfterSign", "- 7", -7.0}, ParseCase{"StopsAtLetter", "12SM", 12.0},
                    ParseCase{"ExponentE", "15E2", 1500.0}, ParseCase{"ExponentD", "1D3", 1000.0},
                    ParseCase{"NegativeExponent", "25E-1", 2.5}, ParseCase{"ExponentWithoutDigits", "4000E", 4000.0},
                    ParseCase{"PointFirst", ".5", 0.5}, ParseCase{"LonePoint", ".", 0.0},
                    ParseCase{"LoneSign", "-", 0.0}, ParseCase{"ErrorText", "Reading: Call cannot execute", 0.0},
                    ParseCase{"TrailingPoint", "7.", 7.0}, ParseCase{"DoubleSign", "+-5", 0.0}),
    [](const testing::TestParamInfo<ParseCase>& param) { return param.param.name; });

TEST(LeadingNumberLimits, HugeExponentIsInfinityNotACrash) {
    EXPECT_TRUE(std::isinf(parseLeadingNumber("1E999")));
    EXPECT_LT(parseLeadingNumber("-1E999"), 0.0);
    EXPECT_EQ(parseLeadingNumber("1E-999"), 0.0);
    EXPECT_DOUBLE_EQ(parseLeadingNumber(std::string(400, '1').substr(0, 3)), 111.0);
}

}  // namespace
}  // namespace stratocue
