#include "app/metar_requests.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/metar_report_labels.h"
#include "metar/metar_decoder.h"
#include "metar_test_support.h"
#include "tests/support/scripted_transfer.h"

namespace stratocue::metar {
namespace {

using app::butGET_Click;
using app::chkDEST_Click;
using app::METAR_Read;
using app::MetarRequestContext;
using app::ProgramState;
using app::readMetarReport;
using app::showMetarReport;
using app::txtMETARRANGE_Change;
using test_support::ScriptedTransfer;
using testing::FieldValues;

const std::string kVatsimServer = "http://vatsim.test";
const std::string kWeatherServiceServer = "http://nws.test";

std::string vatsimUrl(std::string_view id) { return kVatsimServer + "/search_metar.html?cod=" + std::string(id); }
std::string weatherServiceUrl(std::string_view id) {
    return kWeatherServiceServer + "/cgi-bin/mgetmetar.pl?cccc=" + std::string(id);
}

// A weather-service page: the phrase, 27 characters, the report, then the closing markup.
std::string weatherServicePage(std::string_view report) {
    return "<html><head><title>Observation</title></head><body>\n<h3>Current weather</h3>\nThe observation is:"
           "</h3>\n<hr>\n<pre>\n<tt>\n     " +
           std::string(report) + "\r\n</tt></pre>\n</body></html>\n";
}

// A VATSIM page: the report, which starts with the identifier, right after a tag.
std::string vatsimPage(std::string_view report) {
    return "<html><head><title>VATSIM METAR</title></head><body>\n<pre>" + std::string(report) +
           "\r\n</pre></body></html>\n";
}

// The page with blanks appended after its markup until it has `bytes` bytes.
std::string paddedTo(std::string page, std::size_t bytes) {
    page.resize(bytes, ' ');
    return page;
}

constexpr std::string_view kReport = "KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002 RMK AO2";
const FieldValues kDecoded{{"datetime", "061756Z"}, {"winddir", "280"}, {"windspeed", "12"},   {"gusting", "20"},
                           {"vis", "10"},           {"ptype", "0"},     {"pint", "0"},         {"temp", "17"},
                           {"dewpoint", "09"},      {"tsdensity", "0"}, {"c1density", "NONE"}, {"c1base", "0"},
                           {"c2density", "FEW"},    {"c2base", "010"},  {"c3density", "SCT"},  {"c3base", "250"},
                           {"alt", "1016"}};
constexpr std::string_view kDecodedText = "KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002";

// A custom report as the servers send it, over two lines.
constexpr std::string_view kCustomReport = "KSFO 061756Z 28012KT 10SM\r\n     FEW010 17/09 A3002";

// The windows, program state, station list and scripted servers of one request.
struct Bench {
    ui::FormSlot<ui::FrmMain> frmMain;
    ui::FormSlot<ui::FrmStatus> frmStatus;
    ProgramState state;
    stations::StationTables stations{{{}, {"KSFO", 0.6565, -2.1359, 2}, {"EDDF", 0.8778, 0.1505, 111}}, 2, {}, 0};
    ScriptedTransfer transfer;
    ServerAddresses servers = parseServerAddresses("metar_vatsim=" + std::string(kVatsimServer) + "\nmetar_nws=" +
                                                   std::string(kWeatherServiceServer) + "\nfdwinds=http://fd.test\n");
    MetarRequestContext context{frmMain, frmStatus, state, stations, transfer, servers};

    Bench() { showMetarReport(status(), testing::recordWithOldTexts()); }

    ui::FrmMain& main() { return frmMain(); }
    ui::FrmStatus& status() { return frmStatus(); }

    // The event handlers, wired as the program wires them. Tests arrange the controls
    // first, so that the arrangement itself runs no request.
    void wireEvents() {
        main().chkDEST.setHandler([this] { chkDEST_Click(context); });
        main().txtMETARRANGE.setHandler([this] { txtMETARRANGE_Change(context); });
        main().butGET.setHandler([this] { butGET_Click(context); });
    }

    // The texts a control takes from now on.
    static std::vector<std::string>& recordTexts(ui::TextBox& box, std::vector<std::string>& texts) {
        box.addObserver([&box, &texts] { texts.push_back(box.value()); });
        return texts;
    }
};

// The status labels hold the old texts except the listed fields.
void expectStatusFields(const ui::FrmStatus& status, const FieldValues& changed) {
    const MetarReport shown = readMetarReport(status);
    const MetarReport old = testing::recordWithOldTexts();
    for (const std::string_view field : testing::fieldNames()) {
        std::string expected = testing::fieldText(old, field);
        for (const auto& [name, text] : changed) {
            if (name == field) expected = text;
        }
        EXPECT_EQ(testing::fieldText(shown, field), expected) << field;
    }
}

// ---- METAR_Read ----

struct ReadCase {
    const char* name;
    bool vatsim;
    std::string url;
    std::string page;
};

TEST(MetarRead, ShowsDownloadingThenTheDecodedReport) {
    const std::vector<ReadCase> cases{
        {"WeatherService", false, weatherServiceUrl("KSFO"), weatherServicePage(kReport)},
        {"Vatsim", true, vatsimUrl("KSFO"), vatsimPage(kReport)},
        {"LargestPage", false, weatherServiceUrl("KSFO"), paddedTo(weatherServicePage(kReport), 32767)},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench;
        bench.main().chkVATSIM.set(c.vatsim ? 1 : 0);
        bench.transfer.serve(c.url, c.page);
        std::vector<std::string> texts;
        Bench::recordTexts(bench.main().txtMETARstr, texts);

        const std::int16_t index = 1;
        const app::MetarReadResult read = METAR_Read(bench.context, index);

        EXPECT_TRUE(read.usable);
        EXPECT_EQ(read.stationIndex, 1);
        EXPECT_EQ(bench.transfer.requested, std::vector<std::string>{c.url});
        EXPECT_EQ(texts, (std::vector<std::string>{"Downloading...", std::string(kDecodedText)}));
        expectStatusFields(bench.status(), kDecoded);
    }
}

TEST(MetarRead, ReportNotInThePageGivesUnavailableAndKeepsTheWeather) {
    const std::vector<ReadCase> cases{
        {"PhraseMissing", false, weatherServiceUrl("KSFO"), "<html><body>No observation for KSFO</body></html>"},
        {"VatsimMarkWithinFirst45", true, vatsimUrl("KSFO"), "<pre>" + std::string(kReport) + "\r\n</pre>\n"},
        {"VatsimOtherStation", true, vatsimUrl("KSFO"), vatsimPage("KLAX 061753Z 25008KT 10SM CLR 19/11 A2999")},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench;
        bench.main().chkVATSIM.set(c.vatsim ? 1 : 0);
        bench.transfer.serve(c.url, c.page);

        const std::int16_t index = 1;
        const app::MetarReadResult read = METAR_Read(bench.context, index);

        EXPECT_FALSE(read.usable);
        EXPECT_EQ(bench.main().txtMETARstr.value(), "No current report within 50 nm of KSFO");
        expectStatusFields(bench.status(), {{"datetime", "UNAVAIL"}});
    }
}

struct ReadFaultCase {
    const char* name;
    std::function<void(Bench&)> arrange;
    std::int16_t index;
    std::size_t fetches;  // both services are asked when the selected one fails
    std::string why;      // how txtMETARstr starts
};

TEST(MetarRead, EveryFaultKeepsTheWeatherInHandAndSaysWhy) {
    const auto serving = [](std::string page) {
        return [page](Bench& bench) { bench.transfer.serve(weatherServiceUrl("KSFO"), page); };
    };
    const std::string failed = "METAR download failed: ";
    const std::vector<ReadFaultCase> cases{
        {"NoAnswer", [](Bench&) {}, 1, 2, failed + "no answer from " + weatherServiceUrl("KSFO") + "; no answer from"},
        {"TransferStillExecuting",
         [&](Bench& bench) {
             serving(weatherServicePage(kReport))(bench);
             bench.transfer.executing = true;
         },
         1, 2, failed + "a transfer is still executing; a transfer is still executing"},
        {"PageOver32767Bytes", serving(paddedTo(weatherServicePage(kReport), 32768)), 1, 2, failed},
        {"EmptyPage", serving(""), 1, 2, failed},
        {"NoTagWithin255", serving(weatherServicePage(std::string(kReport) + std::string(300, ' '))), 1, 2, failed},
        {"TagRightAfterTheStart", serving("The observation is:" + std::string(27, '-') + "x<br>"), 1, 2, failed},
        {"IndexBeyondTheTable", serving(weatherServicePage(kReport)), 3, 0, failed + "Subscript out of range"},
        {"NegativeIndex", serving(weatherServicePage(kReport)), -1, 0, failed + "Subscript out of range"},
        {"ReportThatCannotBeDecoded",
         serving(weatherServicePage("KSFO 061756Z 28012G20KT 1/0SM FG OVC002 07/07 A3020")), 1, 1,
         "METAR could not be decoded: KSFO 061756Z 28012G20KT 1/0SM FG OVC002 07/07 A3020"},
    };
    for (const ReadFaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (const bool reportInHand : {false, true}) {
            Bench bench;
            if (reportInHand) bench.state.lastMetarText = std::string(kDecodedText);
            c.arrange(bench);

            const app::MetarReadResult read = METAR_Read(bench.context, c.index);

            EXPECT_FALSE(read.usable);
            EXPECT_EQ(bench.transfer.requested.size(), c.fetches);
            const std::string text = bench.main().txtMETARstr.value();
            EXPECT_EQ(text.substr(0, c.why.size()), c.why);
            EXPECT_EQ(text.ends_with("; keeping " + std::string(kDecodedText)), reportInHand) << text;
            expectStatusFields(bench.status(), {{"datetime", "PARSE ERROR"}});
        }
    }
}

// ---- METAR_Read: the nearest station that reports, the other service when one fails ----

// Stations north of KHAF at the given distances (one radian of latitude is 3963.1).
stations::StationTables stationsNorthOfKhaf(const std::vector<std::pair<std::string, double>>& distances) {
    constexpr double kKhafLatitude = 0.6547;
    constexpr double kKhafLongitude = -2.1380;
    stations::StationTables tables{{{}, {"KHAF", kKhafLatitude, kKhafLongitude, 20}}, 1, {}, 0};
    for (const auto& [id, distance] : distances) {
        tables.StationList.push_back({id, kKhafLatitude + distance / 3963.1, kKhafLongitude, 100});
        ++tables.StationCount;
    }
    return tables;
}

const std::string kDataApi = "http://api.test/api/data/metar?ids=";
const std::string kVatsimApi = "http://vatsim.test/";
std::string dataApiUrl(std::string_view ids) { return kDataApi + std::string(ids) + "&format=raw&hours=3"; }

struct NearbyCase {
    const char* name;
    bool vatsim;
    bool forced;
    std::vector<std::pair<std::string, double>> neighbours;  // id and distance from KHAF
    std::vector<std::pair<std::string, std::string>> answers;
    std::vector<std::string> expectedRequests;
    std::string expectedText;      // how txtMETARstr starts
    std::int16_t expectedStation;  // 0: no usable report
};

TEST(MetarRead, TakesTheNearestStationThatReportsFromTheServiceThatAnswers) {
    const std::vector<std::pair<std::string, double>> around{{"KSQL", 9},  {"KFAR", 60}, {"KOAK", 20}, {"KSJC", 30},
                                                             {"KLVK", 40}, {"KCCR", 45}, {"KSCK", 49}};
    const std::string sql = "KSQL 081153Z 30006KT 10SM FEW012 16/09 A3001";
    const std::string oak = "KOAK 081153Z 29010KT 10SM SCT015 15/10 A3000";
    const std::string neighbourIds = "KSQL,KOAK,KSJC,KLVK,KCCR";  // nearest first, five, KSCK and KFAR left out
    const std::vector<NearbyCase> cases{
        {"DataApiOneRequestForTheNeighboursNewestCounts",
         false,
         false,
         around,
         {{dataApiUrl("KHAF"), "\n"},
          {dataApiUrl(neighbourIds), "METAR " + oak + "\nSPECI KSQL 081010Z 30004KT 9SM A3000\nMETAR " + sql + "\n"}},
         {dataApiUrl("KHAF"), dataApiUrl(neighbourIds)},
         sql,
         2},
        {"VatsimOneRequestPerNeighbourUntilAReport",
         true,
         false,
         around,
         {{kVatsimApi + "KHAF", ""}, {kVatsimApi + "KSQL", "\n"}, {kVatsimApi + "KOAK", oak + "\n"}},
         {kVatsimApi + "KHAF", kVatsimApi + "KSQL", kVatsimApi + "KOAK"},
         oak,
         4},
        {"NoNeighbourWithinRange",
         false,
         false,
         {{"KFAR", 60}},
         {{dataApiUrl("KHAF"), "\n"}},
         {dataApiUrl("KHAF")},
         "No current report within 50 nm of KHAF",
         0},
        {"NoNeighbourReports",
         false,
         false,
         {{"KSQL", 9}},
         {{dataApiUrl("KHAF"), "\n"}, {dataApiUrl("KSQL"), "\n"}},
         {dataApiUrl("KHAF"), dataApiUrl("KSQL")},
         "No current report within 50 nm of KHAF",
         0},
        {"ForcedStationNeverReplaced",
         false,
         true,
         around,
         {{dataApiUrl("KHAF"), "\n"}},
         {dataApiUrl("KHAF")},
         "No current report for KHAF",
         0},
        {"SelectedFailsTheOtherAnswers",
         false,
         false,
         around,
         {{kVatsimApi + "KHAF", "KHAF 081156Z 31008KT 10SM CLR 14/08 A3002\n"}},
         {dataApiUrl("KHAF"), kVatsimApi + "KHAF"},
         "KHAF 081156Z",
         1},
        {"FailureOnANeighbourRequestAsksTheOtherService",
         false,
         false,
         {{"KSQL", 9}},
         {{dataApiUrl("KHAF"), "\n"}, {kVatsimApi + "KHAF", "\n"}, {kVatsimApi + "KSQL", sql + "\n"}},
         {dataApiUrl("KHAF"), dataApiUrl("KSQL"), kVatsimApi + "KHAF", kVatsimApi + "KSQL"},
         sql,
         2},
        {"BothFail",
         true,
         false,
         {{"KSQL", 9}},
         {},
         {kVatsimApi + "KHAF", dataApiUrl("KHAF")},
         "METAR download failed: no answer from " + kVatsimApi,
         0},
    };
    for (const NearbyCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench;
        bench.stations = stationsNorthOfKhaf(c.neighbours);
        bench.servers = parseServerAddresses("awc_api=http://api.test\nvatsim_api=http://vatsim.test\n");
        bench.context.aircraftLatitude = bench.stations.StationList[1].latitude;
        bench.context.aircraftLongitude = bench.stations.StationList[1].longitude;
        bench.state.forcedActive = c.forced;
        bench.main().chkVATSIM.set(c.vatsim ? 1 : 0);
        for (const auto& [url, body] : c.answers) bench.transfer.serve(url, body);

        const std::int16_t index = 1;
        const app::MetarReadResult read = METAR_Read(bench.context, index);

        EXPECT_EQ(bench.transfer.requested, c.expectedRequests);
        const std::string text = bench.main().txtMETARstr.value();
        EXPECT_EQ(text.substr(0, c.expectedText.size()), c.expectedText);
        EXPECT_EQ(read.usable, c.expectedStation != 0);
        if (read.usable) {
            EXPECT_EQ(read.stationIndex, c.expectedStation);
        } else {
            expectStatusFields(bench.status(),
                               {{"datetime", c.expectedText.starts_with("No") ? "UNAVAIL" : "PARSE ERROR"}});
        }
    }
}

// ---- butGET_Click and its companions ----

// Forcing state before each custom request: an earlier forced station.
void arrangeEarlierForcing(Bench& bench) {
    bench.state.forcedId = "KOLD";
    bench.state.forcedRange = 7;
    bench.state.forcedActive = true;
}

struct IdLengthCase {
    const char* name;
    std::string typedId;
    std::string message;
    int chkDestAfter;
    std::string forcedIdAfter;
    bool forcedActiveAfter;
};

TEST(GetCustomMetar, IdentifierMustHaveFourCharacters) {
    const std::string designText = "Enter METAR ID above\r\n";
    const std::vector<IdLengthCase> cases{
        {"ThreeCharacters", "KSF", "ICAO Station ID not found", 0, "", false},
        {"FiveCharacters", "KSFOX", "ICAO Station ID not found", 0, "", false},
        {"Empty", "", designText, 1, "KOLD", true},
    };
    for (const IdLengthCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench;
        arrangeEarlierForcing(bench);
        bench.main().chkDEST.set(1);
        bench.main().txtMETARINPUT.set(c.typedId);
        bench.wireEvents();

        bench.main().butGET.click();

        EXPECT_TRUE(bench.transfer.requested.empty());
        EXPECT_EQ(bench.main().txtMETARREQstr.value(), c.message);
        EXPECT_EQ(bench.main().chkDEST.value(), c.chkDestAfter);
        EXPECT_EQ(bench.state.forcedId, c.forcedIdAfter);
        EXPECT_EQ(bench.state.forcedActive, c.forcedActiveAfter);
    }
}

struct CustomPageCase {
    const char* name;
    bool vatsim;
    std::string url;
    std::string page;
};

TEST(GetCustomMetar, ReportNotFoundEndsTheForcing) {
    const std::vector<CustomPageCase> cases{
        {"PhraseMissing", false, weatherServiceUrl("KSFO"), "<html><body>No such station</body></html>\n"},
        {"VatsimOtherStation", true, vatsimUrl("KSFO"), vatsimPage("KLAX 061753Z 25008KT 10SM CLR 19/11 A2999")},
    };
    for (const CustomPageCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench;
        arrangeEarlierForcing(bench);
        bench.main().chkVATSIM.set(c.vatsim ? 1 : 0);
        bench.main().chkDEST.set(1);
        bench.main().txtMETARINPUT.set("KSFO");
        bench.transfer.serve(c.url, c.page);
        bench.wireEvents();

        bench.main().butGET.click();

        EXPECT_EQ(bench.transfer.requested, std::vector<std::string>{c.url});
        EXPECT_EQ(bench.main().txtMETARREQstr.value(), "METAR report not found / ID not valid ");
        EXPECT_EQ(bench.state.forcedId, "");
        EXPECT_EQ(bench.main().chkDEST.value(), 0);
        EXPECT_FALSE(bench.state.forcedActive);  // through the check box's click handler
    }
}

TEST(GetCustomMetar, FaultShowsRequestErrorAndKeepsTheForcing) {
    const std::vector<CustomPageCase> cases{
        {"NoAnswer", false, weatherServiceUrl("nothing-served"), ""},
        {"NoTagWithin255", false, weatherServiceUrl("KSFO"),
         "The observation is:" + std::string(27, '-') + std::string(kReport) + std::string(300, ' ')},
        {"PageOver32767Bytes", false, weatherServiceUrl("KSFO"), paddedTo(weatherServicePage(kCustomReport), 32768)},
        {"VatsimNoTagWithin255", true, vatsimUrl("KSFO"),
         "<html><head><title>VATSIM METAR</title></head><body>\n<pre>" + std::string(kReport) + std::string(300, ' ')},
    };
    for (const CustomPageCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench;
        arrangeEarlierForcing(bench);
        bench.main().chkVATSIM.set(c.vatsim ? 1 : 0);
        bench.main().chkDEST.set(1);
        bench.main().txtMETARINPUT.set("KSFO");
        bench.transfer.serve(c.url, c.page);
        bench.wireEvents();

        bench.main().butGET.click();

        EXPECT_EQ(bench.transfer.requested.size(), 2u);  // the other service failed too
        EXPECT_EQ(bench.main().txtMETARREQstr.value(), "METAR request error or invalid ID");
        EXPECT_EQ(bench.state.forcedId, "KOLD");
        EXPECT_EQ(bench.state.forcedRange, 7);
        EXPECT_TRUE(bench.state.forcedActive);
        EXPECT_EQ(bench.main().chkDEST.value(), 1);
    }
}

TEST(GetCustomMetar, AsksTheOtherServiceWhenTheSelectedOneFails) {
    for (const bool vatsim : {false, true}) {
        SCOPED_TRACE(vatsim);
        Bench bench;
        arrangeEarlierForcing(bench);
        bench.main().chkVATSIM.set(vatsim ? 1 : 0);
        bench.main().chkDEST.set(1);
        bench.main().txtMETARRANGE.set("25");
        bench.main().txtMETARINPUT.set("KSFO");
        if (vatsim) bench.transfer.serve(weatherServiceUrl("KSFO"), weatherServicePage(kCustomReport));
        if (!vatsim) bench.transfer.serve(vatsimUrl("KSFO"), vatsimPage(kCustomReport));
        bench.wireEvents();

        bench.main().butGET.click();

        const std::vector<std::string> selectedThenOther =
            vatsim ? std::vector<std::string>{vatsimUrl("KSFO"), weatherServiceUrl("KSFO")}
                   : std::vector<std::string>{weatherServiceUrl("KSFO"), vatsimUrl("KSFO")};
        EXPECT_EQ(bench.transfer.requested, selectedThenOther);
        EXPECT_EQ(bench.main().txtMETARREQstr.value(), kCustomReport);
        EXPECT_EQ(bench.state.forcedId, "KSFO");
        EXPECT_EQ(bench.state.forcedRange, 25);
    }
}

struct ForceCase {
    const char* name;
    bool forceChecked;
    bool vatsim;
    std::string typedId;
    std::string rangeText;
    std::string url;
    std::int16_t forcedRange;
    std::size_t fetches;  // 2 when the range is reset and the nested request runs
    std::string rangeTextAfter;
};

TEST(GetCustomMetar, ShowsTheReportAndForcesTheStationWhenAsked) {
    const std::vector<ForceCase> cases{
        {"VatsimLowerCaseIdUpperCasedForQuery", true, true, "ksfo", "25", vatsimUrl("KSFO"), 25, 1, "25"},
        {"WeatherServiceIdSentAsTyped", true, false, "ksfo", "25", weatherServiceUrl("ksfo"), 25, 1, "25"},
        {"HalfRoundsToEven", true, false, "KSFO", "2.5", weatherServiceUrl("KSFO"), 2, 1, "2.5"},
        {"LeadingNumberOfTheText", true, false, "KSFO", " 3.5 nm", weatherServiceUrl("KSFO"), 4, 1, " 3.5 nm"},
        {"LargestRange", true, false, "KSFO", "9999", weatherServiceUrl("KSFO"), 9999, 1, "9999"},
        {"ZeroResetTo60", true, false, "KSFO", "0", weatherServiceUrl("KSFO"), 60, 2, "60"},
        {"NegativeResetTo60", true, false, "KSFO", "-5", weatherServiceUrl("KSFO"), 60, 2, "60"},
        {"TenThousandResetTo60", true, false, "KSFO", "10000", weatherServiceUrl("KSFO"), 60, 2, "60"},
        {"TextResetTo60", true, true, "ksfo", "abc", vatsimUrl("KSFO"), 60, 2, "60"},
        {"EmptyResetTo60", true, false, "KSFO", "", weatherServiceUrl("KSFO"), 60, 2, "60"},
        {"NotForcedKeepsTheEarlierForcing", false, false, "ksfo", "0", weatherServiceUrl("ksfo"), 7, 1, "0"},
        {"NotForcedVatsim", false, true, "KSFO", "25", vatsimUrl("KSFO"), 7, 1, "25"},
    };
    for (const ForceCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench;
        arrangeEarlierForcing(bench);
        bench.main().chkVATSIM.set(c.vatsim ? 1 : 0);
        bench.main().chkDEST.set(c.forceChecked ? 1 : 0);
        bench.main().txtMETARRANGE.set(c.rangeText);
        bench.main().txtMETARINPUT.set(c.typedId);
        bench.transfer.serve(c.url, c.vatsim ? vatsimPage(kCustomReport) : weatherServicePage(kCustomReport));
        bench.wireEvents();
        std::vector<std::string> texts;
        Bench::recordTexts(bench.main().txtMETARREQstr, texts);

        bench.main().butGET.click();

        EXPECT_EQ(bench.transfer.requested, std::vector<std::string>(c.fetches, c.url));
        EXPECT_EQ(bench.main().txtMETARRANGE.value(), c.rangeTextAfter);
        EXPECT_EQ(bench.state.forcedRange, c.forcedRange);
        EXPECT_EQ(bench.state.forcedId, c.forceChecked ? c.typedId : "KOLD");
        EXPECT_TRUE(bench.state.forcedActive);
        EXPECT_EQ(bench.main().chkDEST.value(), c.forceChecked ? 1 : 0);
        // "Getting METAR...", then the report with its line breaks (a nested request shows
        // the same texts again, which are no changes).
        EXPECT_EQ(texts, (std::vector<std::string>{"Getting METAR...", std::string(kCustomReport)}));
        // The custom report is not decoded.
        EXPECT_EQ(bench.main().txtMETARstr.value(), "Loading...\r\n");
        expectStatusFields(bench.status(), {});
    }
}

struct CheckBoxCase {
    const char* name;
    int before;
    int after;
    std::size_t fetches;
    std::string forcedIdAfter;
    bool forcedActiveAfter;
};

TEST(ForceCustomId, CheckingRequestsAndUncheckingEndsTheForcing) {
    const std::vector<CheckBoxCase> cases{
        {"CheckedRunsTheCustomRequest", 0, 1, 1, "KSFO", true},
        {"UncheckedClearsTheForcedStation", 1, 0, 0, "", false},
    };
    for (const CheckBoxCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench;
        arrangeEarlierForcing(bench);
        bench.main().chkDEST.set(c.before);
        bench.main().txtMETARRANGE.set("25");
        bench.main().txtMETARINPUT.set("KSFO");
        bench.transfer.serve(weatherServiceUrl("KSFO"), weatherServicePage(kCustomReport));
        bench.wireEvents();

        bench.main().chkDEST.set(c.after);

        EXPECT_EQ(bench.transfer.requested.size(), c.fetches);
        EXPECT_EQ(bench.state.forcedId, c.forcedIdAfter);
        EXPECT_EQ(bench.state.forcedActive, c.forcedActiveAfter);
    }
}

struct TypingCase {
    const char* name;
    std::string typedId;
    std::vector<std::int16_t> forcedRangeAfterEachChange;
    std::size_t fetches;
};

TEST(ForceCustomId, EveryChangeOfTheRangeRunsTheRequest) {
    const std::vector<std::string> keystrokes{"1", "12", "120"};
    const std::vector<TypingCase> cases{
        {"FourCharacterId", "KSFO", {1, 12, 120}, 3},
        {"EmptyId", "", {7, 7, 7}, 0},
    };
    for (const TypingCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench;
        arrangeEarlierForcing(bench);
        bench.main().chkDEST.set(1);
        bench.main().txtMETARRANGE.set("");
        bench.main().txtMETARINPUT.set(c.typedId);
        bench.transfer.serve(weatherServiceUrl("KSFO"), weatherServicePage(kCustomReport));
        bench.wireEvents();

        std::vector<std::int16_t> forcedRanges;
        for (const std::string& text : keystrokes) {
            bench.main().txtMETARRANGE.set(text);
            forcedRanges.push_back(bench.state.forcedRange);
        }

        EXPECT_EQ(forcedRanges, c.forcedRangeAfterEachChange);
        EXPECT_EQ(bench.transfer.requested.size(), c.fetches);
    }
}

}  // namespace
}  // namespace stratocue::metar
