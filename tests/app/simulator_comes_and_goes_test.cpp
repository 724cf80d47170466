// The simulator goes away, hangs and comes back: a failed exchange ends the tick's
// exchanges, and the link is opened again quietly once a server is there.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "app/simulator_readings.h"
#include "common/sim_offsets.h"
#include "program_fixture.h"
#include "simlink/link.h"
#include "simlink/little_endian.h"

namespace stratocue::app {
namespace {

using standins::FakeServerWindows;
using testing::ProgramFixture;

constexpr std::string_view kTimedOutText = "Processing: IPC timed out all retries";
constexpr std::string_view kSendFailedText = "Processing: IPC sendmessage failed all retries";

class SimulatorComesAndGoes : public ::testing::Test {
protected:
    void SetUp() override {
        program.Main();
        ASSERT_TRUE(program.link.isOpen());
        simulator.offsets().setLe32(offsets::kAltitudeWhole.offset, 1234);
    }
    void tick() { program.frmMain().Timer1.fire(); }
    [[nodiscard]] std::string label(std::size_t reading) {
        return (program.frmStatus().*simulatorReadings()[reading].label).value();
    }
    [[nodiscard]] std::string caption() { return program.frmMain().caption.value(); }
    [[nodiscard]] bool messageWrittenSince(std::size_t firstWrite) const {
        const auto& writes = simulator.writes();
        return std::any_of(
            writes.begin() + static_cast<std::ptrdiff_t>(firstWrite), writes.end(),
            [](const standins::FakeWrite& write) { return write.offset == offsets::kMessageText.offset; });
    }

    ProgramFixture fixture;
    Program& program = fixture.program;
    standins::FakeIpcPlatform& simulator = fixture.simulator;
};

TEST_F(SimulatorComesAndGoes, AFailedExchangeEndsTheTicksExchanges) {
    struct Case {
        const char* name;
        std::size_t goodReadings;  // exchanges served before the server fails
        bool gone;                 // the window disappears; otherwise every send times out
        std::string_view text;
        int sendsOfTheFailure;  // gone or hung: no retry at all
    };
    const Case cases[] = {
        {"TimedOutAtTheFirstReading", 0, false, kTimedOutText, 1},
        {"TimedOutAfterFiveReadings", 5, false, kTimedOutText, 1},
        {"GoneAtTheFirstReading", 0, true, kSendFailedText, 1},
        {"GoneAfterThirteenReadings", 13, true, kSendFailedText, 1},
    };
    for (const Case& c : cases) {
        ProgramFixture local;
        local.program.Main();
        auto& fake = local.simulator;
        const std::size_t exchangesBefore = fake.exchanges().size();
        const std::size_t writesBefore = fake.writes().size();
        const auto fail = [&fake, gone = c.gone] {
            if (gone) fake.faults.windows = FakeServerWindows::None;
            if (!gone) fake.faults.everySendFails = true;
        };
        if (c.goodReadings == 0) fail();
        fake.faults.tamper = [&](std::span<std::byte>) {
            if (fake.exchanges().size() - exchangesBefore == c.goodReadings) fail();
        };
        const int sendsBefore = fake.sendCount();
        local.program.frmMain().Timer1.fire();

        EXPECT_EQ(fake.sendCount() - sendsBefore, static_cast<int>(c.goodReadings) + c.sendsOfTheFailure) << c.name;
        for (std::size_t i = 0; i < simulatorReadings().size(); ++i) {
            const std::string text = (local.program.frmStatus().*simulatorReadings()[i].label).value();
            if (i < c.goodReadings) {
                EXPECT_FALSE(text.starts_with("Processing")) << c.name << " reading " << i;
            } else {
                EXPECT_EQ(text, c.text) << c.name << " reading " << i;
            }
        }
        // The weather steps of the tick (a METAR fallback is due) wrote nothing.
        EXPECT_EQ(fake.writes().size(), writesBefore) << c.name;
        EXPECT_EQ(local.program.frmMain().caption.value(),
                  std::string(ui::FrmMain::kDesignCaption) + "Can't connect: " + std::string(c.text.substr(12)))
            << c.name;
    }
}

TEST_F(SimulatorComesAndGoes, ABadReplyIsNoFailureOfTheLink) {
    simulator.faults.reply = 0;
    const int sendsBefore = simulator.sendCount();
    program.state.refreshNow = false;  // nothing due but the readings, each tried
    program.frmMain().chkUPDATEONSTATION.set(0);
    tick();
    EXPECT_EQ(simulator.sendCount() - sendsBefore, 14);
    EXPECT_EQ(label(12), "Processing: IPC request contains bad data");
    EXPECT_EQ(program.link.exchangeFailure(), 0);
    EXPECT_EQ(caption(), "Stratocue 2002 Active");
}

TEST_F(SimulatorComesAndGoes, GoneThenBackOpensAgainAndPutsTheWeatherBack) {
    tick();
    // A report of the chosen station goes in at the next refresh.
    const std::string station = program.frmMain().lblTEMPID.value();
    fixture.transfer.serve("https://aviationweather.gov/api/data/metar?ids=" + station + "&format=raw&hours=3",
                           station + " 081156Z 28012KT 10SM FEW020 17/09 A3002\n");
    program.frmMain().butUPDATEMETAR.click();
    tick();
    ASSERT_TRUE(messageWrittenSince(0));
    EXPECT_EQ(simulator.lastMappingName(), simlink::mappingName(standins::FakeIpcPlatform::kProcessId, 1));

    simulator.faults.windows = FakeServerWindows::None;
    tick();
    EXPECT_EQ(label(0), kSendFailedText);
    EXPECT_EQ(caption(), "Stratocue 2002 Can't connect: IPC sendmessage failed all retries");
    EXPECT_EQ(fixture.eventLog.startingWith("link lost"),
              std::vector<std::string>{"link lost: IPC sendmessage failed all retries"});

    // While it is gone: no exchange at all, the labels keep the failure, the caption says why.
    const int sendsWhileGone = simulator.sendCount();
    tick();
    tick();
    EXPECT_EQ(simulator.sendCount(), sendsWhileGone);
    EXPECT_EQ(label(13), kSendFailedText);
    EXPECT_EQ(caption(), "Stratocue 2002 Can't connect: Cannot link to FSUIPC or WideClient");
    EXPECT_TRUE(program.frmMain.exists());
    EXPECT_TRUE(fixture.messageBoxes.shown.empty());

    // Back: opened again under the next name, the readings show values, the weather goes back in.
    simulator.faults.windows = FakeServerWindows::Both;
    const std::size_t writesBefore = simulator.writes().size();
    tick();
    EXPECT_EQ(caption(), "Stratocue 2002 Active");
    EXPECT_EQ(fixture.eventLog.startingWith("link "),
              (std::vector<std::string>{"link opened: Active", "link lost: IPC sendmessage failed all retries",
                                        "link back: Active"}));
    EXPECT_EQ(simulator.lastMappingName(), simlink::mappingName(standins::FakeIpcPlatform::kProcessId, 2));
    EXPECT_EQ(simulator.lastAtomName(), simulator.lastMappingName());
    EXPECT_EQ(simulator.heldAtoms(), 1U);
    EXPECT_EQ(label(12), "1234");
    EXPECT_TRUE(messageWrittenSince(writesBefore));

    // Only once: the next tick writes nothing (no refresh is due).
    const std::size_t writesAfterReopen = simulator.writes().size();
    tick();
    EXPECT_EQ(simulator.writes().size(), writesAfterReopen);
    EXPECT_TRUE(fixture.messageBoxes.shown.empty());
}

// The simulator back starts from its own weather, so the weather in hand goes in at once
// even with smoothing on, not as a ramp from what was written before it went.
TEST_F(SimulatorComesAndGoes, WeatherPutBackGoesInAtOnceWhenSmoothed) {
    tick();
    program.frmMain().chkSMOOTH.set(1);
    program.state.lastMetarText = "AAAA 081156Z 28012KT 10SM FEW020 17/09 A3002";  // a report in hand
    const auto goneAndBackWith = [&](const char* pressureHpa) {
        program.frmStatus().lblMETARalt.set(pressureHpa);
        simulator.faults.windows = FakeServerWindows::None;
        tick();
        tick();
        simulator.faults.windows = FakeServerWindows::Both;
        tick();
    };
    goneAndBackWith("1013");
    goneAndBackWith("1019");
    EXPECT_EQ(program.frmMain().caption.value(), "Stratocue 2002 Active");
    std::optional<std::int32_t> pressure;
    for (const standins::FakeWrite& write : simulator.writes()) {
        if (write.offset == offsets::kPressure.offset) pressure = simlink::readLe16(write.bytes);
    }
    EXPECT_EQ(pressure, 1019 * 16);
}

TEST_F(SimulatorComesAndGoes, AHungServerIsOpenedAgainOnceItAnswers) {
    tick();
    simulator.faults.hung = true;  // there, but every send times out
    tick();
    EXPECT_EQ(label(0), kTimedOutText);
    // While it is hung, a tick asks it without waiting: no send, no pause, no new open.
    const int sendsWhileHung = simulator.sendCount();
    const std::size_t pausesWhileHung = simulator.sleeps().size();
    const std::uint32_t opensWhileHung = program.link.openCount();
    tick();
    tick();
    EXPECT_EQ(simulator.sendCount(), sendsWhileHung);
    EXPECT_EQ(simulator.sleeps().size(), pausesWhileHung);
    EXPECT_EQ(program.link.openCount(), opensWhileHung);
    EXPECT_EQ(label(0), kTimedOutText);
    EXPECT_EQ(caption(), "Stratocue 2002 Can't connect: IPC timed out all retries");

    simulator.faults.hung = false;
    tick();
    EXPECT_EQ(caption(), "Stratocue 2002 Active");
    EXPECT_EQ(label(12), "1234");
    EXPECT_EQ(simulator.lastMappingName(), simlink::mappingName(standins::FakeIpcPlatform::kProcessId, 2));
}

}  // namespace
}  // namespace stratocue::app
