#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>

#include "fdwinds/fd_decoder.h"
#include "metar/metar_page.h"
#include "standins/wx/wx_pages.h"
#include "standins/wx/wx_routes.h"
#include "standins/wx/wx_server.h"
#include "standins/wx/wx_stop_signal.h"
#include "standins/wx/wx_weather_data.h"
#include "wx_test_files.h"

namespace stratocue::standins {
namespace {

using metar::cutReportFromPage;
using metar::MetarSource;

constexpr std::string_view kSfoReport = "KSFO 180656Z 11013KT 6SM -RA BR FEW009 SCT016 OVC022 12/11 A3006";

WeatherData smallData() {
    WeatherData data;
    data.metars = parseMetarLines(std::string(kSfoReport) + "\n");
    return data;
}

// A stand-in server on a free port of 127.0.0.1 and a client for it.
class RunningServer {
public:
    explicit RunningServer(WeatherData data, WxFaults faults = {}, std::ostream* log = nullptr)
        : server_(std::move(data), faults, log), client_("127.0.0.1", server_.start(0)) {}

    httplib::Result get(const std::string& target) { return client_.Get(target); }
    httplib::Client& client() { return client_; }
    void stop() { server_.stop(); }

private:
    WxServer server_;
    httplib::Client client_;
};

struct MetarFetchCase {
    const char* name;
    std::string target;
    MetarSource source;
    std::string stationId;
    std::optional<std::string> report;
};

const MetarFetchCase kMetarFetchCases[] = {
    {"VatsimKnown", "/search_metar.html?cod=KSFO", MetarSource::Vatsim, "KSFO", std::string(kSfoReport)},
    {"VatsimLowerCaseQuery", "/search_metar.html?cod=ksfo", MetarSource::Vatsim, "ksfo", std::string(kSfoReport)},
    {"VatsimUnknown", "/search_metar.html?cod=KXYZ", MetarSource::Vatsim, "KXYZ", std::nullopt},
    {"WeatherServiceKnown", "/cgi-bin/mgetmetar.pl?cccc=KSFO", MetarSource::WeatherService, "KSFO",
     std::string(kSfoReport)},
    {"WeatherServiceLowerCase", "/cgi-bin/mgetmetar.pl?cccc=ksfo", MetarSource::WeatherService, "ksfo",
     std::string(kSfoReport)},
    {"WeatherServiceUnknown", "/cgi-bin/mgetmetar.pl?cccc=kxyz", MetarSource::WeatherService, "kxyz", std::nullopt},
};

class MetarOverHttp : public ::testing::TestWithParam<MetarFetchCase> {};

TEST_P(MetarOverHttp, PageCutsToTheStoredReport) {
    const MetarFetchCase& row = GetParam();
    RunningServer server(smallData());
    const httplib::Result result = server.get(row.target);
    ASSERT_TRUE(result) << httplib::to_string(result.error());
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(cutReportFromPage(result->body, row.source, row.stationId), row.report);
}

INSTANTIATE_TEST_SUITE_P(Pages, MetarOverHttp, ::testing::ValuesIn(kMetarFetchCases), wxtest::NameOfRow{});

struct MissingCase {
    const char* name;
    std::string target;
};

const MissingCase kMissingCases[] = {
    {"UnknownFdRegion", "/fdwinds/text/hawaii_fd1.shtml"},
    {"RegionWithoutBulletin", "/fdwinds/text/sfo_fd1.shtml"},
    {"FdPageOfAnotherSuffix", "/fdwinds/text/sfo_fd2.shtml"},
    {"UnknownPage", "/"},
};

class MissingOverHttp : public ::testing::TestWithParam<MissingCase> {};

TEST_P(MissingOverHttp, AnswersNotFound) {
    RunningServer server(smallData());
    const httplib::Result result = server.get(GetParam().target);
    ASSERT_TRUE(result) << httplib::to_string(result.error());
    EXPECT_EQ(result->status, 404);
}

INSTANTIATE_TEST_SUITE_P(Paths, MissingOverHttp, ::testing::ValuesIn(kMissingCases), wxtest::NameOfRow{});

class DemoFdOverHttp : public ::testing::TestWithParam<FdRegion> {};

TEST_P(DemoFdOverHttp, PageCutsIntoTheRegionsStations) {
    RunningServer server(loadWeatherData(wxtest::kDemoWeatherDir));
    const httplib::Result result = server.get(fdPagePath(GetParam()));
    ASSERT_TRUE(result) << httplib::to_string(result.error());
    EXPECT_EQ(result->status, 200);
    const auto ids = wxtest::bulletinStationIds(
        wxtest::requiredFile(wxtest::kDemoWeatherDir / kFdFolderName / fdBulletinFileName(GetParam())));
    const auto tokens = fdwinds::FD_SplitTokens(fdwinds::FD_CutBulletin(result->body));
    EXPECT_EQ(tokens.size() - 1, 10 * ids.size());
}

INSTANTIATE_TEST_SUITE_P(Regions, DemoFdOverHttp, ::testing::ValuesIn(kAllFdRegions), wxtest::NameOfRegion{});

struct FaultCase {
    const char* name;
    WxFaults faults;
    std::string target;
    int status;
    bool oversize;
};

const FaultCase kFaultCases[] = {
    {"StatusOnKnownStation", wxtest::statusFault(503), "/search_metar.html?cod=KSFO", 503, false},
    {"StatusOnMissingPage", wxtest::statusFault(500), "/fdwinds/text/hawaii_fd1.shtml", 500, false},
    {"StatusOkOnMissingPage", wxtest::statusFault(200), "/nothing", 200, false},
    {"OversizeVatsimPage", wxtest::oversizeFault(), "/search_metar.html?cod=KSFO", 200, true},
    {"OversizeWeatherServicePage", wxtest::oversizeFault(), "/cgi-bin/mgetmetar.pl?cccc=KSFO", 200, true},
    {"OversizeFdPage", wxtest::oversizeFault(), "/fdwinds/text/miami_fd1.shtml", 200, true},
};

class FaultOverHttp : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultOverHttp, ChangesEveryAnswer) {
    const FaultCase& row = GetParam();
    RunningServer server(loadWeatherData(wxtest::kDemoWeatherDir), row.faults);
    const httplib::Result result = server.get(row.target);
    ASSERT_TRUE(result) << httplib::to_string(result.error());
    EXPECT_EQ(result->status, row.status);
    EXPECT_EQ(result->body.size() > 32767, row.oversize) << result->body.size();
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultOverHttp, ::testing::ValuesIn(kFaultCases), wxtest::NameOfRow{});

TEST(NoPageOverHttp, EveryAnswerIsTheSameBytes) {
    WxFaults faults;
    faults.noPage = true;
    RunningServer server(loadWeatherData(wxtest::kDemoWeatherDir), faults);
    for (const char* target : {"/search_metar.html?cod=KSFO", "/fdwinds/text/sfo_fd1.shtml"}) {
        const httplib::Result result = server.get(target);
        ASSERT_TRUE(result) << httplib::to_string(result.error());
        EXPECT_EQ(result->status, 200);
        EXPECT_EQ(result->body, notAPage());
    }
    EXPECT_FALSE(cutReportFromPage(notAPage(), MetarSource::Vatsim, "KSFO").has_value());
    EXPECT_THROW((void)fdwinds::FD_CutBulletin(notAPage()), fdwinds::FdFormatError);
}

TEST(EndlessOverHttp, BodyStartsWithThePageAndGoesOnPastTheLimit) {
    WxFaults faults;
    faults.endless = true;
    RunningServer server(smallData(), faults);
    constexpr std::size_t kEnough = 256 * 1024;
    std::string received;
    const httplib::Result result =
        server.client().Get("/search_metar.html?cod=KSFO", [&received](const char* data, std::size_t length) {
            received.append(data, length);
            return received.size() < kEnough;  // the client gives up; the body would not end
        });
    EXPECT_FALSE(result);  // cancelled by the receiver, never ended by the server
    EXPECT_GE(received.size(), kEnough);
    EXPECT_TRUE(received.starts_with(vatsimMetarPage("KSFO", std::string(kSfoReport)))) << received.substr(0, 200);
}

TEST(OversizeOverHttp, PaddedPageStillHoldsTheReport) {
    RunningServer server(smallData(), wxtest::oversizeFault());
    const httplib::Result result = server.get("/search_metar.html?cod=KSFO");
    ASSERT_TRUE(result) << httplib::to_string(result.error());
    EXPECT_GT(result->body.size(), 32767U);
    EXPECT_EQ(cutReportFromPage(result->body, MetarSource::Vatsim, "KSFO"), std::string(kSfoReport));
}

TEST(RequestLog, HasOneLinePerRequest) {
    std::ostringstream log;
    RunningServer server(smallData(), {}, &log);
    ASSERT_TRUE(server.get("/search_metar.html?cod=KSFO"));
    ASSERT_TRUE(server.get("/nothing"));
    server.stop();
    EXPECT_EQ(log.str(), "standin-wx: GET /search_metar.html?cod=KSFO -> 200 (" +
                             std::to_string(vatsimMetarPage("KSFO", std::string(kSfoReport)).size()) + " bytes)\n" +
                             "standin-wx: GET /nothing -> 404 (" + std::to_string(missingPage("/nothing").size()) +
                             " bytes)\n");
}

TEST(ServerStop, RepeatedStopIsHarmless) {
    RunningServer server(smallData(), wxtest::slowFault());
    server.stop();
    server.stop();
    EXPECT_FALSE(server.get("/search_metar.html?cod=KSFO"));
}

TEST(ServerStart, SecondStartIsRefused) {
    WxServer server(smallData());
    EXPECT_GT(server.start(0), 0);
    EXPECT_THROW((void)server.start(0), std::runtime_error);
    server.stop();
    EXPECT_THROW((void)server.start(0), std::runtime_error);
}

// The slow fault's wait ends as soon as the server stops; these never wait the full time.
TEST(StopSignal, WaitEndsAtOnceWhenAlreadyRaised) {
    StopSignal signal;
    EXPECT_FALSE(signal.raised());
    signal.raise();
    EXPECT_TRUE(signal.raised());
    EXPECT_TRUE(signal.waitFor(std::chrono::hours(1)));
}

TEST(StopSignal, WaitEndsWhenRaisedByAnotherThread) {
    StopSignal signal;
    std::thread raiser([&signal] { signal.raise(); });
    EXPECT_TRUE(signal.waitFor(std::chrono::hours(1)));
    raiser.join();
}

TEST(StopSignal, WaitWithoutRaiseReportsNotRaised) {
    const StopSignal signal;
    EXPECT_FALSE(signal.waitFor(std::chrono::milliseconds(0)));
}

}  // namespace
}  // namespace stratocue::standins
