#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "fd_test_pages.h"
#include "fdwinds/fd_decoder.h"

namespace stratocue::fdwinds {
namespace {

using testing_pages::kFullLine;
using testing_pages::pageOf;

const std::string kFull(kFullLine);
const std::string kLevels6To39 = "2812-05 2915-10 3020-15 3125-25 3230-35 333545 344050 354555";
const std::string kLevels9To39 = "2915-10 3020-15 3125-25 3230-35 333545 344050 354555";
const std::string kLevels12To39 = "3020-15 3125-25 3230-35 333545 344050 354555";

struct CutCase {
    std::string name;
    std::string page;
    std::optional<std::string> expectedCut;  // nullopt: the page is refused
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const CutCase& c, std::ostream* out) { *out << c.name; }

class CutBulletin : public testing::TestWithParam<CutCase> {};

TEST_P(CutBulletin, CutsAndNormalisesTheStationTable) {
    const CutCase& c = GetParam();
    if (c.expectedCut) {
        EXPECT_EQ(FD_CutBulletin(c.page), *c.expectedCut);
    } else {
        EXPECT_THROW(static_cast<void>(FD_CutBulletin(c.page)), FdFormatError);
    }
}

std::string header() { return std::string(testing_pages::kHeaderLine) + "\n"; }

INSTANTIATE_TEST_SUITE_P(
    Pages, CutBulletin,
    testing::Values(
        CutCase{"LinesJoinedWithOneBlank", pageOf({kFull, "DEF" + kFull.substr(3)}), kFull + " DEF" + kFull.substr(3)},
        CutCase{"Blank3KBecomesOnePlaceholder", pageOf({"ABC      " + kLevels6To39}), "ABC 9900 " + kLevels6To39},
        CutCase{"Blank3KAnd6KBecomeTwoPlaceholders", pageOf({"ABC              " + kLevels9To39}),
                "ABC 9900 9900 " + kLevels9To39},
        CutCase{"Blank3K6KAnd9KBecomeThreePlaceholders", pageOf({"ABC                      " + kLevels12To39}),
                "ABC 9900 9900 9900 " + kLevels12To39},
        CutCase{"Blank3KAndTemperatureless6K", pageOf({"AMA      2932    " + kLevels9To39}),
                "AMA 9900 2932 " + kLevels9To39},
        CutCase{"ThirtyBlanksGiveTwoReplacementsAndTwoBlanksLeft", pageOf({"A" + std::string(30, ' ') + "B"}),
                "A 9900 9900  9900 9900   B"},
        CutCase{"FourBlanksShrinkToOne", pageOf({"A    B"}), "A B"},
        CutCase{"FiveBlanksLeaveTwo", pageOf({"A     B"}), "A  B"},
        CutCase{"CarriageReturnAloneIsKept", pageOf({"A\rB"}), "A\rB"},
        CutCase{"FirstHeaderOccurrenceCounts", "<PRE>39000\nAAA 2710\nBBB 39000\n</PRE>", "AAA 2710 BBB 39000"},
        CutCase{"NoHeaderCutsFromTheSixthCharacter", "<PRE>AAA 2710\nBBB 2812\n</PRE>", "AAA 2710 BBB 2812"},
        CutCase{"NoPreEndIsRefused", header() + kFull + "\n", std::nullopt},
        CutCase{"LowerCasePreEndIsRefused", header() + kFull + "\n</pre>", std::nullopt},
        CutCase{"PreEndAtFirstPositionIsRefused", header() + "</PRE>", std::nullopt},
        CutCase{"PreEndAtSecondPositionGivesAnEmptyCut", header() + "\n</PRE>", ""},
        CutCase{"PreEndBeforeTheHeaderIsNotSeen", "<PRE>\n</PRE>\n" + header() + kFull, std::nullopt},
        CutCase{"PreEndEndingTheWindowIsFound", header() + std::string(4993, 'X') + "\n</PRE>", std::string(4993, 'X')},
        CutCase{"PreEndPastTheWindowIsRefused", header() + std::string(4994, 'X') + "\n</PRE>", std::nullopt},
        CutCase{"ShortPageWithoutHeaderIsRefused", "</PRE>", std::nullopt},
        CutCase{"HeaderAtTheVeryEndIsRefused", "<PRE>39000", std::nullopt},
        CutCase{"TrailingBlankIsDropped", pageOf({kFull + " "}), kFull},
        CutCase{"BlankLastFieldOfTheLastLineBecomesAPlaceholder",
                pageOf({"ABC 2710 2812-05 2915-10 3020-15 3125-25 3230-35 333545 344050       "}),
                "ABC 2710 2812-05 2915-10 3020-15 3125-25 3230-35 333545 344050 9900"},
        CutCase{"CrLfLinesReadAsLfLines", testing_pages::withCrLf(pageOf({kFull, "ABC      " + kLevels6To39})),
                kFull + " ABC 9900 " + kLevels6To39}),
    [](const testing::TestParamInfo<CutCase>& param) { return param.param.name; });

struct JoinCase {
    std::string name;
    std::vector<std::string> cuts;
    std::string expectedText;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const JoinCase& c, std::ostream* out) { *out << c.name; }

class JoinCuts : public testing::TestWithParam<JoinCase> {};

TEST_P(JoinCuts, PutsOneBlankBetweenNeighbours) { EXPECT_EQ(FD_JoinCuts(GetParam().cuts), GetParam().expectedText); }

INSTANTIATE_TEST_SUITE_P(Cuts, JoinCuts,
                         testing::Values(JoinCase{"None", {}, ""}, JoinCase{"One", {"A B"}, "A B"},
                                         JoinCase{"Three", {"A", "B C", "D"}, "A B C D"},
                                         JoinCase{"EmptyCutInTheMiddle", {"A", "", "B"}, "A  B"},
                                         JoinCase{"EmptyCutFirst", {"", "B"}, " B"}),
                         [](const testing::TestParamInfo<JoinCase>& param) { return param.param.name; });

}  // namespace
}  // namespace stratocue::fdwinds
