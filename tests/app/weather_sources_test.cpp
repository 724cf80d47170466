// Each weather source against a loopback server, through the libcurl transfer: what the
// program makes of a report, "no report", an error status and the winds-aloft texts, and
// the User-Agent every request carries.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/weather_fetch.h"
#include "fd_test_pages.h"
#include "fd_windtemp_texts.h"
#include "fdwinds/classic_fd_pages.h"
#include "fdwinds/data_api_windtemp.h"
#include "fdwinds/fd_sources.h"
#include "fdwinds/gfs_winds.h"
#include "gfs_answers.h"
#include "loopback_weather.h"
#include "metar/classic_metar_pages.h"
#include "metar/data_api_metar_service.h"
#include "metar/metar_services.h"
#include "metar/vatsim_metar_service.h"
#include "web/http_transfer.h"

namespace stratocue::app {
namespace {

using testing::LoopbackWeather;

constexpr const char* kReport = "KSFO 071756Z 28012KT 10SM FEW010 SCT250 17/09 A3002 RMK AO2";
const std::string kOtherReport = "KOAK 071753Z 30008KT 8SM BKN030 14/11 A2996";

enum class Outcome { Report, NotFound, Failure };

struct MetarCase {
    const char* name;
    LoopbackWeather::Answer answer;
    Outcome outcome;
};

const std::vector<MetarCase>& serviceCases() {
    const std::string report(kReport);
    static const std::vector<MetarCase> cases{
        {"Report", {200, report + "\n"}, Outcome::Report},
        {"MetarPrefix", {200, "METAR " + report + "\n"}, Outcome::Report},
        {"SpeciPrefix", {200, "SPECI " + report + "\n"}, Outcome::Report},
        {"SeveralLines", {200, kOtherReport + "\n" + report + "\n" + kOtherReport + "\n"}, Outcome::Report},
        {"CrLfLineEnds", {200, kOtherReport + "\r\nMETAR " + report + "\r\n"}, Outcome::Report},
        {"EmptyBody", {200, ""}, Outcome::NotFound},
        {"NoContent", {204, ""}, Outcome::NotFound},
        {"BodyThatIsNoReport", {200, "<html><body>Service notice</body></html>\n"}, Outcome::NotFound},
        {"OnlyAnotherStation", {200, kOtherReport + "\n"}, Outcome::NotFound},
        {"NotFoundStatus", {404, "Not Found"}, Outcome::Failure},
        {"ServerError", {500, report + "\n"}, Outcome::Failure},
    };
    return cases;
}

class WeatherSources : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.running()); }

    // The path and query of a source's address on the loopback server.
    [[nodiscard]] std::string targetOf(const std::string& url) const { return url.substr(server.base().size()); }

    void expectMetarOutcomes(const metar::MetarReportSource& source, const std::vector<MetarCase>& cases) {
        for (const MetarCase& c : cases) {
            SCOPED_TRACE(c.name);
            server.answer(targetOf(source.requestUrl("KSFO")), c.answer);
            switch (c.outcome) {
                case Outcome::Report:
                    EXPECT_EQ(fetchMetarReport(*transfer, source, "KSFO"), std::optional<std::string>(kReport));
                    break;
                case Outcome::NotFound:
                    EXPECT_EQ(fetchMetarReport(*transfer, source, "KSFO"), std::nullopt);
                    break;
                case Outcome::Failure:
                    EXPECT_ANY_THROW(static_cast<void>(fetchMetarReport(*transfer, source, "KSFO")));
                    break;
            }
        }
    }

    LoopbackWeather server;
    std::unique_ptr<web::HttpTransfer> transfer = web::makeCurlTransfer();
};

TEST_F(WeatherSources, VatsimServiceAnswers) {
    const metar::VatsimMetarService source(server.base());
    expectMetarOutcomes(source, serviceCases());
    EXPECT_EQ(server.targets().front(), "/KSFO");
}

TEST_F(WeatherSources, DataApiMetarAnswers) {
    const metar::DataApiMetarService source(server.base());
    expectMetarOutcomes(source, serviceCases());
    EXPECT_EQ(server.targets().front(), "/api/data/metar?ids=KSFO&format=raw&hours=3");
}

// The classic layouts keep their rules: an error status or an empty page is a failure,
// a page without the report is "not found".
TEST_F(WeatherSources, ClassicPagesAnswers) {
    const std::string vatsimPage = "<html><head><title>METAR</title></head><body>\r\n<table><tr><td>" +
                                   std::string(kReport) + "\r\n</td></tr></table></body></html>\r\n";
    const std::string servicePage = "<HTML><BODY><B>The observation is:</B>\r\n<BR><BR>\r\n<PRE><TT>\r\n" +
                                    std::string(kReport) + "\r\n</TT></PRE></BODY></HTML>\r\n";
    const metar::ClassicMetarPages vatsim(server.base(), metar::MetarSource::Vatsim);
    const metar::ClassicMetarPages weatherService(server.base(), metar::MetarSource::WeatherService);
    for (const auto& [source, page] : {std::pair{&vatsim, vatsimPage}, std::pair{&weatherService, servicePage}}) {
        expectMetarOutcomes(*source, {
                                         {"Page", {200, page}, Outcome::Report},
                                         {"PageWithoutReport", {200, "<html>No METAR</html>"}, Outcome::NotFound},
                                         {"EmptyPage", {200, ""}, Outcome::Failure},
                                         {"NoContent", {204, ""}, Outcome::Failure},
                                         {"NotFoundStatus", {404, page}, Outcome::Failure},
                                         {"ServerError", {500, page}, Outcome::Failure},
                                     });
    }
}

const std::vector<std::string> kRegionPageFiles{"sfo_fd1.shtml",     "slc_fd1.shtml",    "chicago_fd1.shtml",
                                                "ftworth_fd1.shtml", "boston_fd1.shtml", "miami_fd1.shtml",
                                                "alaska_fd1.shtml"};

std::vector<std::string> regionPages() {
    std::vector<std::string> pages;
    for (const std::string& file : kRegionPageFiles) {
        pages.push_back(fdwinds::testing_pages::readFile(std::filesystem::path(FDWINDS_PAGES_DIR) / file));
    }
    return pages;
}

// The seven regional pages of one issue on the loopback server, as the classic pages and
// as the data API's texts (CR LF line ends for the latter, as a proxy might send them).
class FdSources : public WeatherSources {
protected:
    void SetUp() override {
        WeatherSources::SetUp();
        const std::vector<std::string> pages = regionPages();
        const fdwinds::FdBulletinUrls classicUrls = classic.bulletinUrls();
        const fdwinds::FdBulletinUrls apiUrls = dataApi.bulletinUrls();
        for (std::size_t i = 0; i < pages.size(); ++i) {
            server.answer(targetOf(classicUrls[i]), {200, pages[i]});
            server.answer(
                targetOf(apiUrls[i]),
                {200, fdwinds::testing_pages::withCrLf(fdwinds::testing_pages::windTempTextOfPage(pages[i]))});
        }
    }

    fdwinds::ClassicFdPages classic{server.base()};
    fdwinds::DataApiWindTemp dataApi{server.base()};
};

TEST_F(FdSources, DataApiGivesTheClassicTablesOfAllSevenRegionsInOrder) {
    const std::vector<std::string> classicTables = fetchFdStationTables(*transfer, classic);
    server.forgetRequests();
    const std::vector<std::string> apiTables = fetchFdStationTables(*transfer, dataApi);

    ASSERT_EQ(apiTables.size(), 7u);
    EXPECT_EQ(apiTables, classicTables);
    // Missing levels (blank 3K and 6K columns) read as on the pages.
    EXPECT_NE(apiTables.front().find("BAM 9900 9900 2537+03"), std::string::npos);
    EXPECT_EQ(server.targets(), (std::vector<std::string>{
                                    "/api/data/windtemp?region=sfo&level=low&fcst=06",
                                    "/api/data/windtemp?region=slc&level=low&fcst=06",
                                    "/api/data/windtemp?region=chi&level=low&fcst=06",
                                    "/api/data/windtemp?region=dfw&level=low&fcst=06",
                                    "/api/data/windtemp?region=bos&level=low&fcst=06",
                                    "/api/data/windtemp?region=mia&level=low&fcst=06",
                                    "/api/data/windtemp?region=alaska&level=low&fcst=06",
                                }));
}

struct FdFailureCase {
    const char* name;
    LoopbackWeather::Answer answer;
};

// Any region without its bulletin fails the run, and nothing after it is asked for.
TEST_F(FdSources, DataApiRegionWithoutBulletinFailsTheRun) {
    const std::vector<FdFailureCase> cases{
        {"EmptyBody", {200, ""}},
        {"NoContent", {204, ""}},
        {"NotFoundStatus", {404, "Not Found"}},
        {"ServerError", {500, "Internal Server Error"}},
        {"TextThatIsNoBulletin", {200, "No data available\n"}},
    };
    const std::string sixthTarget = targetOf(dataApi.bulletinUrls()[5]);
    for (const FdFailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        server.answer(sixthTarget, c.answer);
        server.forgetRequests();
        EXPECT_ANY_THROW(static_cast<void>(fetchFdStationTables(*transfer, dataApi)));
        EXPECT_EQ(server.targets().size(), 6u);
    }
}

// The forecast model's answer through the transfer: the row of the hour, or a failure.
TEST_F(WeatherSources, GfsModelAnswers) {
    const std::string hour = "2026-12-08T12:00";
    const std::string answer = fdwinds::testing_gfs::gfsAnswer({hour}, {fdwinds::testing_gfs::distinctLevels()}).dump();
    const std::string url = fdwinds::gfsRequestUrl(server.base(), 52.3, 4.77);
    const std::vector<MetarCase> cases{
        {"Answer", {200, answer}, Outcome::Report},
        {"CrLfAfterTheAnswer", {200, answer + "\r\n"}, Outcome::Report},
        {"ErrorAnswer",
         {400, R"({"error":true,"reason":"Cannot initialize WeatherVariable from invalid String value"})"},
         Outcome::Failure},
        {"ServerError", {500, answer}, Outcome::Failure},
        {"NotFoundStatus", {404, "Not Found"}, Outcome::Failure},
        {"EmptyBody", {200, ""}, Outcome::Failure},
    };
    for (const MetarCase& c : cases) {
        SCOPED_TRACE(c.name);
        server.answer(targetOf(url), c.answer);
        if (c.outcome == Outcome::Report) {
            const fdwinds::FdWinds winds = fetchGfsWinds(*transfer, url, hour);
            EXPECT_EQ(winds.rowId[1], "GFS");
            EXPECT_EQ(winds.levels[1][0], (fdwinds::FdLevelValues{10, 10, 5}));
        } else {
            EXPECT_ANY_THROW(static_cast<void>(fetchGfsWinds(*transfer, url, hour)));
        }
    }
    EXPECT_TRUE(
        server.targets().front().starts_with("/v1/gfs?latitude=52.30&longitude=4.77&hourly=wind_speed_900hPa,"));
}

// Every request names the program and its version.
TEST_F(WeatherSources, EveryRequestCarriesTheUserAgent) {
    server.answer("/KSFO", {200, std::string(kReport) + "\n"});
    server.answer("/api/data/metar?ids=KSFO&format=raw&hours=3", {204, ""});
    static_cast<void>(fetchMetarReport(*transfer, metar::VatsimMetarService(server.base()), "KSFO"));
    static_cast<void>(fetchMetarReport(*transfer, metar::DataApiMetarService(server.base()), "KSFO"));
    EXPECT_ANY_THROW(static_cast<void>(fetchFdStationTables(*transfer, fdwinds::DataApiWindTemp(server.base()))));
    static_cast<void>(transfer->OpenUrl(server.base() + "/KSFO"));

    const std::vector<std::string> agents = server.userAgents();
    ASSERT_EQ(agents.size(), 4u);
    for (const std::string& agent : agents) {
        EXPECT_EQ(agent, web::kUserAgent);
        EXPECT_TRUE(agent.starts_with("Stratocue/1.5 (")) << agent;
    }
}

}  // namespace
}  // namespace stratocue::app
