#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
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

// Fills `folder` as a working folder with two stations one degree apart, both at sea
// level, and one FD station; lines end with carriage return + line feed as the program
// reads them.
const std::filesystem::path& twoStationFolder(const test_support::TempFolder& folder) {
    folder.write("icao.txt", "AAAA,N,0,0,E,0,0,0\r\nBBBB,N,1,0,E,0,0,0\r\n");
    folder.write("fdwinds.txt", "FDX,N,0,0,E,0,0\r\n");
    return folder.path();
}

class Schedule : public ::testing::Test {
protected:
    void SetUp() override {
        program.Main();
        ASSERT_TRUE(program.link.isOpen());
        placeAircraft(0, 900);
        tick();  // the first tick refreshes everything
    }
    void placeAircraft(double latitudeDegrees, std::int32_t altitudeMetres) {
        fixture.simulator.offsets().setLe32(
            offsets::kLatitudeWhole.offset,
            static_cast<std::uint32_t>(std::lround(latitudeDegrees * units::kLatitudeUnitsPer90Degrees / 90)));
        fixture.simulator.offsets().setLe32(offsets::kLongitudeWhole.offset, 0);
        fixture.simulator.offsets().setLe32(offsets::kAltitudeWhole.offset, static_cast<std::uint32_t>(altitudeMetres));
    }
    void tick() { program.frmMain().Timer1.fire(); }
    // Every call of the surface writer writes the gust once.
    [[nodiscard]] int surfaceWrites() const {
        int count = 0;
        for (const auto& write : fixture.simulator.writes()) count += write.offset == offsets::kGust.offset ? 1 : 0;
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

    test_support::TempFolder folder;
    ProgramFixture fixture{twoStationFolder(folder)};
    Program& program = fixture.program;
};

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
    // Neither page is served: both failures are in the log with the texts shown.
    EXPECT_EQ(fixture.eventLog.startingWith("failure: "),
              (std::vector<std::string>{"failure: no METAR for station AAAA: " + program.frmMain().txtMETARstr.value(),
                                        "failure: no winds aloft: Download Timeout or Error"}));
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

}  // namespace
}  // namespace stratocue::app
