// The stand-in answers as today's services do, from the same data as its classic pages:
// the VATSIM service path, the data API's METARs and its regional winds-aloft texts.

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fdwinds/fd_decoder.h"
#include "fdwinds/fd_sources.h"
#include "fdwinds/gfs_winds.h"
#include "metar/metar_services.h"
#include "standins/wx/wx_gfs.h"
#include "standins/wx/wx_pages.h"
#include "standins/wx/wx_routes.h"
#include "standins/wx/wx_service_texts.h"
#include "standins/wx/wx_weather_data.h"
#include "web/web_answer.h"
#include "wx_test_files.h"

namespace stratocue::standins {
namespace {

using Query = std::multimap<std::string, std::string>;

constexpr std::string_view kSfoReport = "KSFO 180656Z 11013KT 6SM -RA BR FEW009 SCT016 OVC022 12/11 A3006";
constexpr std::string_view kOakReport = "KOAK 180653Z 12010KT 8SM BKN030 13/11 A3005";

WeatherData twoStations() {
    WeatherData data;
    data.metars = parseMetarLines(std::string(kSfoReport) + "\n" + std::string(kOakReport) + "\n");
    return data;
}

struct MetarCase {
    const char* name;
    std::string path;
    Query query;
    int status;
    std::string body;
    std::optional<std::string> reportForKsfo;  // what the program's source cuts for KSFO
};

TEST(ServiceMetars, AnsweredAsTodaysServicesDo) {
    const std::string sfo(kSfoReport);
    const std::string oak(kOakReport);
    const std::vector<MetarCase> cases{
        {"VatsimKnown", "/KSFO", {}, 200, sfo + "\n", sfo},
        {"VatsimLowerCase", "/ksfo", {}, 200, sfo + "\n", sfo},
        {"VatsimUnknownIsEmpty", "/KXYZ", {}, 200, "", std::nullopt},
        {"VatsimShortIdentifier", "/SFO", {}, 200, "", std::nullopt},
        {"DataApiKnown", "/api/data/metar", {{"ids", "KSFO"}, {"format", "raw"}}, 200, "METAR " + sfo + "\n", sfo},
        {"DataApiWithoutFormat", "/api/data/metar", {{"ids", "KSFO"}}, 200, "METAR " + sfo + "\n", sfo},
        {"DataApiTwoStations",
         "/api/data/metar",
         {{"ids", "KOAK,KSFO"}, {"format", "raw"}},
         200,
         "METAR " + oak + "\nMETAR " + sfo + "\n",
         sfo},
        {"DataApiUnknownIsNoContent", "/api/data/metar", {{"ids", "KXYZ"}, {"format", "raw"}}, 204, "", std::nullopt},
    };
    for (const MetarCase& c : cases) {
        SCOPED_TRACE(c.name);
        const WxReply reply = answerRequest(twoStations(), c.path, c.query);
        EXPECT_EQ(reply.status, c.status);
        EXPECT_EQ(reply.body, c.body);
        EXPECT_EQ(reply.contentType, kPlainTextContent);
        EXPECT_EQ(metar::reportFromServiceAnswer({reply.status, reply.body}, "KSFO"), c.reportForKsfo);
    }
}

TEST(ServiceMetars, SeveralReportsOfAStationAndStationsWithout) {
    const std::string older = "KSFO 180556Z 10010KT 8SM OVC025 12/10 A3005";
    WeatherData data = twoStations();
    data.metars = parseMetarLines(older + "\n" + std::string(kSfoReport) + "\n" + std::string(kOakReport) + "\n");
    const Query query{{"ids", "KHAF,KSFO,KOAK"}, {"format", "raw"}, {"hours", "3"}};

    const WxReply dataApi = answerRequest(data, kDataApiMetarPath, query);
    EXPECT_EQ(dataApi.body,
              "METAR " + older + "\nMETAR " + std::string(kSfoReport) + "\nMETAR " + std::string(kOakReport) + "\n");
    // The one-station services give the current report; a station without one has none.
    EXPECT_EQ(answerRequest(data, "/KSFO", {}).body, std::string(kSfoReport) + "\n");
    EXPECT_EQ(answerRequest(data, "/KHAF", {}).body, "");
    EXPECT_EQ(metar::reportFromServiceAnswer({dataApi.status, dataApi.body}, "KSFO"), std::string(kSfoReport));
}

TEST(ServiceFaults, OnlyTheNamedServiceFails) {
    WxFaults faults;
    faults.serviceStatus = {{"awc_api", 500}};
    const std::vector<std::pair<std::string, int>> cases{
        {"/api/data/metar", 500}, {"/api/data/windtemp", 500}, {"/KSFO", 200}, {"/search_metar.html", 200}};
    for (const auto& [path, status] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(withServiceFault({200, "x", kPlainTextContent}, path, faults).status, status);
    }
}

struct RefusedCase {
    const char* name;
    std::string path;
    Query query;
    int status;
};

TEST(ServiceRequests, QueriesTheDataApiWouldRefuseAndUnknownPaths) {
    const std::vector<RefusedCase> cases{
        {"MetarWithoutIds", "/api/data/metar", {{"format", "raw"}}, 400},
        {"MetarInAnotherFormat", "/api/data/metar", {{"ids", "KSFO"}, {"format", "json"}}, 400},
        {"WindTempUnknownRegion", "/api/data/windtemp", {{"region", "hawaii"}, {"level", "low"}, {"fcst", "06"}}, 400},
        {"WindTempClassicRegionName",
         "/api/data/windtemp",
         {{"region", "chicago"}, {"level", "low"}, {"fcst", "06"}},
         400},
        {"WindTempHighLevels", "/api/data/windtemp", {{"region", "sfo"}, {"level", "high"}, {"fcst", "06"}}, 400},
        {"WindTempOtherForecast", "/api/data/windtemp", {{"region", "sfo"}, {"level", "low"}, {"fcst", "12"}}, 400},
        {"WindTempRegionWithoutBulletin",
         "/api/data/windtemp",
         {{"region", "sfo"}, {"level", "low"}, {"fcst", "06"}},
         204},
        {"VatsimPathWithADot", "/KSFO.txt", {}, 404},
        {"VatsimPathLongerThanAnIdentifier", "/nothing", {}, 404},
        {"VatsimPathInAFolder", "/metar/KSFO", {}, 404},
        {"OtherApiPath", "/api/data/taf", {{"ids", "KSFO"}}, 404},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(answerRequest(twoStations(), c.path, c.query).status, c.status);
    }
}

class DemoWindTemp : public ::testing::TestWithParam<FdRegion> {};

// Each region's winds-aloft text gives the program the station table its classic page gives.
TEST_P(DemoWindTemp, TextCutsAsThePageOfTheSameBulletin) {
    const WeatherData data = loadWeatherData(wxtest::kDemoWeatherDir);
    const Query query{{"region", std::string(fdApiRegionName(GetParam()))}, {"level", "low"}, {"fcst", "06"}};
    const WxReply text = answerRequest(data, kDataApiWindTempPath, query);
    const WxReply page = answerRequest(data, fdPagePath(GetParam()), {});
    ASSERT_EQ(text.status, 200);
    ASSERT_EQ(page.status, 200);
    EXPECT_EQ(text.contentType, kPlainTextContent);
    EXPECT_TRUE(text.body.starts_with("(Extracted from FB")) << text.body.substr(0, 60);
    EXPECT_EQ(fdwinds::FD_CutWindTempText(text.body), fdwinds::FD_CutBulletin(page.body));
}

INSTANTIATE_TEST_SUITE_P(Regions, DemoWindTemp, ::testing::ValuesIn(kAllFdRegions), wxtest::NameOfRegion{});

TEST(DataApiRegionNames, InThePagesOrder) {
    std::vector<std::string> names;
    for (const FdRegion region : kAllFdRegions) names.emplace_back(fdApiRegionName(region));
    EXPECT_EQ(names, (std::vector<std::string>(fdwinds::FdWindTempRegions.begin(), fdwinds::FdWindTempRegions.end())));
    for (const FdRegion region : kAllFdRegions) EXPECT_EQ(fdRegionFromApiName(fdApiRegionName(region)), region);
    EXPECT_EQ(fdRegionFromApiName("SFO"), std::nullopt);
}

struct WindTempTextCase {
    const char* name;
    std::string bulletin;
    std::string text;
};

TEST(WindTempText, HeadingLineReplacedLinesAfterItKept) {
    const std::vector<WindTempTextCase> cases{
        {"WithTransmissionLine", "000 \nFBUS31 KWNO 080201\nFD1US1\nFT  3000\n",
         "(Extracted from FBUS31 KWNO 080201)\nFD1US1\nFT  3000\n"},
        {"CrLfAndTrailingBlankLines", "FBAK31 KWNO 031352\r\nFD1AK1\r\nADK 2518\r\n\r\n",
         "(Extracted from FBAK31 KWNO 031352)\nFD1AK1\nADK 2518\n"},
        {"NoProductLine", "FT  3000\nABC 2710\n", "(Extracted from FD bulletin)\nFT  3000\nABC 2710\n"},
        {"ProductLineFirst", "FD1US1\nFT  3000\n", "(Extracted from FD bulletin)\nFD1US1\nFT  3000\n"},
    };
    for (const WindTempTextCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(windTempText(c.bulletin), c.text);
    }
}

// The query of a request address, as the server hands it on.
Query httpQueryOf(const std::string& url) {
    Query query;
    std::string_view rest = std::string_view(url).substr(url.find('?') + 1);
    while (!rest.empty()) {
        const std::string_view pair = rest.substr(0, rest.find('&'));
        query.emplace(std::string(pair.substr(0, pair.find('='))), std::string(pair.substr(pair.find('=') + 1)));
        rest.remove_prefix(std::min(rest.size(), pair.size() + 1));
    }
    return query;
}

// The demo's forecast model, as the program reads it at 14 UTC: the levels of gfs.txt
// with 14 knots and 140 degrees added. Every query the service refuses gets its error.
TEST(GfsService, AnswersAsTheModelServiceDoes) {
    WeatherData data;
    data.gfs = parseGfsTable(wxtest::requiredFile(wxtest::kDemoWeatherDir / kGfsFileName));
    const auto now = std::chrono::sys_days{std::chrono::year{2026} / 12 / 8} + std::chrono::minutes{14 * 60 + 25};
    const std::string url = fdwinds::gfsRequestUrl("", 52.3, 4.77);
    Query query = httpQueryOf(url);

    const WxReply reply = answerRequest(data, kGfsPath, query, now);
    ASSERT_EQ(reply.status, 200);
    EXPECT_EQ(reply.contentType, kJsonContent);
    const fdwinds::FdWinds winds =
        fdwinds::GFS_WindsRow(fdwinds::GFS_ReadAnswer({reply.status, reply.body}, "2026-12-08T14:00"));
    EXPECT_EQ(winds.levels[1][0], (fdwinds::FdLevelValues{2, 32, 2}));   // 900 hPa: 32 kt from 020
    EXPECT_EQ(winds.levels[1][6], (fdwinds::FdLevelValues{5, 86, 50}));  // 300 hPa: 86 kt from 050, -50
    EXPECT_EQ(winds.levels[1][7], (fdwinds::FdLevelValues{6, 92, 54}));  // 250 hPa: 055 rounds to even

    const std::vector<std::pair<const char*, std::pair<std::string, std::string>>> refused{
        {"LatitudeOutOfRange", {"latitude", "91"}},
        {"LatitudeNotANumber", {"latitude", "52,3"}},
        {"UnknownVariable", {"hourly", "wind_speed_850hPa"}},
        {"NoForecastHours", {"forecast_hours", "0"}},
    };
    for (const auto& [name, change] : refused) {
        SCOPED_TRACE(name);
        Query bad = query;
        bad.erase(change.first);
        bad.emplace(change.first, change.second);
        const WxReply error = answerRequest(data, kGfsPath, bad, now);
        EXPECT_EQ(error.status, 400);
        EXPECT_TRUE(error.body.starts_with(R"({"error":true,"reason":")")) << error.body;
    }
    query.erase("wind_speed_unit");  // km/h by default, which the program refuses
    EXPECT_THROW(static_cast<void>(fdwinds::GFS_ReadAnswer({200, answerRequest(data, kGfsPath, query, now).body},
                                                           "2026-12-08T14:00")),
                 fdwinds::GfsAnswerError);
    EXPECT_EQ(answerRequest(WeatherData{}, kGfsPath, query, now).status, 404);
}

}  // namespace
}  // namespace stratocue::standins
