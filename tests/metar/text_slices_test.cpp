#include "metar/text_slices.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "common/fault.h"

namespace stratocue::metar {
namespace {

TEST(TextSlices, CutLikeTheDecoderExpects) {
    struct Case {
        const char* name;
        std::string_view actual;
        std::string_view expected;
    };
    const std::vector<Case> cases = {
        {"MidInside", mid("27015G25KT", 4, 2), "15"},      {"MidPastTheEndIsShort", mid("VRB03KT", 4, 10), "03KT"},
        {"MidJustPastTheEndIsEmpty", mid("KT", 3, 2), ""}, {"MidZeroLength", mid("KT", 1, 0), ""},
        {"LeftShortTextWhole", left("KT", 3), "KT"},       {"LeftZero", left("KT", 0), ""},
        {"RightLast", right("BKN030CB", 2), "CB"},         {"RightShortTextWhole", right("CB", 5), "CB"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.name;
}

TEST(TextSlices, BadStartOrLengthIsAFault) {
    EXPECT_THROW((void)mid("KT", 0, 2), RuntimeFault);
    EXPECT_THROW((void)mid("KT", 4, -3), RuntimeFault);
    EXPECT_THROW((void)left("KT", -1), RuntimeFault);
    EXPECT_THROW((void)right("KT", -1), RuntimeFault);
}

TEST(TextSlices, PositionsAreSixteenBit) {
    EXPECT_EQ(position16("24010G15MPS", "G"), 6);
    EXPECT_EQ(position16("27008MPS", "G"), 0);
    EXPECT_EQ(checked16(32767), 32767);
    EXPECT_EQ(checked16(-32768), -32768);
    EXPECT_THROW((void)checked16(32768), RuntimeFault);
    EXPECT_THROW((void)checked16(-32769), RuntimeFault);
    const std::string longText(32767, 'X');
    EXPECT_EQ(length16(longText), 32767);
    EXPECT_THROW((void)length16(longText + "X"), RuntimeFault);
    EXPECT_THROW((void)position16(longText + "G", "G"), RuntimeFault);
}

}  // namespace
}  // namespace stratocue::metar
