#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "common/fault.h"
#include "fd_test_pages.h"
#include "fdwinds/fd_decoder.h"

namespace stratocue::fdwinds {
namespace {

using testing_pages::levelOf;

// A token table (element 0 unused) of one row: the identifier, then the nine fields.
std::vector<std::string> rowTokens(const std::string& id, const std::vector<std::string>& fields) {
    std::vector<std::string> tokens{"", id};
    tokens.insert(tokens.end(), fields.begin(), fields.end());
    return tokens;
}

struct FieldCase {
    std::string name;
    std::string field;
    std::string surfaceTempText;
    FdLevelValues expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const FieldCase& c, std::ostream* out) { *out << c.name; }

class DecodeField : public testing::TestWithParam<FieldCase> {};

// The field stands at every level of one row; its decoding does not depend on the level.
TEST_P(DecodeField, GivesDirectionSpeedAndTemperature) {
    const FieldCase& c = GetParam();
    FdWinds winds;
    FD_DecodeRows(rowTokens("ABC", std::vector<std::string>(kLevelCount, c.field)), c.surfaceTempText, winds);
    ASSERT_EQ(winds.rowCount, 1);
    for (std::size_t level = 0; level < kLevelCount; ++level) {
        const FdLevelValues& values = winds.levels[1][level];
        EXPECT_EQ(values.dirCode, c.expected.dirCode) << "level " << level;
        EXPECT_EQ(values.speedCode, c.expected.speedCode) << "level " << level;
        EXPECT_EQ(values.tempC, c.expected.tempC) << "level " << level;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, DecodeField,
    testing::Values(FieldCase{"FourCharactersTakeTheSurfaceTemperature", "2710", "15", {27, 10, 15}},
                    FieldCase{"SignedPositiveTemperature", "2019+15", "7", {20, 19, 15}},
                    FieldCase{"SignedNegativeTemperature", "2230-04", "7", {22, 30, -4}},
                    FieldCase{"HighSpeedCodeKeptAsCoded", "7512-58", "7", {75, 12, -58}},
                    FieldCase{"SixCharactersTemperatureWithoutSign", "245938", "7", {24, 59, 38}},
                    FieldCase{"LightAndVariableSixCharacters", "990048", "7", {99, 0, 48}},
                    FieldCase{"LightAndVariableSevenCharacters", "9900-38", "7", {99, 0, -38}},
                    FieldCase{"PlaceholderTakesANegativeSurfaceTemperature", "9900", "-05", {99, 0, -5}},
                    FieldCase{"SurfaceTemperatureNotYetDecoded", "9900", ".", {99, 0, 0}},
                    FieldCase{"SurfaceTemperatureThatIsNoNumber", "9900", "M05", {99, 0, 0}},
                    FieldCase{"SurfaceTemperatureHalfRoundsToEvenDown", "9900", "2.5", {99, 0, 2}},
                    FieldCase{"SurfaceTemperatureHalfRoundsToEvenUp", "9900", "3.5", {99, 0, 4}},
                    FieldCase{"NegativeSurfaceTemperatureHalf", "9900", "-2.5", {99, 0, -2}},
                    FieldCase{"LettersReadAsZero", "ABCD", "9", {0, 0, 9}},
                    FieldCase{"EmptyFieldIsAllZero", "", "9", {0, 0, 0}},
                    FieldCase{"FiveCharactersHaveNoTemperature", "27101", "9", {27, 10, 0}},
                    FieldCase{"ThreeCharactersHaveNoTemperature", "271", "9", {27, 1, 0}},
                    FieldCase{"ExponentInTheTemperatureIsRead", "20191E2", "9", {20, 19, 100}}),
    [](const testing::TestParamInfo<FieldCase>& param) { return param.param.name; });

TEST(DecodeRows, PlaceholderAt30KTakesTheSurfaceTemperatureWithItsSign) {
    FdWinds winds;
    FD_DecodeRows(
        rowTokens("ABC", {"2710", "2812-05", "2915-10", "3020-15", "3125-25", "3230-35", "9900", "344050", "245938"}),
        "-12", winds);
    EXPECT_EQ(levelOf(winds, 1, FdLevel::K30), (FdLevelValues{99, 0, -12}));
    EXPECT_EQ(levelOf(winds, 1, FdLevel::K39), (FdLevelValues{24, 59, 38}));
    EXPECT_EQ(levelOf(winds, 1, FdLevel::K3), (FdLevelValues{27, 10, -12}));
}

TEST(DecodeRows, EveryTenTokensMakeARowAndAShortLastGroupStillCounts) {
    std::vector<std::string> tokens{""};
    for (int i = 1; i <= 23; ++i) tokens.push_back(i % 10 == 1 ? "R" + std::to_string(i) : std::to_string(1000 + i));
    FdWinds winds;
    FD_DecodeRows(tokens, "5", winds);
    ASSERT_EQ(winds.rowCount, 3);
    EXPECT_EQ(winds.rowId[1], "R1");
    EXPECT_EQ(winds.rowId[2], "R11");
    EXPECT_EQ(winds.rowId[3], "R21");
    EXPECT_EQ(levelOf(winds, 2, FdLevel::K39), (FdLevelValues{10, 20, 5}));  // token 20: "1020"
    EXPECT_EQ(levelOf(winds, 3, FdLevel::K3), (FdLevelValues{10, 22, 5}));   // token 22: "1022"
    EXPECT_EQ(levelOf(winds, 3, FdLevel::K6), (FdLevelValues{10, 23, 5}));   // token 23: "1023"
    EXPECT_EQ(levelOf(winds, 3, FdLevel::K9), FdLevelValues{});              // missing tokens read as empty
    EXPECT_EQ(levelOf(winds, 3, FdLevel::K39), FdLevelValues{});
}

TEST(DecodeRows, EarlierRowsAreEmptiedFirst) {
    FdWinds winds;
    const std::vector<std::string> twoRows{"", "AAA", "2710", "", "", "", "", "", "", "", "", "BBB", "3320"};
    FD_DecodeRows(twoRows, "5", winds);
    ASSERT_EQ(winds.rowCount, 2);

    FD_DecodeRows(rowTokens("CCC", {"9900"}), "1", winds);
    EXPECT_EQ(winds.rowCount, 1);
    EXPECT_EQ(winds.rowId[1], "CCC");
    EXPECT_EQ(levelOf(winds, 1, FdLevel::K3), (FdLevelValues{99, 0, 1}));
    EXPECT_EQ(winds.rowId[2], "");
    EXPECT_EQ(levelOf(winds, 2, FdLevel::K3), FdLevelValues{});
}

TEST(DecodeRows, NoTokensGiveNoRows) {
    FdWinds winds;
    FD_DecodeRows(rowTokens("AAA", {"2710"}), "5", winds);
    FD_DecodeRows({""}, "5", winds);
    EXPECT_EQ(winds, FdWinds{});
    FD_DecodeRows({}, "5", winds);
    EXPECT_EQ(winds, FdWinds{});
}

TEST(DecodeRows, ExactlyTheTokenLimitGives350Rows) {
    std::string joined = "S1";
    for (std::size_t i = 2; i <= kMaxTokens; ++i) joined += i % 10 == 1 ? " S" + std::to_string(i) : " 2812-05";
    FdWinds winds;
    FD_DecodeRows(FD_SplitTokens(joined), "5", winds);
    EXPECT_EQ(winds.rowCount, 350);
    EXPECT_EQ(winds.rowId[350], "S3491");
    EXPECT_EQ(levelOf(winds, 350, FdLevel::K39), (FdLevelValues{28, 12, -5}));
}

FdWinds previousRun() {
    FdWinds winds;
    FD_DecodeRows(rowTokens("OLD", {"2710", "2812-05"}), "5", winds);
    return winds;
}

TEST(DecodeRowsFailure, TooManyTokensLeaveThePreviousRowsWhole) {
    FdWinds winds = previousRun();
    const FdWinds before = winds;
    const std::vector<std::string> stationLines(351, std::string(testing_pages::kFullLine));
    const std::vector<std::string> pages{testing_pages::pageOf(stationLines)};
    EXPECT_THROW(winds = testing_pages::decodePages(pages, "5"), FdFormatError);
    EXPECT_EQ(winds, before);
}

TEST(DecodeRowsFailure, AMissingPreEndLeavesThePreviousRowsWhole) {
    FdWinds winds = previousRun();
    const FdWinds before = winds;
    EXPECT_THROW(winds = testing_pages::decodePages({"<PRE>39000\nABC 2710\n"}, "5"), FdFormatError);
    EXPECT_EQ(winds, before);
}

struct FaultCase {
    std::string name;
    std::vector<std::string> tokens;
    std::string surfaceTempText;
    RuntimeFault::Kind expectedKind;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.name; }

class DecodeRowsFault : public testing::TestWithParam<FaultCase> {};

TEST_P(DecodeRowsFault, RaisesARuntimeFaultAndKeepsThePreviousRows) {
    FdWinds winds = previousRun();
    const FdWinds before = winds;
    try {
        FD_DecodeRows(GetParam().tokens, GetParam().surfaceTempText, winds);
        ADD_FAILURE() << "no fault raised";
    } catch (const RuntimeFault& fault) {
        EXPECT_EQ(fault.kind(), GetParam().expectedKind);
    }
    EXPECT_EQ(winds, before);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DecodeRowsFault,
    testing::Values(
        FaultCase{"SurfaceTemperatureBeyond16Bits", rowTokens("ABC", {"9900"}), "40000", RuntimeFault::Kind::Overflow},
        FaultCase{"SurfaceTemperatureInfinite", rowTokens("ABC", {"9900"}), "1E999", RuntimeFault::Kind::Overflow},
        FaultCase{"FieldTemperatureBeyond16Bits", rowTokens("ABC", {"2710", "27109E9"}), "5",
                  RuntimeFault::Kind::Overflow},
        FaultCase{"MoreRowsThanTheLevelTablesHold", std::vector<std::string>(5002, "ABC"), "5",
                  RuntimeFault::Kind::Subscript}),
    [](const testing::TestParamInfo<FaultCase>& param) { return param.param.name; });

TEST(DecodeRows, ASurfaceTemperatureBeyond16BitsIsHarmlessWithoutFourCharacterFields) {
    FdWinds winds;
    FD_DecodeRows(rowTokens("ABC", std::vector<std::string>(kLevelCount, "2812-05")), "40000", winds);
    EXPECT_EQ(winds.rowCount, 1);
    EXPECT_EQ(levelOf(winds, 1, FdLevel::K3), (FdLevelValues{28, 12, -5}));
}

TEST(DecodeRows, AnEmptyCutBetweenPagesShiftsLaterRowsByOneToken) {
    const std::string line(testing_pages::kFullLine);
    const std::string emptyTable = "<PRE>\n" + std::string(testing_pages::kHeaderLine) + "\n\n</PRE>";
    const FdWinds winds = testing_pages::decodePages(
        {testing_pages::pageOf({line}), emptyTable, testing_pages::pageOf({"DEF" + line.substr(3)})}, "5");
    ASSERT_EQ(winds.rowCount, 3);
    EXPECT_EQ(winds.rowId[1], "ABC");
    EXPECT_EQ(winds.rowId[2], "");
    EXPECT_EQ(levelOf(winds, 2, FdLevel::K3), (FdLevelValues{0, 0, 0}));    // "DEF"
    EXPECT_EQ(levelOf(winds, 2, FdLevel::K6), (FdLevelValues{27, 10, 5}));  // "2710"
    EXPECT_EQ(winds.rowId[3], "354555");
}

TEST(DecodeRows, ATrailingBlankOnAPageAddsNoToken) {
    const std::string line(testing_pages::kFullLine);
    const FdWinds winds = testing_pages::decodePages(
        {testing_pages::pageOf({line + " "}), testing_pages::pageOf({"DEF" + line.substr(3) + "  "})}, "5");
    ASSERT_EQ(winds.rowCount, 2);
    EXPECT_EQ(winds.rowId[2], "DEF");
    EXPECT_EQ(levelOf(winds, 2, FdLevel::K39), (FdLevelValues{35, 45, 55}));
}

TEST(DecodeRows, BlankLevelsOfARealLayoutBecomePlaceholders) {
    const FdWinds winds = testing_pages::decodePages(
        {testing_pages::pageOf({"ABQ              3023-04 2841-05 2949-19 2856-31 275045 265653 257458",
                                "ALS                      2921-11 3144-23 3169-31 316845 305852 275955",
                                "AMA      2932    2641+01 2341-04 2566-18 2580-29 750444 751452 751856"})},
        "-3");
    ASSERT_EQ(winds.rowCount, 3);
    EXPECT_EQ(winds.rowId[1], "ABQ");
    EXPECT_EQ(levelOf(winds, 1, FdLevel::K6), (FdLevelValues{99, 0, -3}));
    EXPECT_EQ(levelOf(winds, 1, FdLevel::K9), (FdLevelValues{30, 23, -4}));
    EXPECT_EQ(winds.rowId[2], "ALS");
    EXPECT_EQ(levelOf(winds, 2, FdLevel::K9), (FdLevelValues{99, 0, -3}));
    EXPECT_EQ(levelOf(winds, 2, FdLevel::K12), (FdLevelValues{29, 21, -11}));
    EXPECT_EQ(winds.rowId[3], "AMA");
    EXPECT_EQ(levelOf(winds, 3, FdLevel::K3), (FdLevelValues{99, 0, -3}));
    EXPECT_EQ(levelOf(winds, 3, FdLevel::K6), (FdLevelValues{29, 32, -3}));
    EXPECT_EQ(levelOf(winds, 3, FdLevel::K39), (FdLevelValues{75, 18, 56}));
}

TEST(DecodeRows, ACrLfPageDecodesLikeAnLfPage) {
    const std::vector<std::string> lines{std::string(testing_pages::kFullLine),
                                         "ALS                      2921-11 3144-23 3169-31 316845 305852 275955"};
    const FdWinds lf = testing_pages::decodePages({testing_pages::pageOf(lines)}, "5");
    const FdWinds crLf = testing_pages::decodePages({testing_pages::withCrLf(testing_pages::pageOf(lines))}, "5");
    EXPECT_EQ(lf.rowCount, 2);
    EXPECT_EQ(crLf, lf);
}

}  // namespace
}  // namespace stratocue::fdwinds
