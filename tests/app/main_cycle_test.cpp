#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

#include "app/simulator_readings.h"
#include "common/sim_offsets.h"
#include "program_fixture.h"
#include "simlink/link.h"

namespace stratocue::app {
namespace {

using testing::ProgramFixture;

std::array<std::byte, 4> word32(std::int32_t value) {
    std::array<std::byte, 4> raw{};
    simlink::writeLe32(raw, 0, value);
    return raw;
}

TEST(Readings, ConvertAndFormatEachKind) {
    const struct {
        const char* name;
        ReadingKind kind;
        std::int32_t word;
        const char* text;
    } cases[] = {
        {"NorthPole", ReadingKind::Latitude, 10001750, "1.570796"},
        {"SouthPole", ReadingKind::Latitude, -10001750, "-1.570796"},
        {"Equator", ReadingKind::Latitude, 0, "0.000000"},
        {"QuarterEast", ReadingKind::Longitude, 1073741824, "1.570796"},
        {"JustUnder180", ReadingKind::Longitude, 2147483647, "3.141593"},
        {"FullCoverage", ReadingKind::Coverage, 65535, " 8"},
        {"HalfCoverage", ReadingKind::Coverage, 32767, " 3.999938963912413"},
        {"NoCoverage", ReadingKind::Coverage, 0, " 0"},
        {"CloudBase", ReadingKind::Whole16, 1200, "1200"},
        {"NegativeWord", ReadingKind::Whole16, 0xFFFF, "-1"},
        {"Warm", ReadingKind::Temperature, 3840, "15"},
        {"Cold", ReadingKind::Temperature, -1280, "-5"},
        {"HalfDegreeTiesToEven", ReadingKind::Temperature, 640, "2"},
        {"AltitudeLowHalf", ReadingKind::Altitude32, 0x00010005, "5"},
        {"AltitudeNegative", ReadingKind::Altitude32, 0x0000FFF6, "-10"},
        {"Clock", ReadingKind::Clock, 0x00090507, "07:05:09"},
        {"ClockLate", ReadingKind::Clock, 0x003B3B17, "23:59:59"},
    };
    for (const auto& c : cases) EXPECT_EQ(readingText(c.kind, word32(c.word)), c.text) << c.name;
}

TEST(Readings, FourteenValuesInTheirOrder) {
    const auto& readings = simulatorReadings();
    using namespace offsets;
    const std::array<SimOffset, 14> expected{kLatitudeWhole,     kLongitudeWhole, kUpperCloudCoverage,
                                             kUpperCloudCeiling, kUpperCloudBase, kLowerCloudCoverage,
                                             kLowerCloudCeiling, kLowerCloudBase, kStormCloudCoverage,
                                             kStormCloudCeiling, kStormCloudBase, kAmbientTemperature,
                                             kAltitudeWhole,     kClock};
    const std::array<std::int32_t, 14> sizes{4, 4, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 4, 3};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(readings[i].value.offset, expected[i].offset) << i;
        EXPECT_EQ(readings[i].value.sizeBytes, sizes[i]) << i;
    }
}

TEST(Readings, TheStatusWindowMakesRoomForEveryFailureTheyCanShow) {
    // Link_Read fails only for a closed link or a bad request; Link_Process also for a
    // timed-out or failed exchange. Each text is among those the views measure.
    const auto longest = ui::FrmStatus::longestLeftValues();
    const auto listed = [&longest](const std::string& text) {
        return std::find(longest.begin(), longest.end(), text) != longest.end();
    };
    for (const std::int32_t code : {simlink::kNotOpen, simlink::kBadData}) {
        EXPECT_TRUE(listed("Reading: " + simlink::ResultTexts(code))) << code;
    }
    for (const std::int32_t code : {simlink::kNotOpen, simlink::kTimedOut, simlink::kSendFailed, simlink::kBadData}) {
        EXPECT_TRUE(listed("Processing: " + simlink::ResultTexts(code))) << code;
    }
    for (std::int32_t simulator = 0; simulator < 10; ++simulator) {
        EXPECT_LE(simlink::SimNames(simulator).size(), std::string_view("FSYETANOTHER").size()) << simulator;
    }
    EXPECT_TRUE(listed("FSYETANOTHER"));
}

class MainCycle : public ::testing::Test {
protected:
    void SetUp() override {
        program.Main();
        ASSERT_TRUE(program.link.isOpen());
    }
    void tick() { program.frmMain().Timer1.fire(); }

    ProgramFixture fixture;
    Program& program = fixture.program;
    standins::OffsetSpace& sim = fixture.simulator.offsets();
};

TEST_F(MainCycle, ShowsWhatTheSimulatorHolds) {
    sim.setLe32(offsets::kLatitudeWhole.offset, 10001750 / 2);                                  // 45 degrees north
    sim.setLe32(offsets::kLongitudeWhole.offset, static_cast<std::uint32_t>(-1073741824 / 2));  // 45 degrees west
    sim.setLe16(offsets::kUpperCloudCoverage.offset, 65535);
    sim.setLe16(offsets::kUpperCloudBase.offset, 3000);
    sim.setLe16(offsets::kAmbientTemperature.offset, static_cast<std::uint16_t>(-1280));
    sim.setLe32(offsets::kAltitudeWhole.offset, 1234);
    sim.setLe32(offsets::kClock.offset, 0x00090507);
    tick();

    const ui::FrmStatus& status = program.frmStatus();
    EXPECT_EQ(status.lblFSlat.value(), "0.785398");
    EXPECT_EQ(status.lblFSlon.value(), "-0.785398");
    EXPECT_EQ(status.lblCLud.value(), " 8");
    EXPECT_EQ(status.lblCLub.value(), "3000");
    EXPECT_EQ(status.lblCLuc.value(), "0");
    EXPECT_EQ(status.lblTemp.value(), "-5");
    EXPECT_EQ(status.lblAltitude.value(), "1234");
    EXPECT_EQ(status.lblClock.value(), "07:05:09");
    EXPECT_NEAR(program.aircraftLatitude(), 0.785398, 1e-6);
    EXPECT_NEAR(program.aircraftLongitude(), -0.785398, 1e-6);
    EXPECT_EQ(program.tickCount(), 1);
}

TEST_F(MainCycle, EveryValueIsItsOwnExchange) {
    // Nothing due in this tick but the readings.
    program.state.refreshNow = false;
    program.frmMain().chkUPDATEONSTATION.set(0);
    const int before = fixture.simulator.sendCount();
    tick();
    EXPECT_EQ(fixture.simulator.sendCount() - before, 14);
}

TEST_F(MainCycle, AClosedLinkShowsTheReasonInEveryLabelAndTheTickGoesOn) {
    program.link.Link_Close();
    int ticksSeen = 0;
    program.afterTick = [&] { ++ticksSeen; };
    tick();
    tick();

    EXPECT_EQ(ticksSeen, 2);
    for (const SimulatorReading& reading : simulatorReadings()) {
        EXPECT_EQ((program.frmStatus().*reading.label).value(), "Reading: Call cannot execute, link not Open");
    }
    EXPECT_EQ(program.aircraftLatitude(), 0.0);
}

TEST_F(MainCycle, AClosedStatusWindowComesBackHiddenWithTheNewValues) {
    program.frmStatus().Show();
    program.frmStatus.destroy();
    sim.setLe32(offsets::kAltitudeWhole.offset, 321);
    tick();
    EXPECT_TRUE(program.frmStatus.exists());
    EXPECT_FALSE(program.frmStatus().visible.value());
    EXPECT_EQ(program.frmStatus().lblAltitude.value(), "321");
    EXPECT_EQ(program.frmStatus().lblSim.value(), ".");
}

TEST_F(MainCycle, AFailedStartEndsTheProgramAtTheNextTick) {
    program.state.startFailed = true;
    tick();
    EXPECT_FALSE(program.anyWindowLeft());
    EXPECT_FALSE(program.link.isOpen());
}

}  // namespace
}  // namespace stratocue::app
