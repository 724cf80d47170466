#include <gtest/gtest.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "fd_test_pages.h"
#include "fdwinds/fd_decoder.h"

namespace stratocue::fdwinds {
namespace {

using testing_pages::kDataFolder;
using testing_pages::levelOf;
using testing_pages::readFile;

// The seven regional pages of one bulletin issue, in the order they are fetched.
const std::vector<std::string> kRegionPageFiles{"sfo_fd1.shtml",     "slc_fd1.shtml",    "chicago_fd1.shtml",
                                                "ftworth_fd1.shtml", "boston_fd1.shtml", "miami_fd1.shtml",
                                                "alaska_fd1.shtml"};

std::vector<std::string> regionPages() {
    std::vector<std::string> pages;
    for (const std::string& file : kRegionPageFiles) pages.push_back(readFile(kDataFolder / "pages-171357" / file));
    return pages;
}

// The identifiers of the station lines of a page: the lines between the header line and
// "</PRE>", read independently of the decoder.
std::vector<std::string> stationIds(std::string_view page) {
    std::vector<std::string> ids;
    std::size_t lineStart = page.find('\n', page.find("39000")) + 1;
    for (;;) {
        const std::size_t lineEnd = page.find('\n', lineStart);
        const std::string_view line = page.substr(lineStart, lineEnd - lineStart);
        if (lineEnd == std::string_view::npos || line.starts_with("</PRE>")) break;
        ids.emplace_back(line.substr(0, 3));
        lineStart = lineEnd + 1;
    }
    return ids;
}

bool isStationId(std::string_view id) {
    if (id.size() != 3) return false;
    for (const char c : id) {
        if (!std::isupper(static_cast<unsigned char>(c)) && !std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

TEST(RealRegionPages, OneRowPerStationLineInFetchOrder) {
    const std::vector<std::string> pages = regionPages();
    std::vector<std::string> expectedIds;
    for (const std::string& page : pages) {
        const auto ids = stationIds(page);
        expectedIds.insert(expectedIds.end(), ids.begin(), ids.end());
    }
    ASSERT_EQ(expectedIds.size(), 212u);

    const FdWinds winds = testing_pages::decodePages(pages, "7");
    ASSERT_EQ(winds.rowCount, 212);
    for (std::size_t row = 1; row <= expectedIds.size(); ++row) {
        EXPECT_TRUE(isStationId(winds.rowId[row])) << "row " << row << ": \"" << winds.rowId[row] << '"';
        EXPECT_EQ(winds.rowId[row], expectedIds[row - 1]) << "row " << row;
    }
}

TEST(RealRegionPages, KnownRowsDecode) {
    const FdWinds winds = testing_pages::decodePages(regionPages(), "7");
    ASSERT_EQ(winds.rowCount, 212);

    // SFO is the 25th line of the first page.
    ASSERT_EQ(winds.rowId[25], "SFO");
    EXPECT_EQ(FD_DisplayText(winds, 25),
              "SFO 3K:321507 6K:261007 9K:251502 12K:2620-03 18K:2838-14 24K:2953-26 30K:296042 34K:297751 "
              "39K:308263");

    // BIH (page 1, line 3): blank 3K, a 6K field without temperature.
    ASSERT_EQ(winds.rowId[3], "BIH");
    EXPECT_EQ(levelOf(winds, 3, FdLevel::K3), (FdLevelValues{99, 0, 7}));
    EXPECT_EQ(levelOf(winds, 3, FdLevel::K6), (FdLevelValues{99, 0, 7}));
    EXPECT_EQ(levelOf(winds, 3, FdLevel::K9), (FdLevelValues{20, 9, 3}));

    // ALS (page 2, line 2): 3K, 6K and 9K blank.
    ASSERT_EQ(winds.rowId[30], "ALS");
    EXPECT_EQ(levelOf(winds, 30, FdLevel::K9), (FdLevelValues{99, 0, 7}));
    EXPECT_EQ(levelOf(winds, 30, FdLevel::K12), (FdLevelValues{29, 20, -3}));
    EXPECT_EQ(levelOf(winds, 30, FdLevel::K39), (FdLevelValues{27, 72, 62}));

    // 5AG, the last line of the last page.
    ASSERT_EQ(winds.rowId[212], "5AG");
    EXPECT_EQ(levelOf(winds, 212, FdLevel::K3), (FdLevelValues{8, 7, 7}));
    EXPECT_EQ(levelOf(winds, 212, FdLevel::K24), (FdLevelValues{2, 12, -31}));
    EXPECT_EQ(levelOf(winds, 212, FdLevel::K39), (FdLevelValues{27, 17, 53}));
}

TEST(RealRegionPages, AmaWithBlank3KAndTemperaturelessSixK) {
    const FdWinds winds = testing_pages::decodePages(regionPages(), "-2");
    std::size_t row = 1;
    while (row <= 212 && winds.rowId[row] != "AMA") ++row;
    ASSERT_LE(row, 212u);
    EXPECT_EQ(levelOf(winds, static_cast<int>(row), FdLevel::K3), (FdLevelValues{99, 0, -2}));
    EXPECT_EQ(levelOf(winds, static_cast<int>(row), FdLevel::K6), (FdLevelValues{1, 16, -2}));
    EXPECT_EQ(levelOf(winds, static_cast<int>(row), FdLevel::K9), (FdLevelValues{33, 21, 2}));
}

TEST(RealRegionPages, CrLfPagesDecodeLikeTheOriginals) {
    std::vector<std::string> crLfPages;
    for (const std::string& page : regionPages()) crLfPages.push_back(testing_pages::withCrLf(page));
    EXPECT_EQ(testing_pages::decodePages(crLfPages, "7"), testing_pages::decodePages(regionPages(), "7"));
}

// A bare bulletin text served inside a preformatted block.
std::string wrapped(std::string_view bulletin) { return "<PRE>" + std::string(bulletin) + "</PRE>"; }

TEST(RealBulletinSamples, AlaskaBulletinInAPageDecodes) {
    const std::string bulletin = readFile(kDataFolder / "FD1AK1-031352.txt");
    const FdWinds winds = testing_pages::decodePages({wrapped(bulletin)}, "-4");
    const auto ids = stationIds(wrapped(bulletin) + "\n");
    ASSERT_EQ(static_cast<std::size_t>(winds.rowCount), ids.size());
    ASSERT_EQ(winds.rowId[1], "ADK");
    EXPECT_EQ(levelOf(winds, 1, FdLevel::K3), (FdLevelValues{25, 18, -4}));
    EXPECT_EQ(levelOf(winds, 1, FdLevel::K6), (FdLevelValues{26, 21, 1}));
    for (std::size_t row = 1; row <= ids.size(); ++row) EXPECT_EQ(winds.rowId[row], ids[row - 1]) << "row " << row;
}

TEST(RealBulletinSamples, WholeNationalBulletinDoesNotFitTheWindow) {
    const std::string bulletin = readFile(kDataFolder / "FD1US1-080201.txt");
    EXPECT_THROW(static_cast<void>(FD_CutBulletin(wrapped(bulletin))), FdFormatError);
}

TEST(RealBulletinSamples, FirstLinesOfTheNationalBulletinDecode) {
    const std::string bulletin = readFile(kDataFolder / "FD1US1-080201.txt");
    // The bulletin up to the end of its 30th station line, closed as a page.
    std::size_t end = bulletin.find('\n', bulletin.find("39000"));
    for (int line = 0; line < 30; ++line) end = bulletin.find('\n', end + 1);
    const std::string page = wrapped(bulletin.substr(0, end + 1));

    const FdWinds winds = testing_pages::decodePages({page}, "3");
    ASSERT_EQ(winds.rowCount, 30);
    ASSERT_EQ(winds.rowId[17], "BFF");
    EXPECT_EQ(levelOf(winds, 17, FdLevel::K24), (FdLevelValues{99, 0, -38}));
    EXPECT_EQ(levelOf(winds, 17, FdLevel::K6), (FdLevelValues{28, 35, 3}));
    ASSERT_EQ(winds.rowId[20], "BIH");
    EXPECT_EQ(levelOf(winds, 20, FdLevel::K9), (FdLevelValues{99, 0, -2}));
    EXPECT_EQ(levelOf(winds, 20, FdLevel::K12), (FdLevelValues{32, 8, -6}));
}

struct CorpusCase {
    std::string file;
    bool wrappedPageCuts;  // the bulletin inside "<PRE>...</PRE>" ends within the window
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const CorpusCase& c, std::ostream* out) { *out << c.file; }

class CorpusBulletin : public testing::TestWithParam<CorpusCase> {};

// A page is refused with FdFormatError or decodes into rows whose summaries can be shown.
void expectRefusedOrDecoded(const std::string& page, bool expectCut) {
    std::string cut;
    try {
        cut = FD_CutBulletin(page);
    } catch (const FdFormatError&) {
        EXPECT_FALSE(expectCut) << "refused";
        return;
    }
    EXPECT_TRUE(expectCut) << "cut";
    FdWinds winds;
    FD_DecodeRows(FD_SplitTokens(FD_JoinCuts({cut, cut})), "-7", winds);
    EXPECT_GT(winds.rowCount, 1);
    for (std::int16_t row = 1; row <= winds.rowCount; ++row) EXPECT_FALSE(FD_DisplayText(winds, row).empty());
}

TEST_P(CorpusBulletin, RawTextHasNoPreEndAndIsRefused) {
    expectRefusedOrDecoded(readFile(kDataFolder / "corpus" / GetParam().file), false);
}

TEST_P(CorpusBulletin, WrappedTextIsRefusedOrDecoded) {
    expectRefusedOrDecoded(wrapped(readFile(kDataFolder / "corpus" / GetParam().file)), GetParam().wrappedPageCuts);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CorpusBulletin,
    testing::Values(CorpusCase{"awc-windsaloft-page-FD1US1-192004.html", false},
                    CorpusCase{"faa-portal-FBAK31-031352.txt", true}, CorpusCase{"faa-portal-FBAK31-061352.txt", true},
                    CorpusCase{"faa-portal-FBHW31-031352.txt", true}, CorpusCase{"faa-portal-FBOC31-031537.txt", true},
                    CorpusCase{"lilymara-aloft-FD1US1-192004.txt", false},
                    CorpusCase{"otgapps-aloft-FD1US1-171357.txt", false}, CorpusCase{"pyiem-FD0HW9.txt", true},
                    CorpusCase{"pyiem-FD1US1.txt", false}, CorpusCase{"pyiem-FD1US1_controlchar.txt", false},
                    CorpusCase{"pyiem-FD3CN3.txt", false}),
    [](const testing::TestParamInfo<CorpusCase>& param) {
        std::string name;
        for (const char c : param.param.file) {
            if (std::isalnum(static_cast<unsigned char>(c))) name += c;
        }
        return name;
    });

// Every file of the corpus is listed above.
TEST(CorpusBulletinList, CoversEveryFile) {
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kDataFolder / "corpus")) {
        if (entry.is_regular_file()) ++files;
    }
    EXPECT_EQ(files, 11u);
}

}  // namespace
}  // namespace stratocue::fdwinds
