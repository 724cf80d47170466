#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_lines.h"
#include "standins/wx/wx_weather_data.h"
#include "tests/standins/wx/wx_test_files.h"
#include "tools/fd_split/fd_split.h"

namespace stratocue::tools {
namespace {

namespace wxtest = standins::wxtest;

struct RegionCase {
    const char* name;
    FdStationPosition position;
    FdRegion expected;
};

const RegionCase kRegionCases[] = {
    {"WestCoast", {37.62, -122.37}, FdRegion::Sfo},
    {"MountainsFromTheirWestEdge", {40.0, -114.0}, FdRegion::Slc},
    {"Mountains", {40.78, -111.97}, FdRegion::Slc},
    {"NorthCentralFromItsWestEdge", {45.0, -102.0}, FdRegion::Chicago},
    {"NorthCentral", {41.98, -87.9}, FdRegion::Chicago},
    {"NorthCentralFrom37North", {37.0, -97.0}, FdRegion::Chicago},
    {"SouthCentral", {32.9, -97.04}, FdRegion::FtWorth},
    {"NorthEastFromItsWestEdge", {41.9, -87.0}, FdRegion::Boston},
    {"NorthEast", {42.36, -71.0}, FdRegion::Boston},
    {"SouthEast", {25.79, -80.29}, FdRegion::Miami},
};

class FdRegionOfPosition : public ::testing::TestWithParam<RegionCase> {};

TEST_P(FdRegionOfPosition, FallsInItsRegion) {
    EXPECT_EQ(fdRegionOfPosition(GetParam().position), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, FdRegionOfPosition, ::testing::ValuesIn(kRegionCases), wxtest::NameOfRow{});

TEST(FdRegionOfStation, UnlistedStationGoesToTheSouthEast) {
    const FdStationPositions positions = {{"SFO", {37.62, -122.37}}};
    EXPECT_EQ(fdRegionOfStation(positions, "SFO"), FdRegion::Sfo);
    EXPECT_EQ(fdRegionOfStation(positions, "2XG"), FdRegion::Miami);
}

struct PositionCase {
    const char* name;
    std::string_view text;
    std::string_view id;
    double latitudeDegrees;
    double longitudeDegrees;
};

const PositionCase kPositionCases[] = {
    {"NorthWestWithCrLf", "SFO,N,37,37,W,122,22\r\n", "SFO", 37.0 + 37.0 / 60.0, -(122.0 + 22.0 / 60.0)},
    {"SouthEastWithLf", "XYZ,S,10,30,E,20,15\n", "XYZ", -10.5, 20.25},
    {"LastLineWithoutBreak", "ABC,N,0,6,E,0,0", "ABC", 0.1, 0.0},
    {"AfterBlankLine", "\r\nABC,N,1,0,W,2,0\r\n", "ABC", 1.0, -2.0},
};

class FdStationListLine : public ::testing::TestWithParam<PositionCase> {};

TEST_P(FdStationListLine, GivesSignedDegrees) {
    const PositionCase& row = GetParam();
    const FdStationPositions positions = parseFdStationPositions(row.text);
    ASSERT_EQ(positions.size(), 1U);
    const auto found = positions.find(row.id);
    ASSERT_NE(found, positions.end());
    EXPECT_DOUBLE_EQ(found->second.latitudeDegrees, row.latitudeDegrees);
    EXPECT_DOUBLE_EQ(found->second.longitudeDegrees, row.longitudeDegrees);
}

INSTANTIATE_TEST_SUITE_P(Lines, FdStationListLine, ::testing::ValuesIn(kPositionCases), wxtest::NameOfRow{});

struct MalformedCase {
    const char* name;
    std::string_view line;
};

const MalformedCase kMalformedCases[] = {
    {"TooFewFields", "SFO,N,37,37,W,122"},
    {"TooManyFields", "SFO,N,37,37,W,122,22,4"},
    {"UnknownHemisphere", "SFO,X,37,37,W,122,22"},
    {"LongitudeLetterForLatitude", "SFO,W,37,37,W,122,22"},
    {"NotANumber", "SFO,N,3a,37,W,122,22"},
    {"EmptyMinutes", "SFO,N,37,,W,122,22"},
    {"EmptyId", ",N,37,37,W,122,22"},
};

class FdStationListFault : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(FdStationListFault, NamesTheLine) {
    const std::string text = "ABC,N,1,0,W,2,0\r\n" + std::string(GetParam().line) + "\r\n";
    try {
        (void)parseFdStationPositions(text);
        FAIL() << "no fault for " << GetParam().line;
    } catch (const FdSplitError& error) {
        EXPECT_NE(std::string(error.what()).find("line 2"), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, FdStationListFault, ::testing::ValuesIn(kMalformedCases), wxtest::NameOfRow{});

constexpr std::string_view kSmallHeader =
    "000\nFBUS31 KWNO 080201\nFD1US1\n"
    "FT  3000    6000    9000   12000   18000   24000  30000  34000  39000\n";

const FdStationPositions kOnePerRegion = {
    {"SFO", {37.62, -122.37}}, {"SLC", {40.78, -111.97}}, {"ORD", {41.98, -87.9}},
    {"DFW", {32.9, -97.04}},   {"BOS", {42.36, -71.0}},   {"MIA", {25.79, -80.29}},
};

std::string stationLine(std::string_view id) {
    return std::string(id) + " 2710 2812-05 2815-08 2820-12 2830-20 2840-31 285046 286055 287058\n";
}

TEST(SplitNationalBulletin, SendsEachStationToItsRegionUnderTheHeader) {
    std::string national(kSmallHeader);
    for (const std::string_view id : {"BOS", "DFW", "MIA", "ORD", "SFO", "SLC", "2XG"}) national += stationLine(id);

    const std::vector<RegionalBulletin> regions = splitNationalBulletin(national, kOnePerRegion);
    const std::vector<std::vector<std::string>> expected = {{"SFO"}, {"SLC"}, {"ORD"},
                                                            {"DFW"}, {"BOS"}, {"MIA", "2XG"}};
    ASSERT_EQ(regions.size(), expected.size());
    for (std::size_t i = 0; i < regions.size(); ++i) {
        EXPECT_EQ(regions[i].region, kLowerFdRegions[i]);
        EXPECT_TRUE(regions[i].text.starts_with(kSmallHeader)) << regions[i].text;
        EXPECT_EQ(wxtest::bulletinStationIds(regions[i].text), expected[i])
            << standins::fdRegionName(regions[i].region);
    }
}

struct SplitFaultCase {
    const char* name;
    std::string national;
    std::string_view messagePart;
};

std::string withoutHeaderEnd() {
    return "000\nFT  3000    6000    9000   12000   18000   24000  30000  34000\n" + stationLine("SFO");
}

std::string withEmptyRegion() { return std::string(kSmallHeader) + stationLine("SFO") + stationLine("SLC"); }

std::string withOverlongRegion() {
    std::string national(kSmallHeader);
    for (const std::string_view id : {"SFO", "SLC", "ORD", "DFW", "BOS", "MIA"}) national += stationLine(id);
    for (int i = 10; i < 90; ++i) national += stationLine(std::to_string(i) + "H");
    return national;
}

const SplitFaultCase kSplitFaultCases[] = {
    {"NoHeaderLineEndingIn39000", withoutHeaderEnd(), "39000"},
    {"RegionWithoutStations", withEmptyRegion(), "chicago"},
    {"RegionTooLongForThePageCut", withOverlongRegion(), "miami"},
};

class SplitNationalBulletinFault : public ::testing::TestWithParam<SplitFaultCase> {};

TEST_P(SplitNationalBulletinFault, SaysWhatIsWrong) {
    try {
        (void)splitNationalBulletin(GetParam().national, kOnePerRegion);
        FAIL() << "no fault";
    } catch (const FdSplitError& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().messagePart), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Bulletins, SplitNationalBulletinFault, ::testing::ValuesIn(kSplitFaultCases),
                         wxtest::NameOfRow{});

// The national sample: every station line lands in exactly one region, unchanged, and
// every region fits the page cut.
TEST(SplitNationalSample, KeepsEveryStationLineOnce) {
    const std::string national = wxtest::requiredFile(wxtest::kNationalSampleFile);
    const FdStationPositions positions = parseFdStationPositions(wxtest::requiredFile(wxtest::kFdStationListFile));
    const std::vector<RegionalBulletin> regions = splitNationalBulletin(national, positions);

    const std::string normalised = normalisedBulletinText(national);
    const std::string header = normalised.substr(0, normalised.find('\n', normalised.find("39000")) + 1);
    std::vector<std::string> splitLines;
    for (const RegionalBulletin& region : regions) {
        ASSERT_TRUE(region.text.starts_with(header)) << standins::fdRegionName(region.region);
        const std::string stations = region.text.substr(header.size());
        EXPECT_LE(stations.size(), kMaxStationLineChars) << standins::fdRegionName(region.region);
        for (const std::string_view line : textLines(stations)) splitLines.emplace_back(line);
    }

    const std::string nationalStations = normalised.substr(header.size());
    std::vector<std::string> nationalLines;
    for (const std::string_view line : textLines(nationalStations)) nationalLines.emplace_back(line);
    EXPECT_EQ(splitLines.size(), nationalLines.size());
    std::sort(splitLines.begin(), splitLines.end());
    std::sort(nationalLines.begin(), nationalLines.end());
    EXPECT_EQ(splitLines, nationalLines);
}

// The bulletin files in the repository are what the split makes of the samples beside them.
TEST(DemoFdPages, FilesMatchTheSplitOfTheSamples) {
    const FdStationPositions positions = parseFdStationPositions(wxtest::requiredFile(wxtest::kFdStationListFile));
    std::vector<RegionalBulletin> expected =
        splitNationalBulletin(wxtest::requiredFile(wxtest::kNationalSampleFile), positions);
    expected.push_back({FdRegion::Alaska, normalisedBulletinText(wxtest::requiredFile(wxtest::kAlaskaSampleFile))});
    for (const RegionalBulletin& bulletin : expected) {
        EXPECT_EQ(wxtest::requiredFile(wxtest::kDemoWeatherDir / standins::kFdFolderName /
                                       standins::fdBulletinFileName(bulletin.region)),
                  bulletin.text)
            << standins::fdRegionName(bulletin.region);
    }
}

}  // namespace
}  // namespace stratocue::tools
