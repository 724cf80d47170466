#include "app/fd_read.h"

#include <gtest/gtest.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

#include "common/ansi_text.h"
#include "common/fault.h"
#include "common/number_parse.h"
#include "fd_test_pages.h"
#include "fdwinds/fd_decoder.h"
#include "fdwinds/gfs_winds.h"
#include "gfs_answers.h"
#include "stations/station_distance.h"
#include "stations/station_line.h"
#include "tests/support/scripted_transfer.h"

namespace stratocue::fdwinds {
namespace {

using app::FD_Read;
using app::FdReadContext;
using app::ProgramState;
using test_support::ScriptedTransfer;
using testing_pages::kDataFolder;
using testing_pages::readFile;

const std::string kServer = "http://fd.test";
const std::string kModelServer = "http://gfs.test";
constexpr const char* kModelHour = "2026-12-08T12:00";
// The model's row for testing_gfs::distinctLevels().
constexpr std::string_view kGfsSummary =
    "GFS 3K:101005 6K:1111-05 9K:1212-15 12K:1313-25 18K:1414-35 24K:1515-45 30K:161655 34K:171765 39K:181875";

std::string pageUrl(std::size_t page) { return kServer + std::string(FdRegionPages.at(page)); }

// The seven real pages of one bulletin issue, served at their addresses.
void serveRealPages(ScriptedTransfer& transfer) {
    for (std::size_t page = 0; page < FdRegionPages.size(); ++page) {
        const std::string_view path = FdRegionPages.at(page);
        const std::string file(path.substr(path.rfind('/') + 1));
        transfer.pages[pageUrl(page)] = readFile(kDataFolder / "pages-171357" / file);
    }
}

// Rewrites the first occurrence of `from` in a served page.
void editPage(ScriptedTransfer& transfer, std::size_t page, std::string_view from, std::string_view to) {
    std::string& body = transfer.pages.at(pageUrl(page));
    const std::size_t at = body.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    body.replace(at, from.size(), to);
}

// FD stations as in fdwinds.txt.
const std::string kSfo = "SFO,N,37,37,W,122,22";
const std::string kSac = "SAC,N,38,27,W,121,33";
const std::string kSea = "SEA,N,47,26,W,122,19";
const std::string kHnl = "HNL,N,21,18,W,157,56";  // listed, but in none of the bulletins
const std::string kBos = "BOS,N,42,21,W,70,59";
const std::string kAms = "AMS,N,52,18,E,4,46";  // Amsterdam, far from every FD station

// Rows of the real pages: SFO is line 25 of the first page, SAC line 21.
constexpr std::int16_t kSfoRow = 25;
constexpr std::int16_t kSacRow = 21;
constexpr std::int16_t kMiamiFirstRow = 145;  // ATL, the first line of the sixth page

// SFO's summary with a surface temperature of 7.
constexpr std::string_view kSfoSummary =
    "SFO 3K:321507 6K:261007 9K:251502 12K:2620-03 18K:2838-14 24K:2953-26 30K:296042 34K:297751 39K:308263";

stations::Station fdStation(std::string_view line) { return stations::parseStationLine(line, false); }

// The FD station table from station lines, index 0 unused.
stations::StationTables fdStations(const std::vector<std::string>& lines) {
    stations::StationTables tables;
    tables.StationList.resize(1);
    tables.FdStationList.resize(1);
    for (const std::string& line : lines) tables.FdStationList.push_back(fdStation(line));
    tables.FdStationCount = static_cast<std::int32_t>(lines.size());
    return tables;
}

// A coordinate caption that reads back as exactly `radians`.
std::string caption(double radians) {
    char text[64];
    const auto result = std::to_chars(std::begin(text), std::end(text), radians);
    return std::string(text, result.ptr);
}

struct FdSetCall {
    std::int16_t row;
    const std::int16_t* index;
};

// The windows, program state, station table and scripted server of FD_Read runs.
struct Bench {
    explicit Bench(const std::vector<std::string>& stationLines) : stations(fdStations(stationLines)) {
        transfer.timeoutSeconds = 5;  // FD_Read sets its own
        serveRealPages(transfer);
        status().lblMETARtemp.set("7");
        status().lblAltitude.set("1000");
        context.utcNow = [] {
            return std::chrono::sys_days{std::chrono::year{2026} / 12 / 8} + std::chrono::minutes{754};
        };
    }

    ui::FormSlot<ui::FrmMain> frmMain;
    ui::FormSlot<ui::FrmStatus> frmStatus;
    ProgramState state;
    stations::StationTables stations;
    ScriptedTransfer transfer;
    ServerAddresses servers =
        parseServerAddresses("metar_vatsim=http://vatsim.test\nmetar_nws=http://nws.test\nfdwinds=" + kServer +
                             "\nopen_meteo=" + kModelServer);
    FdWinds winds;
    std::vector<FdSetCall> fdSetCalls;
    std::function<void()> fdSetFault;
    FdReadContext context{frmMain,
                          frmStatus,
                          state,
                          stations,
                          transfer,
                          servers,
                          winds,
                          [this](std::int16_t& row, std::int16_t& passedIndex) {
                              fdSetCalls.push_back({row, &passedIndex});
                              if (fdSetFault) fdSetFault();
                          }};
    std::int16_t index = 17;  // the METAR station index the main cycle passes

    ui::FrmMain& main() { return frmMain(); }
    ui::FrmStatus& status() { return frmStatus(); }

    void placeAircraft(double latitude, double longitude) {
        status().lblFSlat.set(caption(latitude));
        status().lblFSlon.set(caption(longitude));
        ASSERT_EQ(parseLeadingNumber(status().lblFSlat.value()), latitude);
        ASSERT_EQ(parseLeadingNumber(status().lblFSlon.value()), longitude);
    }
    void placeAircraftAt(std::string_view stationLine) {
        const stations::Station station = fdStation(stationLine);
        placeAircraft(station.latitude, station.longitude);
    }
    // South of the station on its meridian, where FD_Read computes the largest distance not
    // above `distance`. (No position computes to exactly 500.0: 499.99999999999994 and
    // 500.00000000000006 are the nearest.)
    void placeAircraftAtDistance(std::string_view stationLine, double distance) {
        const stations::Station station = fdStation(stationLine);
        const auto distanceAt = [&station](double latitude) {
            return stations::stationDistance(latitude, station.longitude, station.latitude, station.longitude);
        };
        double latitude = station.latitude - distance / stations::kDistanceFactor;
        for (int ulp = 0; ulp < 64 && distanceAt(latitude) < distance; ++ulp) {
            latitude = std::nextafter(latitude, -1.0);
        }
        for (int ulp = 0; ulp < 64 && distanceAt(latitude) > distance; ++ulp) {
            latitude = std::nextafter(latitude, station.latitude);
        }
        ASSERT_LE(distanceAt(latitude), distance);
        ASSERT_GT(distanceAt(latitude), distance - 1e-12);
        placeAircraft(latitude, station.longitude);
    }

    void run() { FD_Read(context, index); }

    // The model's answer for the aircraft's present position, at the hour of the clock.
    void serveModel() {
        const double toDegrees = 180 / std::numbers::pi;
        const std::string url = gfsRequestUrl(kModelServer, parseLeadingNumber(status().lblFSlat.value()) * toDegrees,
                                              parseLeadingNumber(status().lblFSlon.value()) * toDegrees);
        transfer.serve(url, testing_gfs::gfsAnswer({kModelHour}, {testing_gfs::distinctLevels()}).dump());
    }
};

TEST(FdRead, FetchesTheRegionPagesInOrderAfterSettingTheTimeOut) {
    Bench bench({kSfo});
    bench.placeAircraftAt(kSfo);
    std::vector<std::string> texts;
    bench.main().txtTESTFD.addObserver([&] { texts.push_back(bench.main().txtTESTFD.value()); });

    bench.run();

    std::vector<std::string> expectedUrls;
    for (std::size_t page = 0; page < FdRegionPages.size(); ++page) expectedUrls.push_back(pageUrl(page));
    EXPECT_EQ(bench.transfer.requested, expectedUrls);
    EXPECT_EQ(bench.transfer.timeoutAtFetch, std::vector<std::int32_t>(7, 30));
    EXPECT_EQ(texts, (std::vector<std::string>{"Downloading...", "Processing...", std::string(kSfoSummary)}));
    EXPECT_EQ(bench.winds.rowCount, 212);
}

enum class Shown { Summary, ForcedSummary };

struct RangeCase {
    const char* name;
    double distance;
    std::string altitude;
    bool forced;
    bool fdSetCalled;
    Shown shown;
    bool fdValid;
};

TEST(FdRead, WritesTheWindsWhenHighInRangeAndNotForced) {
    const std::vector<RangeCase> cases{
        {"JustInsideRange", 499.9, "1000", false, true, Shown::Summary, true},
        {"AtTheRangeLimit", 500.0, "1000", false, true, Shown::Summary, true},
        {"AtTheAltitudeThreshold", 0.0, "392", false, false, Shown::Summary, true},
        {"AboveTheAltitudeThreshold", 0.0, "393", false, true, Shown::Summary, true},
        {"AltitudeNotANumber", 0.0, "Link error", false, false, Shown::Summary, true},
        {"ForcedAndHigh", 0.0, "1000", true, false, Shown::ForcedSummary, true},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench({kSfo});
        bench.placeAircraftAtDistance(kSfo, c.distance);
        bench.status().lblAltitude.set(c.altitude);
        bench.state.forcedActive = c.forced;

        bench.run();

        const std::string summary(kSfoSummary);
        switch (c.shown) {
            case Shown::Summary:
                EXPECT_EQ(bench.main().txtTESTFD.value(), summary);
                break;
            case Shown::ForcedSummary:
                EXPECT_EQ(bench.main().txtTESTFD.value(), "(Forced) " + summary);
                break;
        }
        EXPECT_EQ(bench.state.fdValid, c.fdValid);
        EXPECT_EQ(bench.state.fdStationIndex, kSfoRow);
        EXPECT_EQ(bench.main().tempClosestfrmPUB, 1);
        if (c.fdSetCalled) {
            ASSERT_EQ(bench.fdSetCalls.size(), 1u);
            EXPECT_EQ(bench.fdSetCalls[0].row, kSfoRow);
            EXPECT_EQ(bench.fdSetCalls[0].index, &bench.index);  // the caller's index, passed on
            EXPECT_EQ(bench.index, 17);
        } else {
            EXPECT_TRUE(bench.fdSetCalls.empty());
        }
    }
}

enum class Source { Bulletins, Model, Neither };

struct ModelCase {
    const char* name;
    std::string aircraftAt;
    double distance;  // south of aircraftAt
    std::function<void(Bench&)> setUp;
    std::size_t bulletinRequests;
    Source shown;
    bool fdSetCalled;
};

// The bulletins are asked only with an FD station within range; the model, once, where
// there is none, or where the bulletins fail or give no station in range.
TEST(FdRead, AsksTheModelWhereTheBulletinsGiveNoStationInRange) {
    const auto model = [](Bench& bench) { bench.serveModel(); };
    const auto none = [](Bench&) {};
    const std::vector<ModelCase> cases{
        {"InRange", kSfo, 500.0, model, 7, Source::Bulletins, true},
        {"JustBeyondRange", kSfo, 500.1, model, 0, Source::Model, true},
        {"OverAmsterdam", kAms, 0.0, model, 0, Source::Model, true},
        {"BulletinsFail", kSfo, 0.0,
         [](Bench& bench) {
             bench.transfer.pages.erase(pageUrl(2));
             bench.serveModel();
         },
         3, Source::Model, true},
        {"NoStationInRangeInTheBulletins", kHnl, 0.0, model, 7, Source::Model, true},
        {"ForcedOverAmsterdam", kAms, 0.0,
         [](Bench& bench) {
             bench.state.forcedActive = true;
             bench.serveModel();
         },
         0, Source::Model, false},
        {"LowOverAmsterdam", kAms, 0.0,
         [](Bench& bench) {
             bench.status().lblAltitude.set("0");
             bench.serveModel();
         },
         0, Source::Model, false},
        {"ModelFailsOverAmsterdam", kAms, 0.0, none, 0, Source::Neither, false},
        {"BulletinsAndModelFail", kSfo, 0.0, [](Bench& bench) { bench.transfer.pages.erase(pageUrl(0)); }, 1,
         Source::Neither, false},
    };
    for (const ModelCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench({kSfo, kHnl});
        bench.placeAircraftAtDistance(c.aircraftAt, c.distance);
        bench.main().tempClosestfrmPUB = 9;
        c.setUp(bench);

        bench.run();

        EXPECT_EQ(bench.transfer.requestsContaining("/fdwinds/text/"), static_cast<int>(c.bulletinRequests));
        EXPECT_EQ(bench.transfer.requestsContaining("/v1/gfs?"), c.shown == Source::Bulletins ? 0 : 1);
        const std::string forced = bench.state.forcedActive ? "(Forced) " : "";
        switch (c.shown) {
            case Source::Bulletins:
                EXPECT_EQ(bench.main().txtTESTFD.value(), kSfoSummary);
                break;
            case Source::Model:
                EXPECT_EQ(bench.main().txtTESTFD.value(), forced + std::string(kGfsSummary));
                EXPECT_EQ(bench.state.fdStationIndex, 1);
                EXPECT_TRUE(bench.state.fdValid);
                EXPECT_EQ(bench.winds.rowCount, 1);
                break;
            case Source::Neither:
                EXPECT_EQ(bench.main().txtTESTFD.value(), "Download Timeout or Error");
                EXPECT_EQ(bench.winds.rowCount, 0);  // the winds in hand (none) stay
                EXPECT_FALSE(bench.state.fdValid);
                break;
        }
        EXPECT_EQ(bench.fdSetCalls.size(), c.fdSetCalled ? 1u : 0u);
        if (c.bulletinRequests == 0) {
            EXPECT_EQ(bench.main().tempClosestfrmPUB, 9);  // no FD station chosen
        }
    }
}

// A failed model request keeps the model's winds of the last refresh.
TEST(FdRead, FailedModelRequestKeepsTheWindsInHand) {
    Bench bench({kSfo});
    bench.placeAircraftAt(kAms);
    bench.serveModel();
    bench.run();
    const FdWinds previousWinds = bench.winds;
    bench.transfer.pages.clear();

    bench.run();

    EXPECT_EQ(bench.main().txtTESTFD.value(), "Download Timeout or Error");
    EXPECT_TRUE(bench.winds == previousWinds);
    EXPECT_EQ(bench.state.fdStationIndex, 1);
    EXPECT_TRUE(bench.state.fdValid);
}

// The second refresh of a tick, at the same place and hour, takes the model's last answer;
// an hour later the model is asked again.
TEST(FdRead, AsksTheModelOncePerPlaceAndHour) {
    Bench bench({kSfo});
    app::GfsAnswerMemo memo;
    bench.context.modelMemo = &memo;
    bench.placeAircraftAt(kAms);
    bench.serveModel();

    bench.run();
    bench.run();
    EXPECT_EQ(bench.transfer.requestsContaining("/v1/gfs?"), 1);
    EXPECT_EQ(bench.main().txtTESTFD.value(), kGfsSummary);
    EXPECT_EQ(bench.fdSetCalls.size(), 2u);

    bench.context.utcNow = [] {
        return std::chrono::sys_days{std::chrono::year{2026} / 12 / 8} + std::chrono::hours{13};
    };
    bench.run();
    EXPECT_EQ(bench.transfer.requestsContaining("/v1/gfs?"), 2);
    EXPECT_EQ(bench.main().txtTESTFD.value(), "Download Timeout or Error");  // no entry for 13:00
}

struct ChoiceCase {
    const char* name;
    std::vector<std::string> stationLines;
    std::string aircraftAt;
    std::function<void(ScriptedTransfer&)> editPages;
    std::int16_t row;
    std::int16_t stationIndex;
    bool fdValid;
    std::string summaryStart;
};

TEST(FdRead, ChoosesTheNearestListedStationPresentInTheBulletins) {
    const auto noEdits = [](ScriptedTransfer&) {};
    const std::vector<ChoiceCase> cases{
        {"NearestInRange", {kSea, kSac, kSfo}, kSfo, noEdits, kSfoRow, 3, true, "SFO 3K:3215"},
        {"NearestMissingFromTheBulletins", {kSea, kHnl, kSfo}, kHnl, noEdits, kSfoRow, 3, false, "SFO 3K:3215"},
        {"IdsCompareCaseSensitively", {"sfo,N,37,37,W,122,22", kSac}, kSfo, noEdits, kSacRow, 2, true, "SAC 3K:"},
        {"OneCharacterIdNeverMatched",
         {"S,N,37,37,W,122,22", kSac},
         kSfo,
         [](ScriptedTransfer& transfer) { editPage(transfer, 0, "\nAST 2726", "\nS 2726"); },
         kSacRow,
         2,
         true,
         "SAC 3K:"},
        {"IdInTwoBulletinsUsesTheLaterRow",
         {kSfo},
         kSfo,
         [](ScriptedTransfer& transfer) { editPage(transfer, 5, "\nATL 1818", "\nSFO 1818"); },
         kMiamiFirstRow,
         1,
         true,
         "SFO 3K:1818"},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench(c.stationLines);
        c.editPages(bench.transfer);
        bench.placeAircraftAt(c.aircraftAt);

        bench.run();

        EXPECT_EQ(bench.state.fdStationIndex, c.row);
        EXPECT_EQ(bench.main().tempClosestfrmPUB, c.stationIndex);
        EXPECT_EQ(bench.state.fdValid, c.fdValid);
        const std::string shown = bench.main().txtTESTFD.value();
        if (c.fdValid) {
            EXPECT_EQ(shown.substr(0, c.summaryStart.size()), c.summaryStart);
            EXPECT_EQ(shown, FD_DisplayText(bench.winds, c.row));
        } else {
            EXPECT_EQ(shown, "Download Timeout or Error");  // the model, asked next, has no answer here
        }
    }
}

struct FailureCase {
    const char* name;
    std::function<void(ScriptedTransfer&)> breakPages;
    std::size_t fetches;
};

TEST(FdRead, FailedFetchOrCutKeepsThePreviousRun) {
    const auto unanswered = [](std::size_t page) {
        return [page](ScriptedTransfer& transfer) { transfer.pages.erase(pageUrl(page)); };
    };
    const auto body = [](std::size_t page, std::function<std::string(std::string)> change) {
        return [page, change](ScriptedTransfer& transfer) {
            std::string& served = transfer.pages.at(pageUrl(page));
            served = change(served);
        };
    };
    const std::vector<FailureCase> cases{
        {"FirstPageNoAnswer", unanswered(0), 1},
        {"SixthPageNoAnswer", unanswered(5), 6},
        {"FourthPageWithoutPreEnd", body(3, [](std::string page) { return replaceAll(page, "</PRE>", "</pre>"); }), 4},
        {"LastPageEmpty", body(6, [](std::string) { return std::string(); }), 7},
        {"SecondPageOver32767Bytes",
         body(1,
              [](std::string page) {
                  page.resize(32768, ' ');
                  return page;
              }),
         2},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench({kSfo, kBos});
        bench.placeAircraftAt(kSfo);
        bench.run();
        ASSERT_EQ(bench.fdSetCalls.size(), 1u);
        const FdWinds previousWinds = bench.winds;

        // A run that would choose BOS with other temperatures, had it not failed.
        bench.placeAircraftAt(kBos);
        bench.status().lblMETARtemp.set("-3");
        c.breakPages(bench.transfer);
        bench.transfer.requested.clear();
        bench.run();

        EXPECT_EQ(bench.main().txtTESTFD.value(), "Download Timeout or Error");
        EXPECT_EQ(bench.transfer.requestsContaining("/fdwinds/text/"), static_cast<int>(c.fetches));
        EXPECT_TRUE(bench.winds == previousWinds);
        EXPECT_EQ(bench.state.fdStationIndex, kSfoRow);
        EXPECT_TRUE(bench.state.fdValid);
        EXPECT_EQ(bench.main().tempClosestfrmPUB, 1);
        EXPECT_EQ(bench.fdSetCalls.size(), 1u);
    }
}

struct NoChoiceCase {
    const char* name;
    std::vector<std::string> stationLines;
};

TEST(FdRead, NoStationChosenIsAFailureThatClearsTheSelection) {
    const std::vector<NoChoiceCase> cases{
        {"NoListedStationInTheBulletins", {kHnl}},
    };
    for (const NoChoiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench(c.stationLines);
        bench.placeAircraftAt(kHnl);
        bench.state.fdStationIndex = 9;
        bench.state.fdValid = true;
        bench.main().tempClosestfrmPUB = 5;

        bench.run();

        EXPECT_EQ(bench.main().txtTESTFD.value(), "Download Timeout or Error");
        EXPECT_EQ(bench.state.fdStationIndex, 0);
        EXPECT_FALSE(bench.state.fdValid);
        EXPECT_EQ(bench.main().tempClosestfrmPUB, 5);
        EXPECT_TRUE(bench.fdSetCalls.empty());
        EXPECT_EQ(bench.winds.rowCount, 212);  // the rows of this run stay
    }
}

TEST(FdRead, FaultOfTheWriterEndsTheRunAsAFailure) {
    Bench bench({kSfo});
    bench.placeAircraftAt(kSfo);
    bench.fdSetFault = [] { throw RuntimeFault(RuntimeFault::Kind::Overflow, "Overflow"); };

    bench.run();

    EXPECT_EQ(bench.fdSetCalls.size(), 1u);
    EXPECT_EQ(bench.main().txtTESTFD.value(), "Download Timeout or Error");
}

struct EqualDistanceCase {
    const char* name;
    std::vector<std::string> rowIds;
    std::int16_t row;
};

TEST(FdSelectStation, OfStationsAtEqualDistanceTheLowerIndexWins) {
    // Two stations the same distance north and south of the aircraft.
    stations::StationTables tables;
    tables.FdStationList = {{}, {"AAA", 0.1, 0.0, 0}, {"BBB", -0.1, 0.0, 0}};
    tables.FdStationCount = 2;
    const std::vector<EqualDistanceCase> cases{
        {"ListedOrder", {"AAA", "BBB"}, 1},
        {"RowsInOtherOrder", {"BBB", "AAA"}, 2},
    };
    for (const EqualDistanceCase& c : cases) {
        SCOPED_TRACE(c.name);
        FdWinds winds;
        winds.rowCount = static_cast<std::int16_t>(c.rowIds.size());
        for (std::size_t row = 0; row < c.rowIds.size(); ++row) winds.rowId[row + 1] = c.rowIds[row];

        const FdSelection selection = FD_SelectStation(winds, tables, 0.0, 0.0);

        EXPECT_EQ(selection.stationIndex, 1);
        EXPECT_EQ(selection.row, c.row);
        EXPECT_TRUE(selection.inRange);
    }
}

}  // namespace
}  // namespace stratocue::fdwinds
