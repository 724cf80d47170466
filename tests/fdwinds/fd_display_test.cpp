#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

#include "common/fault.h"
#include "fdwinds/fd_decoder.h"

namespace stratocue::fdwinds {
namespace {

// One row ABC whose levels all hold `values`, except those the case sets.
FdWinds oneRow(const FdLevelValues& values) {
    FdWinds winds;
    winds.rowCount = 1;
    winds.rowId[1] = "ABC";
    winds.levels[1].fill(values);
    return winds;
}

struct DisplayCase {
    std::string name;
    FdLevelValues values;
    std::string expectedDigits;  // what follows each level label
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const DisplayCase& c, std::ostream* out) { *out << c.name; }

class DisplayText : public testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayText, WritesEachNumberWithAtLeastTwoDigits) {
    const std::string d = GetParam().expectedDigits;
    EXPECT_EQ(FD_DisplayText(oneRow(GetParam().values), 1), "ABC 3K:" + d + " 6K:" + d + " 9K:" + d + " 12K:" + d +
                                                                " 18K:" + d + " 24K:" + d + " 30K:" + d + " 34K:" + d +
                                                                " 39K:" + d);
}

INSTANTIATE_TEST_SUITE_P(Numbers, DisplayText,
                         testing::Values(DisplayCase{"SingleDigitsZeroFilled", {5, 0, -12}, "0500-12"},
                                         DisplayCase{"NegativeSingleDigit", {27, 10, -5}, "2710-05"},
                                         DisplayCase{"ThreeDigitsKept", {99, 120, 38}, "9912038"},
                                         DisplayCase{"AllZero", {0, 0, 0}, "000000"}),
                         [](const testing::TestParamInfo<DisplayCase>& param) { return param.param.name; });

TEST(DisplayTextOfADecodedRow, BeginsWithTheIdentifierAndThe3KAnd6KFields) {
    FdWinds winds;
    FD_DecodeRows(
        {"", "ABC", "2710", "2812-05", "2915-10", "3020-15", "3125-25", "3230-35", "333545", "344050", "9900"}, "15",
        winds);
    EXPECT_EQ(FD_DisplayText(winds, 1),
              "ABC 3K:271015 6K:2812-05 9K:2915-10 12K:3020-15 18K:3125-25 24K:3230-35 30K:333545 34K:344050 "
              "39K:990015");
}

struct RowCase {
    std::string name;
    std::int16_t row;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const RowCase& c, std::ostream* out) { *out << c.name; }

class DisplayTextRow : public testing::TestWithParam<RowCase> {};

TEST_P(DisplayTextRow, OutsideTheDecodedRowsIsASubscriptFault) {
    FdWinds winds = oneRow({1, 2, 3});
    winds.rowCount = 2;
    try {
        static_cast<void>(FD_DisplayText(winds, GetParam().row));
        ADD_FAILURE() << "no fault raised";
    } catch (const RuntimeFault& fault) {
        EXPECT_EQ(fault.kind(), RuntimeFault::Kind::Subscript);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, DisplayTextRow,
                         testing::Values(RowCase{"Zero", 0}, RowCase{"Negative", -1}, RowCase{"AboveRowCount", 3},
                                         RowCase{"FarAbove", 32767}),
                         [](const testing::TestParamInfo<RowCase>& param) { return param.param.name; });

TEST(DisplayTextRowRange, LastDecodedRowIsShown) {
    FdWinds winds = oneRow({1, 2, 3});
    winds.rowCount = 2;
    winds.rowId[2] = "XYZ";
    EXPECT_EQ(FD_DisplayText(winds, 2).substr(0, 11), "XYZ 3K:0000");
}

}  // namespace
}  // namespace stratocue::fdwinds
