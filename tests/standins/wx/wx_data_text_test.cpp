#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "standins/wx/wx_data_error.h"
#include "standins/wx/wx_files.h"
#include "standins/wx/wx_metar_table.h"
#include "standins/wx/wx_pages.h"
#include "standins/wx/wx_routes.h"
#include "standins/wx/wx_text_lines.h"
#include "standins/wx/wx_weather_data.h"
#include "tests/support/temp_folder.h"

#include "wx_test_files.h"

namespace stratocue::standins {
namespace {

struct LinesCase {
    const char* name;
    std::string_view text;
    std::vector<std::string_view> expected;
};

const LinesCase kLinesCases[] = {
    {"Empty", "", {}},
    {"LineFeedEnds", "a\nb\n", {"a", "b"}},
    {"CrLfEnds", "a\r\nb\r\n", {"a", "b"}},
    {"LastLineWithoutBreak", "a\nb", {"a", "b"}},
    {"BlankLinesKept", "a\n\nb\n", {"a", "", "b"}},
    {"LoneCrInsideLineKept", "a\rb\n", {"a\rb"}},
};

class TextLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(TextLines, SplitsAtLineEnds) { EXPECT_EQ(textLines(GetParam().text), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Texts, TextLines, ::testing::ValuesIn(kLinesCases), wxtest::NameOfRow{});

struct NormaliseCase {
    const char* name;
    std::string_view text;
    std::string_view expected;
};

const NormaliseCase kNormaliseCases[] = {
    {"CrLfBecomesLf", "A\r\nB\r\n", "A\nB\n"},
    {"MissingLastBreakAdded", "A\nB", "A\nB\n"},
    {"TrailingBlankLinesDropped", "A\nB\n\n\r\n", "A\nB\n"},
    {"TrailingBlanksOfALineKept", "A\nB   \n", "A\nB   \n"},
    {"LeadingBlankLineKept", "\nA\n", "\nA\n"},
};

class NormalisedBulletin : public ::testing::TestWithParam<NormaliseCase> {};

TEST_P(NormalisedBulletin, EndsLinesWithOneLineFeed) {
    EXPECT_EQ(normalisedBulletinText(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, NormalisedBulletin, ::testing::ValuesIn(kNormaliseCases), wxtest::NameOfRow{});

struct MetarLinesCase {
    const char* name;
    std::string_view text;
    std::string_view askedId;
    std::optional<std::string> expected;
};

const MetarLinesCase kMetarLinesCases[] = {
    {"LineFeedEnds", "KSFO 071756Z 27010KT\nKOAK 071753Z 28008KT\n", "KOAK", "KOAK 071753Z 28008KT"},
    {"CrLfEnds", "KSFO 071756Z 27010KT\r\nKOAK 071753Z 28008KT\r\n", "KSFO", "KSFO 071756Z 27010KT"},
    {"LowerCaseAsked", "KSFO 071756Z 27010KT\n", "ksfo", "KSFO 071756Z 27010KT"},
    {"LowerCaseStored", "ksfo 071756Z 27010KT\n", "KSFO", "ksfo 071756Z 27010KT"},
    {"BlanksAroundDropped", "  KSFO 071756Z 27010KT  \n", "KSFO", "KSFO 071756Z 27010KT"},
    {"BlankLinesSkipped", "\n\r\n   \nKSFO 071756Z 27010KT", "KSFO", "KSFO 071756Z 27010KT"},
    {"LaterLineWins", "KSFO 071756Z 27010KT\nKSFO 071856Z 30012KT\n", "KSFO", "KSFO 071856Z 30012KT"},
    {"UnknownStation", "KSFO 071756Z 27010KT\n", "KXYZ", std::nullopt},
    {"EmptyIdentifier", "KSFO 071756Z 27010KT\n", "", std::nullopt},
    {"PrefixOfAStation", "KSFO 071756Z 27010KT\n", "KSF", std::nullopt},
};

class MetarLines : public ::testing::TestWithParam<MetarLinesCase> {};

TEST_P(MetarLines, FindReportByStation) {
    EXPECT_EQ(findReport(parseMetarLines(GetParam().text), GetParam().askedId), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Files, MetarLines, ::testing::ValuesIn(kMetarLinesCases), wxtest::NameOfRow{});

WeatherData routeData() {
    WeatherData data;
    data.metars = parseMetarLines("KSFO 071756Z 27010KT 10SM CLR 15/05 A2992\n");
    data.fdBulletins[fdRegionIndex(FdRegion::Sfo)] = "FT  3000 39000\nSFO 2710\n";
    return data;
}

struct RouteCase {
    const char* name;
    std::string path;
    std::multimap<std::string, std::string> query;
    int status;
    std::string body;
};

const WeatherData kRouteData = routeData();

const RouteCase kRouteCases[] = {
    {"VatsimKnownStation",
     "/search_metar.html",
     {{"cod", "KSFO"}},
     200,
     vatsimMetarPage("KSFO", "KSFO 071756Z 27010KT 10SM CLR 15/05 A2992")},
    {"VatsimUnknownStation", "/search_metar.html", {{"cod", "KXYZ"}}, 200, vatsimMetarPage("KXYZ", std::nullopt)},
    {"VatsimWithoutQuery", "/search_metar.html", {}, 200, vatsimMetarPage("", std::nullopt)},
    {"WeatherServiceLowerCase",
     "/cgi-bin/mgetmetar.pl",
     {{"cccc", "ksfo"}},
     200,
     weatherServiceMetarPage("ksfo", "KSFO 071756Z 27010KT 10SM CLR 15/05 A2992")},
    {"WeatherServiceWrongKey",
     "/cgi-bin/mgetmetar.pl",
     {{"cod", "KSFO"}},
     200,
     weatherServiceMetarPage("", std::nullopt)},
    {"FdPageWithBulletin", "/fdwinds/text/sfo_fd1.shtml", {}, 200, fdBulletinPage("FT  3000 39000\nSFO 2710\n")},
    {"FdPageWithoutBulletin", "/fdwinds/text/slc_fd1.shtml", {}, 404, missingPage("/fdwinds/text/slc_fd1.shtml")},
    {"UnknownFdRegion", "/fdwinds/text/hawaii_fd1.shtml", {}, 404, missingPage("/fdwinds/text/hawaii_fd1.shtml")},
    {"UnknownPage", "/index.html", {}, 404, missingPage("/index.html")},
};

class RequestRoute : public ::testing::TestWithParam<RouteCase> {};

TEST_P(RequestRoute, AnswersWithPageAndStatus) {
    const WxReply reply = answerRequest(kRouteData, GetParam().path, GetParam().query);
    EXPECT_EQ(reply.status, GetParam().status);
    EXPECT_EQ(reply.body, GetParam().body);
}

INSTANTIATE_TEST_SUITE_P(Paths, RequestRoute, ::testing::ValuesIn(kRouteCases), wxtest::NameOfRow{});

struct FaultReplyCase {
    const char* name;
    WxFaults faults;
    int status;
    bool padded;
};

const FaultReplyCase kFaultReplyCases[] = {
    {"NoFault", {}, 200, false},
    {"SlowAloneChangesNothing", wxtest::slowFault(), 200, false},
    {"Status", wxtest::statusFault(503), 503, false},
    {"Oversize", wxtest::oversizeFault(), 200, true},
    {"StatusAndOversize", wxtest::faults(false, 500, true), 500, true},
};

class FaultReply : public ::testing::TestWithParam<FaultReplyCase> {};

TEST_P(FaultReply, ChangesStatusAndSize) {
    const std::string page = vatsimMetarPage("KSFO", "KSFO 071756Z 27010KT");
    const WxReply reply = withFaults({200, page}, GetParam().faults);
    EXPECT_EQ(reply.status, GetParam().status);
    if (GetParam().padded) {
        EXPECT_GT(reply.body.size(), 32767U);
        EXPECT_TRUE(reply.body.ends_with("</body>\r\n</html>\r\n"));
        EXPECT_TRUE(reply.body.starts_with(page.substr(0, page.find("</body>"))));
    } else {
        EXPECT_EQ(reply.body, page);
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultReply, ::testing::ValuesIn(kFaultReplyCases), wxtest::NameOfRow{});

// A data folder of the test's own with its empty fd/ folder, removed afterwards.
class DataFolder : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(folder_ / "fd"); }

    test_support::TempFolder temp_;
    const std::filesystem::path& folder_ = temp_.path();
};

TEST_F(DataFolder, LoadsReportsAndTheBulletinsThatExist) {
    writeTextFile(folder_ / "metars.txt", "KSFO 071756Z 27010KT\r\n");
    writeTextFile(folder_ / "fd" / "boston_fd1.txt", "FT 39000\nBOS 2710\n");
    const WeatherData data = loadWeatherData(folder_);
    EXPECT_EQ(findReport(data.metars, "KSFO"), "KSFO 071756Z 27010KT");
    for (const FdRegion region : kAllFdRegions) {
        EXPECT_EQ(data.fdBulletins[fdRegionIndex(region)].has_value(), region == FdRegion::Boston)
            << fdRegionName(region);
    }
    EXPECT_EQ(data.fdBulletins[fdRegionIndex(FdRegion::Boston)], "FT 39000\nBOS 2710\n");
}

TEST_F(DataFolder, WithoutReportFileIsAFault) { EXPECT_THROW((void)loadWeatherData(folder_), WxDataError); }

}  // namespace
}  // namespace stratocue::standins
