#include "stations/station_file_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace stratocue::stations {
namespace {

using namespace std::string_view_literals;

TEST(SplitStationFileLines, EndsLinesAtCarriageReturns) {
    struct Case {
        const char* name;
        std::string_view text;
        std::vector<std::string_view> lines;
    };
    const std::vector<Case> cases = {
        {"EmptyTextHasNoLines", ""sv, {}},
        {"CarriageReturnEndsLine", "AB\rCD\r"sv, {"AB", "CD"}},
        {"CarriageReturnLineFeedIsOneEnd", "AB\r\nCD\r\n"sv, {"AB", "CD"}},
        {"LoneLineFeedStaysInLine", "AB\nCD\r\n"sv, {"AB\nCD"}},
        {"LineFeedOnlyFileIsOneLine", "AB\nCD\n"sv, {"AB\nCD\n"}},
        {"LineFeedAfterEndStartsNextLine", "AB\r\n\nCD"sv, {"AB", "\nCD"}},
        {"LastLineWithoutEnd", "AB\r\nCD"sv, {"AB", "CD"}},
        {"CarriageReturnTwiceThenLineFeedGivesEmptyLine", "AB\r\r\nCD"sv, {"AB", "", "CD"}},
        {"LoneCarriageReturnIsOneEmptyLine", "\r"sv, {""}},
        {"BlankLinesKept", "\r\n\r\n"sv, {"", ""}},
        {"ZeroBytesKept", "A\0B\rC"sv, {"A\0B"sv, "C"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(splitStationFileLines(c.text), c.lines);
    }
}

TEST(IsStationDataLine, SkipsCommentsAndShortLines) {
    struct Case {
        const char* name;
        std::string_view line;
        bool isData;
    };
    const std::vector<Case> cases = {
        {"StationLine", "KSFO,N,37,37,W,122,22,4", true},
        {"Comment", "// METAR stations", false},
        {"CommentWithoutText", "//", false},
        {"LongCommentLikeStationLine", "//SFO,N,37,37,W,122,22", false},
        {"SingleSlashIsData", "/KSFO,N", true},
        {"BlankBeforeSlashesIsData", " //KSFO", true},
        {"EmptyLine", "", false},
        {"FourCharacters", "KSFO", false},
        {"FiveCharacters", "KSFOX", true},
        {"FourBlanks", "    ", false},
        {"FiveBlanks", "     ", true},
        {"LineFeedCountsAsCharacter", "\nKSFO", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(isStationDataLine(c.line), c.isData);
    }
}

}  // namespace
}  // namespace stratocue::stations
