#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "fdwinds/fd_decoder.h"
#include "standins/wx/wx_pages.h"
#include "standins/wx/wx_text_lines.h"
#include "standins/wx/wx_weather_data.h"
#include "wx_test_files.h"

namespace stratocue::standins {
namespace {

std::string demoBulletin(FdRegion region) {
    return wxtest::requiredFile(wxtest::kDemoWeatherDir / kFdFolderName / fdBulletinFileName(region));
}

class DemoFdPage : public ::testing::TestWithParam<FdRegion> {};

TEST_P(DemoFdPage, PageLayoutEndsTableRightBeforePre) {
    const std::string page = fdBulletinPage(demoBulletin(GetParam()));
    const auto header = page.find("39000\n");
    ASSERT_NE(header, std::string::npos);
    const auto tableEnd = page.find("</PRE>");
    ASSERT_NE(tableEnd, std::string::npos);
    EXPECT_EQ(page[tableEnd - 1], '\n');
    EXPECT_NE(page[tableEnd - 2], '\n');
    EXPECT_LE(tableEnd - header, 5000U);
}

// Each page cuts into ten tokens per station line, the identifier first.
TEST_P(DemoFdPage, CutsIntoTenTokensPerStationLine) {
    const std::string bulletin = demoBulletin(GetParam());
    const std::vector<std::string> ids = wxtest::bulletinStationIds(bulletin);
    ASSERT_FALSE(ids.empty());

    const std::vector<std::string> tokens = fdwinds::FD_SplitTokens(fdwinds::FD_CutBulletin(fdBulletinPage(bulletin)));
    ASSERT_EQ(tokens.size() - 1, 10 * ids.size());
    for (std::size_t row = 0; row < ids.size(); ++row) EXPECT_EQ(tokens[1 + 10 * row], ids[row]) << row;
}

INSTANTIATE_TEST_SUITE_P(Regions, DemoFdPage, ::testing::ValuesIn(kAllFdRegions), wxtest::NameOfRegion{});

// The seven pages as the program joins and decodes them: one row per station line of the
// national and Alaska samples, in page order.
TEST(DemoFdPages, DecodeIntoOneRowPerSampleStationLine) {
    std::vector<std::string> cuts;
    std::vector<std::string> pageOrderIds;
    for (const FdRegion region : kAllFdRegions) {
        const std::string bulletin = demoBulletin(region);
        cuts.push_back(fdwinds::FD_CutBulletin(fdBulletinPage(bulletin)));
        for (std::string& id : wxtest::bulletinStationIds(bulletin)) pageOrderIds.push_back(std::move(id));
    }
    fdwinds::FdWinds winds;
    fdwinds::FD_DecodeRows(fdwinds::FD_SplitTokens(fdwinds::FD_JoinCuts(cuts)), "15", winds);

    ASSERT_EQ(static_cast<std::size_t>(winds.rowCount), pageOrderIds.size());
    std::vector<std::string> rowIds(winds.rowId.begin() + 1, winds.rowId.begin() + 1 + winds.rowCount);
    EXPECT_EQ(rowIds, pageOrderIds);

    std::vector<std::string> sampleIds = wxtest::bulletinStationIds(wxtest::requiredFile(wxtest::kNationalSampleFile));
    for (std::string& id : wxtest::bulletinStationIds(wxtest::requiredFile(wxtest::kAlaskaSampleFile)))
        sampleIds.push_back(std::move(id));
    std::sort(rowIds.begin(), rowIds.end());
    std::sort(sampleIds.begin(), sampleIds.end());
    EXPECT_EQ(rowIds, sampleIds);
}

}  // namespace
}  // namespace stratocue::standins
