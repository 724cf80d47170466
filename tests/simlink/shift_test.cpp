#include <gtest/gtest.h>

#include <string>

#include "common/fault.h"
#include "simlink/link.h"

namespace stratocue::simlink {
namespace {

TEST(Shift, MultipliesAndDividesByPowersOfTwo) {
    struct Case {
        const char* name;
        std::int32_t value;
        std::int32_t bits;
        bool left;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"LeftBySixteen", 0x1998, 16, true, 0x19980000},
        {"LeftByZero", 123, 0, true, 123},
        {"LeftOfNegative", -3, 4, true, -48},
        {"LeftByMinusOneTieToEven", 5, -1, true, 2},
        {"LeftByMinusOneTieToEvenUp", 7, -1, true, 4},
        {"LeftToLargestValue", 0x3FFFFFFF, 1, true, 0x7FFFFFFE},
        {"LeftToSmallestValue", -1, 31, true, INT32_MIN},
        {"RightTakesUpperHalf", 0x28100004, 16, false, 0x2810},
        {"RightTruncatesTowardZero", -7, 1, false, -3},
        {"RightOfNegativeVersionWord", static_cast<std::int32_t>(0xFADE0006U), 16, false, -1313},
        {"RightByZero", -5, 0, false, -5},
        {"RightByThirty", INT32_MAX, 30, false, 1},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(Shift(test.value, test.bits, test.left), test.expected);
    }
}

TEST(Shift, ResultsOutsideThirtyTwoBitsFaultWithItsName) {
    struct Case {
        const char* name;
        std::int32_t value;
        std::int32_t bits;
        bool left;
        RuntimeFault::Kind kind;
    };
    const Case cases[] = {
        {"LeftPastLargest", 0x40000000, 1, true, RuntimeFault::Kind::Overflow},
        {"LeftPastSmallest", -2, 31, true, RuntimeFault::Kind::Overflow},
        {"LeftByHugeCountOfZero", 0, 2000, true, RuntimeFault::Kind::Overflow},
        {"RightByThirtyOne", 1, 31, false, RuntimeFault::Kind::Overflow},
        {"RightByForty", 1, 40, false, RuntimeFault::Kind::Overflow},
        {"RightByNegativeCount", 8, -1, false, RuntimeFault::Kind::DivisionByZero},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        try {
            (void)Shift(test.value, test.bits, test.left);
            ADD_FAILURE() << "no fault";
        } catch (const RuntimeFault& fault) {
            EXPECT_EQ(fault.kind(), test.kind);
            EXPECT_NE(std::string(fault.what()).find("Shift"), std::string::npos) << fault.what();
        }
    }
}

}  // namespace
}  // namespace stratocue::simlink
