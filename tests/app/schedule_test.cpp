#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/station_search.h"
#include "common/sim_offsets.h"
#include "common/units.h"
#include "program_fixture.h"
#include "stations/station_distance.h"
#include "tests/support/temp_folder.h"

namespace stratocue::app {
namespace {

using testing::ProgramFixture;

stations::Station stationAt(std::string id, double latitudeDegrees, double longitudeDegrees) {
    constexpr double kRadiansPerDegree = 1 / units::kDegreesPerRadian;
    return {std::move(id), latitudeDegrees * kRadiansPerDegree, longitudeDegrees * kRadiansPerDegree, 0};
}

stations::StationTables tablesOf(std::initializer_list<stations::Station> list) {
    stations::StationTables tables;
    tables.StationList.push_back({});  // index 0 is never used
    for (const auto& station : list) tables.StationList.push_back(station);
    tables.StationCount = static_cast<std::int32_t>(list.size());
    return tables;
}

TEST(StationSearch, NearestFirstListedForcedWithinRange) {
    // One degree of latitude is 3963.1 / 57.29577951 = 69.17 units.
    const auto tables = tablesOf(
        {stationAt("AAAA", 1, 0), stationAt("BBBB", -1, 0), stationAt("KSFO", 0, 0), stationAt("FORC", 0.8, 0)});
    struct Case {
        const char* name;
        double aircraftLatitudeDegrees;
        std::string forcedId;
        std::int16_t forcedRange;
        bool forcedActiveBefore;
        std::int16_t expectedIndex;
        bool expectedForcedActive;
    };
    const Case cases[] = {
        {"ExactlyAtAStation", 0, "", 60, false, 3, false},
        {"JustOffAStation", 0.0001, "", 60, false, 3, false},
        {"ForcedLowerCaseWithinRange", 0, "forc", 60, false, 4, true},  // 55.3 units away
        {"ForcedOutOfRangeIsOrdinary", 0, "FORC", 55, true, 3, false},
        {"ThreeCharactersNeverMatch", 0, "FOR", 60, true, 3, true},
        {"FiveCharactersNeverMatch", 0, "FORCE", 60, true, 3, true},
        {"ForcedNotListedKeepsTheFlag", 0, "ZZZZ", 60, true, 3, true},
    };
    for (const Case& c : cases) {
        bool forcedActive = c.forcedActiveBefore;
        std::int16_t tempClosest = 0;
        const StationChoice choice = findStation(tables, c.aircraftLatitudeDegrees / units::kDegreesPerRadian, 0,
                                                 c.forcedId, c.forcedRange, forcedActive, tempClosest);
        EXPECT_EQ(choice.closestIndex, c.expectedIndex) << c.name;
        EXPECT_EQ(forcedActive, c.expectedForcedActive) << c.name;
        EXPECT_EQ(tempClosest, c.expectedIndex) << c.name;
    }
}

TEST(StationSearch, TieBetweenTwoGoesToTheFirstListed) {
    // One degree north and one degree south of the aircraft, listed in either order.
    const double unitsPerDegree = 3963.1 / units::kDegreesPerRadian;
    for (const bool northFirst : {true, false}) {
        const auto north = stationAt("NRTH", 1, 0);
        const auto south = stationAt("STH", -1, 0);
        const auto tables = northFirst ? tablesOf({north, south}) : tablesOf({south, north});
        bool flag = false;
        std::int16_t temp = 0;
        const StationChoice choice = findStation(tables, 0, 0, "", 60, flag, temp);
        EXPECT_EQ(choice.closestIndex, 1) << northFirst;
        EXPECT_NEAR(choice.closestDistance, unitsPerDegree, 1e-6) << northFirst;
    }
}

TEST(StationSearch, NeighboursNearestFirstWithinRangeAtMostAsMany) {
    // One degree of latitude is 69.17 units: 0.7 degrees lie within 50, 0.8 beyond.
    const auto tables = tablesOf({stationAt("CHSN", 0, 0), stationAt("N020", 0.2, 0), stationAt("N010", 0.1, 0),
                                  stationAt("S010", -0.1, 0), stationAt("N080", 0.8, 0), stationAt("N040", 0.4, 0),
                                  stationAt("N070", 0.7, 0), stationAt("N060", 0.6, 0)});
    const struct {
        const char* name;
        std::size_t most;
        std::vector<std::int16_t> expected;
    } cases[] = {
        {"FiveNearestEqualDistancesInListOrder", 5, {3, 4, 2, 6, 8}},
        {"AllWithinRangeWithoutTheChosen", 10, {3, 4, 2, 6, 8, 7}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(neighbourStations(tables, 0, 0, 1, c.most, kNeighbourRange), c.expected) << c.name;
    }
}

TEST(StationSearch, ForcedStationJustInsideAndAtItsRange) {
    const double unitsPerRadian = 3963.1;
    for (const auto& [distance, expectForced] : {std::pair{59.9, true}, std::pair{60.0, false}}) {
        const double latitude = distance / unitsPerRadian * units::kDegreesPerRadian;
        const auto tables = tablesOf({stationAt("NEAR", 0.01, 0), stationAt("KXYZ", latitude, 0)});
        bool forcedActive = false;
        std::int16_t temp = 0;
        const StationChoice choice = findStation(tables, 0, 0, "kxyz", 60, forcedActive, temp);
        EXPECT_EQ(forcedActive, expectForced) << distance;
        EXPECT_EQ(choice.closestIndex, expectForced ? 2 : 1) << distance;
    }
}

TEST(StationSearch, EmptyListKeepsTheStartValues) {
    const auto tables = tablesOf({});
    bool forcedActive = false;
    std::int16_t temp = 7;
    const StationChoice choice = findStation(tables, 0.5, 0.5, "", 60, forcedActive, temp);
    EXPECT_EQ(choice.closestIndex, 1);
    EXPECT_EQ(choice.closestDistance, kNoStationDistance);
    EXPECT_EQ(temp, 7);
}

// Two stations one degree apart, both at sea level.
const std::string kTwoStations = "AAAA,N,0,0,E,0,0,0\r\nBBBB,N,1,0,E,0,0,0\r\n";

// Fills `folder` as a working folder with the stations (two by default) and one FD
// station; lines end with carriage return + line feed as the program reads them.
const std::filesystem::path& twoStationFolder(const test_support::TempFolder& folder,
                                              const std::string& stations = kTwoStations) {
    folder.write("icao.txt", stations);
    folder.write("fdwinds.txt", "FDX,N,0,0,E,0,0\r\n");
    return folder.path();
}

const std::string kAaaaReport = "AAAA 081156Z 28012KT 10SM FEW020 17/09 A3002";
std::string dataApiUrl(const std::string& id) {
    return "https://aviationweather.gov/api/data/metar?ids=" + id + "&format=raw&hours=3";
}

// The program over two stations, its aircraft placed and its ticks fired by hand.
struct CycleBench {
    explicit CycleBench(std::string stationLines = kTwoStations) : stations(std::move(stationLines)) { program.Main(); }

    void placeAircraft(double latitudeDegrees, std::int32_t altitudeMetres) {
        fixture.simulator.offsets().setLe32(
            offsets::kLatitudeWhole.offset,
            static_cast<std::uint32_t>(std::lround(latitudeDegrees * units::kLatitudeUnitsPer90Degrees / 90)));
        fixture.simulator.offsets().setLe32(offsets::kLongitudeWhole.offset, 0);
        fixture.simulator.offsets().setLe32(offsets::kAltitudeWhole.offset, static_cast<std::uint32_t>(altitudeMetres));
    }
    void tick() { program.frmMain().Timer1.fire(); }
    // Every call of the surface writer writes the gust once.
    [[nodiscard]] int surfaceWrites() const { return writesAt(offsets::kGust.offset); }
    [[nodiscard]] int messages() const { return writesAt(offsets::kMessageText.offset); }
    [[nodiscard]] int writesAt(std::uint32_t offset) const {
        int count = 0;
        for (const auto& write : fixture.simulator.writes()) count += write.offset == offset ? 1 : 0;
        return count;
    }
    int surfaceWritesDuringTick() {
        const int before = surfaceWrites();
        tick();
        return surfaceWrites() - before;
    }

    // Calls of the winds-aloft writer, told by their on-screen message.
    [[nodiscard]] int windsAloftWrites() const {
        int count = 0;
        for (const auto& write : fixture.simulator.writes()) {
            const std::string text(reinterpret_cast<const char*>(write.bytes.data()), write.bytes.size());
            count += write.offset == offsets::kMessageText.offset && text.find("FD Winds Aloft") != std::string::npos
                         ? 1
                         : 0;
        }
        return count;
    }
    // Winds aloft in use: one decoded bulletin row for the FD station.
    void useWindsAloft() {
        program.FdWinds.rowCount = 1;
        program.FdWinds.rowId[1] = "FDX";
        for (auto& level : program.FdWinds.levels[1]) level = {27, 20, 10};
        program.state.fdValid = true;
        program.state.fdStationIndex = 1;
    }

    // On-screen messages written, winds-aloft ones included.
    [[nodiscard]] int messagesWritten() const {
        return static_cast<int>(std::count_if(
            fixture.simulator.writes().begin(), fixture.simulator.writes().end(),
            [](const standins::FakeWrite& write) { return write.offset == offsets::kMessageText.offset; }));
    }
    // The simulator is gone for `ticks` ticks and is there again for the next one.
    void outage(int ticks) {
        fixture.simulator.faults.windows = standins::FakeServerWindows::None;
        for (int i = 0; i < ticks; ++i) tick();
        fixture.simulator.faults.windows = standins::FakeServerWindows::Both;
    }

    std::string stations;
    test_support::TempFolder folder;
    ProgramFixture fixture{twoStationFolder(folder, stations)};
    Program& program = fixture.program;
};

// The first tick has applied AAAA's report; BBBB has none to give.
class Schedule : public ::testing::Test, protected CycleBench {
protected:
    void SetUp() override {
        ASSERT_TRUE(program.link.isOpen());
        fixture.transfer.serve(dataApiUrl("AAAA"), kAaaaReport + "\n");
        placeAircraft(0, 900);
        tick();  // the first tick refreshes everything
        ASSERT_EQ(program.state.lastMetarText, kAaaaReport);
    }
};

struct NothingToApplyCase {
    const char* name;
    std::string dataApiAnswer;  // none: both services fail
    std::string shown;          // how txtMETARstr starts
};

TEST(NothingInvented, ARefreshWithoutAUsableReportWritesNothing) {
    const std::vector<NothingToApplyCase> cases{
        {"NoCurrentReport", "\n", "No current report within 50 nm of AAAA"},
        {"EveryServiceFails", "", "METAR download failed: "},
        {"ReportThatCannotBeDecoded", "AAAA 081156Z 28012KT 1/0SM 17/09 A3002\n", "METAR could not be decoded: "},
    };
    for (const NothingToApplyCase& c : cases) {
        for (const bool firstRefresh : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (firstRefresh ? " first refresh" : " after a report"));
            CycleBench bench;
            const std::size_t writesAtStart = bench.fixture.simulator.writes().size();
            bench.placeAircraft(0, 900);
            if (!firstRefresh) {
                bench.fixture.transfer.serve(dataApiUrl("AAAA"), kAaaaReport + "\n");
                bench.tick();
                bench.fixture.transfer.pages.clear();
            }
            if (!c.dataApiAnswer.empty()) bench.fixture.transfer.serve(dataApiUrl("AAAA"), c.dataApiAnswer);
            const std::string inHand = bench.program.state.lastMetarText;
            const int surfaceBefore = bench.surfaceWrites();
            const int messagesBefore = bench.messages();

            bench.program.frmMain().butUPDATEMETAR.click();
            bench.tick();  // the refresh finds nothing to apply
            const std::string shown = bench.program.frmMain().txtMETARstr.value();
            bench.placeAircraft(0, 2500);  // a climb the surface weather follows
            bench.tick();
            bench.program.state.fdTicks = bench.program.state.fdPeriodTicks;  // the winds-aloft schedule falls due
            bench.tick();

            EXPECT_EQ(shown.substr(0, c.shown.size()), c.shown);
            EXPECT_EQ(bench.program.state.lastMetarText, inHand);
            if (firstRefresh) {
                EXPECT_EQ(bench.surfaceWrites() - surfaceBefore, 0);
                EXPECT_EQ(bench.messages() - messagesBefore, 0);
                EXPECT_EQ(bench.fixture.simulator.writes().size(), writesAtStart);
            } else {
                // Only the climb re-applies the wind of the report in hand.
                EXPECT_EQ(bench.surfaceWrites() - surfaceBefore, 2);
                EXPECT_EQ(bench.program.frmStatus().lblMETARalt.value(), "1016");
            }
        }
    }
}

TEST(NearestStationThatReports, ANeighboursReportGoesInWithItsElevation) {
    // CCCC lies 6 minutes (6.9 units) north of AAAA and 300 m higher.
    const std::string stations = "AAAA,N,0,0,E,0,0,0\r\nCCCC,N,0,6,E,0,0,300\r\n";
    const struct {
        const char* name;
        std::string reporting;
        std::string neighbourAnswer;
    } cases[] = {{"NearestReports", "AAAA", ""}, {"SilentNearestNeighbourReports", "CCCC", "\n"}};
    std::vector<int> layer2Bases;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CycleBench bench(stations);
        const std::string report = c.reporting + " 081156Z 28012KT 10SM FEW020 17/09 A3002";
        bench.fixture.transfer.serve(dataApiUrl("AAAA"), c.reporting == "AAAA" ? report + "\n" : "\n");
        bench.fixture.transfer.serve(dataApiUrl("CCCC"), report + "\n");
        bench.placeAircraft(0, 900);
        bench.tick();

        EXPECT_EQ(bench.program.frmMain().lblTEMPID.value(), "AAAA");
        EXPECT_EQ(bench.program.state.lastMetarText, report);
        for (const auto& write : bench.fixture.simulator.writes()) {
            if (write.offset == offsets::kLayer2Base.offset) {
                layer2Bases.push_back(std::to_integer<int>(write.bytes[0]) +
                                      256 * std::to_integer<int>(write.bytes[1]));
                break;
            }
        }
    }
    ASSERT_EQ(layer2Bases.size(), 2u);
    EXPECT_EQ(layer2Bases[1] - layer2Bases[0], 300);  // the cloud base stands on the reporting station
}

TEST_F(Schedule, NothingWrittenWhileTheStatusWindowHasLostTheReport) {
    program.state.lastSetAltitude = 0;
    program.frmStatus.destroy();  // its labels held the decoded report
    placeAircraft(0, 2500);       // a climb that re-applies the surface weather before the refresh
    const std::size_t writesBefore = fixture.simulator.writes().size();
    tick();
    // Only the report's own wind goes in (after the refresh decoded it again), never none.
    std::vector<int> windSpeeds;
    for (std::size_t i = writesBefore; i < fixture.simulator.writes().size(); ++i) {
        const auto& write = fixture.simulator.writes()[i];
        if (write.offset == offsets::kWindSpeed.offset) windSpeeds.push_back(std::to_integer<int>(write.bytes[0]));
    }
    ASSERT_EQ(windSpeeds.size(), 1u);
    EXPECT_GE(windSpeeds[0], 12);  // the report's 12 kt, more with the height
    EXPECT_EQ(program.frmStatus().lblMETARalt.value(), "1016");
}

TEST_F(Schedule, WindsAloftReappliedAfterMoreThan3000Feet) {
    useWindsAloft();
    program.state.lastSetAltitude = 900;
    placeAircraft(0, 1800);  // 900 m more: nothing
    tick();
    EXPECT_EQ(windsAloftWrites(), 0);

    placeAircraft(0, 1814);  // 914 m more than the last re-application
    const int surfaceBefore = surfaceWrites();
    tick();
    EXPECT_EQ(windsAloftWrites(), 1);
    EXPECT_EQ(surfaceWrites() - surfaceBefore, 2);  // FD_Set's gust, then the wind part
    EXPECT_EQ(program.state.lastSetAltitude, 1814);
    EXPECT_FALSE(program.state.altitudeSet);

    placeAircraft(0, 900);  // down again by 914 m
    tick();
    EXPECT_EQ(windsAloftWrites(), 2);
}

TEST_F(Schedule, ForcedStationKeepsTheWindsAloftCaseOut) {
    useWindsAloft();
    program.state.forcedId = "BBBB";
    program.state.forcedRange = 100;
    program.state.lastSetAltitude = 0;
    placeAircraft(0, 3000);
    tick();
    EXPECT_TRUE(program.state.forcedActive);
    EXPECT_EQ(windsAloftWrites(), 0);
    EXPECT_EQ(program.state.lastSetAltitude, 3000);  // the surface-only case applied instead
}

TEST_F(Schedule, ATickThatFallsDueDuringADownloadIsSkipped) {
    int innerTicks = 0;
    fixture.transfer.onRequest = [&] {
        program.frmMain().Timer1.fire();  // the timer fires while the page is awaited
        ++innerTicks;
    };
    program.frmMain().butUPDATEMETAR.click();
    const int before = program.tickCount();
    tick();
    EXPECT_GT(innerTicks, 0);
    EXPECT_EQ(program.tickCount(), before + 1);
}

TEST_F(Schedule, AFaultEndsOnlyThatTick) {
    // Taking an altitude beyond 16 bits is a fault: the tick ends, the next one runs.
    program.state.lastSetAltitude = -32000;
    program.frmMain().butUPDATEMETAR.click();
    const int requestsBefore = fixture.transfer.requestsContaining("metar?ids=");
    placeAircraft(0, 100);
    program.stations.StationList[1].elevation = 1000;
    tick();
    EXPECT_EQ(fixture.transfer.requestsContaining("metar?ids="), requestsBefore);  // the schedule never ran
    EXPECT_TRUE(program.link.isOpen());

    program.state.lastSetAltitude = 0;
    tick();
    EXPECT_EQ(fixture.transfer.requestsContaining("metar?ids="), requestsBefore + 1);
    EXPECT_EQ(program.frmStatus().lblAltitude.value(), "100");
}

TEST_F(Schedule, FirstTickFetchesEverythingAndFillsTheIntervalBoxes) {
    EXPECT_EQ(fixture.transfer.requestsContaining("metar?ids=AAAA"), 1);
    EXPECT_EQ(fixture.transfer.requestsContaining("region=sfo&"), 1);
    EXPECT_EQ(program.frmMain().txtREPEATMETAR.value(), " 5");
    EXPECT_EQ(program.frmMain().txtREPEATFD.value(), " 10");
    EXPECT_EQ(program.state.metarPeriodTicks, 60);
    EXPECT_EQ(program.state.fdPeriodTicks, 120);
    EXPECT_FALSE(program.state.refreshNow);
    EXPECT_EQ(program.frmMain().lblTEMPID.value(), "AAAA");
    EXPECT_EQ(program.frmMain().lblTEMPdist.value(), "0.0");
    EXPECT_EQ(program.frmStatus().lblTEMPID.value(), "AAAA");
    EXPECT_EQ(program.frmMain().txtTESTFD.value(), "Download Timeout or Error");
    // The report is served, the winds-aloft pages are not: the failure is in the log with the
    // text shown.
    EXPECT_EQ(fixture.eventLog.startingWith("failure: "),
              (std::vector<std::string>{"failure: no winds aloft: Download Timeout or Error"}));
}

TEST_F(Schedule, IntervalBoxes) {
    const struct {
        const char* metarText;
        const char* fdText;
        const char* metarShown;
        const char* fdShown;
        std::int16_t metarTicks;
        std::int16_t fdTicks;
    } cases[] = {
        {"2.9", "120", "2.9", "120", 24, 1440}, {"0.5", "121", " 5", " 10", 60, 120}, {"60", "1", "60", "1", 720, 12},
        {"61", "0", " 5", " 10", 60, 120},      {"abc", "-3", " 5", " 10", 60, 120},
    };
    for (const auto& c : cases) {
        program.frmMain().txtREPEATMETAR.set(c.metarText);
        program.frmMain().txtREPEATFD.set(c.fdText);
        tick();
        EXPECT_EQ(program.frmMain().txtREPEATMETAR.value(), c.metarShown) << c.metarText;
        EXPECT_EQ(program.frmMain().txtREPEATFD.value(), c.fdShown) << c.fdText;
        EXPECT_EQ(program.state.metarPeriodTicks, c.metarTicks) << c.metarText;
        EXPECT_EQ(program.state.fdPeriodTicks, c.fdTicks) << c.fdText;
    }
}

TEST_F(Schedule, SurfaceWeatherReappliedOnceWhenDescendingThrough2500Feet) {
    program.state.lastSetAltitude = 900;
    placeAircraft(0, 800);
    EXPECT_EQ(surfaceWritesDuringTick(), 0);
    placeAircraft(0, 700);
    EXPECT_EQ(surfaceWritesDuringTick(), 1);
    EXPECT_EQ(program.state.lastSetAltitude, 700);
    placeAircraft(0, 600);
    EXPECT_EQ(surfaceWritesDuringTick(), 0);
}

TEST_F(Schedule, ClimbReappliesTheWindAfterMoreThan1000Metres) {
    program.state.lastSetAltitude = 0;
    placeAircraft(0, 1000);
    EXPECT_EQ(surfaceWritesDuringTick(), 0);
    placeAircraft(0, 1001);
    const auto writesBefore = fixture.simulator.writes().size();
    EXPECT_EQ(surfaceWritesDuringTick(), 1);
    EXPECT_EQ(program.state.lastSetAltitude, 1001);
    EXPECT_FALSE(program.state.altitudeSet);  // the wind part clears it again
    // Only the wind part runs: no cloud layer is written.
    for (auto i = writesBefore; i < fixture.simulator.writes().size(); ++i) {
        EXPECT_NE(fixture.simulator.writes()[i].offset, offsets::kLayer2Type.offset);
    }
}

TEST_F(Schedule, NoAltitudeReapplicationWithoutWindsAloftSimulation) {
    program.frmMain().chkWINDSALOFT.set(0);
    program.state.lastSetAltitude = 0;
    placeAircraft(0, 3000);
    EXPECT_EQ(surfaceWritesDuringTick(), 0);
}

TEST_F(Schedule, RefreshMetarFetchesAtTheNextTick) {
    const int before = fixture.transfer.requestsContaining("metar?ids=");
    tick();
    EXPECT_EQ(fixture.transfer.requestsContaining("metar?ids="), before);
    program.frmMain().butUPDATEMETAR.click();
    tick();
    EXPECT_EQ(fixture.transfer.requestsContaining("metar?ids="), before + 1);
}

TEST_F(Schedule, MetarPeriodCountsTicks) {
    program.frmMain().txtREPEATMETAR.set("1");  // 12 ticks
    const int before = fixture.transfer.requestsContaining("metar?ids=");
    for (int i = 0; i < 11; ++i) tick();
    EXPECT_EQ(fixture.transfer.requestsContaining("metar?ids="), before);
    tick();
    EXPECT_EQ(fixture.transfer.requestsContaining("metar?ids="), before + 1);
}

TEST_F(Schedule, NewStationFetchesAtOnceOnlyWhenAsked) {
    placeAircraft(1, 900);
    tick();
    EXPECT_EQ(fixture.transfer.requestsContaining("metar?ids=BBBB"), 1);

    program.frmMain().chkUPDATEONSTATION.set(0);
    placeAircraft(0, 900);
    tick();
    EXPECT_EQ(fixture.transfer.requestsContaining("metar?ids=AAAA"), 1);  // only the first tick's
}

TEST_F(Schedule, NewStationWithUpdateFdFetchesTheWindsTwice) {
    program.frmMain().chkUPDATEFDONSTATION.set(1);
    const int fdBefore = fixture.transfer.requestsContaining("region=sfo&");
    placeAircraft(1, 900);
    const int surfaceBefore = surfaceWrites();
    tick();
    EXPECT_EQ(fixture.transfer.requestsContaining("region=sfo&") - fdBefore, 2);
    EXPECT_EQ(surfaceWrites() - surfaceBefore, 1);  // the report text did not change
}

TEST_F(Schedule, ClosingTheStatusWindowRefreshesBoth) {
    const int metarBefore = fixture.transfer.requestsContaining("metar?ids=");
    const int fdBefore = fixture.transfer.requestsContaining("region=sfo&");
    program.frmStatus.destroy();
    tick();
    EXPECT_EQ(fixture.transfer.requestsContaining("metar?ids=") - metarBefore, 1);
    EXPECT_EQ(fixture.transfer.requestsContaining("region=sfo&") - fdBefore, 1);
}

TEST_F(Schedule, ForceCheckUnchecksWithAnEmptyRange) {
    program.frmMain().chkDEST.set(1);
    program.state.forcedId = "BBBB";
    program.frmMain().txtMETARRANGE.set("");
    tick();
    EXPECT_EQ(program.frmMain().chkDEST.value(), 0);
    EXPECT_EQ(program.state.forcedId, "");
}

TEST_F(Schedule, ForcedStationIsUsedWithinItsRange) {
    program.state.forcedId = "bbbb";
    program.state.forcedRange = 100;
    tick();
    EXPECT_EQ(program.frmMain().lblTEMPID.value(), "BBBB");
    EXPECT_EQ(program.frmMain().lblTEMPdist.value(), "69.2");
    EXPECT_TRUE(program.state.forcedActive);
}

TEST_F(Schedule, AnOutageLongerThanBothPeriodsChangesNothingThenRefreshesAfterTheWeatherGoesBack) {
    useWindsAloft();
    placeAircraft(1, 900);  // at BBBB
    tick();
    program.state.lastSetAltitude = 900;
    const ProgramState before = program.state;
    const std::string report = program.frmStatus().lblMETARwinddir.value();
    const std::size_t requestsBefore = fixture.transfer.requested.size();

    placeAircraft(0, 2000);  // the readings fail, so neither counts
    const int outageTicks = std::max(before.metarPeriodTicks, before.fdPeriodTicks) + 5;
    outage(outageTicks);
    EXPECT_EQ(fixture.transfer.requested.size(), requestsBefore);
    EXPECT_EQ(program.frmMain().lblTEMPID.value(), "BBBB");
    EXPECT_EQ(program.frmMain().lblTEMPdist.value(), "0.0");
    EXPECT_EQ(program.frmStatus().lblMETARwinddir.value(), report);
    ProgramState counted = before;
    counted.metarTicks = static_cast<std::int16_t>(before.metarTicks + outageTicks);
    counted.fdTicks = static_cast<std::int16_t>(before.fdTicks + outageTicks);
    EXPECT_EQ(program.state, counted);

    // Back at BBBB: the weather in hand goes in first, then the refreshes that fell due.
    placeAircraft(1, 2000);
    const int metarFetchesBefore = fixture.transfer.requestsContaining("metar?ids=");
    const int fdFetchesBefore = fixture.transfer.requestsContaining("region=");
    const std::size_t writesBefore = fixture.simulator.writes().size();
    std::size_t writesAtFirstFetch = 0;
    fixture.transfer.onRequest = [&] {
        if (writesAtFirstFetch == 0) writesAtFirstFetch = fixture.simulator.writes().size();
    };
    tick();
    EXPECT_GT(writesAtFirstFetch, writesBefore);
    EXPECT_GT(fixture.transfer.requestsContaining("metar?ids="), metarFetchesBefore);
    EXPECT_GT(fixture.transfer.requestsContaining("region="), fdFetchesBefore);
}

TEST_F(Schedule, TheReopenTickPutsTheWeatherInHandBackOnce) {
    struct Case {
        const char* name;
        bool windsAloft;
        bool forced;
        bool metarInHand;
        int expectedWindsAloftWrites;
        int expectedMessages;
        int expectedSurfaceWrites;  // each writer call writes the gust once
    };
    const Case cases[] = {
        {"MetarAndWindsAloft", true, false, true, 1, 2, 2},
        {"NoWindsAloftInUse", false, false, true, 0, 1, 1},
        {"ForcedStationTakesNoWindsAloft", true, true, true, 0, 1, 1},
        {"NoMetarYet", true, false, false, 0, 0, 0},
    };
    useWindsAloft();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        program.state.fdValid = c.windsAloft;
        program.state.forcedId = c.forced ? "AAAA" : "";
        program.state.forcedActive = c.forced;
        if (!c.metarInHand) program.state.lastMetarText = ProgramState{}.lastMetarText;
        program.state.lastSetAltitude = 900;
        placeAircraft(0, 900);
        tick();
        outage(2);

        // The simulator restarts 2100 m higher: that altitude is taken, no altitude case fires.
        placeAircraft(0, 3000);
        const int windsAloftBefore = windsAloftWrites();
        const int messagesBefore = messagesWritten();
        EXPECT_EQ(surfaceWritesDuringTick(), c.expectedSurfaceWrites);
        EXPECT_EQ(windsAloftWrites() - windsAloftBefore, c.expectedWindsAloftWrites);
        EXPECT_EQ(messagesWritten() - messagesBefore, c.expectedMessages);
        EXPECT_EQ(program.state.lastSetAltitude, 3000);
        const int messagesAfter = messagesWritten();
        tick();
        EXPECT_EQ(messagesWritten(), messagesAfter);  // once
    }
}

}  // namespace
}  // namespace stratocue::app
