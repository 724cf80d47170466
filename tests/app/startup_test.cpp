#include <gtest/gtest.h>

#include <filesystem>

#include "app/version_text.h"
#include "program_fixture.h"
#include "tests/support/temp_folder.h"

namespace stratocue::app {
namespace {

using testing::ProgramFixture;

TEST(VersionText, DigitsAndBuildLetter) {
    const struct {
        std::int32_t word;
        const char* text;
    } cases[] = {
        {0x28100000, "2.810"},
        {0x28100004, "2.810d"},
        {0x28100001, "2.810a"},
        {0x19980005, "1.998e"},
        {0x28100100, "2.810`"},                            // low byte 0, other low bits set: the character before "a"
        {static_cast<std::int32_t>(0x3A000000), "3.:00"},  // a digit above 9 is not a hex letter
    };
    for (const auto& c : cases) EXPECT_EQ(versionText(c.word), c.text) << std::hex << c.word;
}

TEST(StartUp, OpensTheLinkAndLoadsTheStations) {
    ProgramFixture fixture;
    Program& program = fixture.program;
    program.Main();

    EXPECT_EQ(program.frmMain().caption.value(), "Stratocue 2002 Active");
    EXPECT_EQ(program.frmStatus().lblSim.value(), "FS2002");
    EXPECT_EQ(program.frmStatus().lblVer.value(), "2.810d");
    EXPECT_TRUE(program.frmMain().Timer1.isEnabled());
    EXPECT_TRUE(program.frmSplash().visible.value());
    EXPECT_TRUE(program.frmSplash().SplashTimer.isEnabled());
    EXPECT_FALSE(program.frmMain().visible.value());
    EXPECT_FALSE(program.frmStatus().visible.value());
    EXPECT_EQ(program.stations.StationCount, 5000);
    EXPECT_EQ(program.stations.FdStationCount, 321);
    EXPECT_FALSE(program.state.startFailed);
    EXPECT_TRUE(program.state.refreshNow);
    EXPECT_TRUE(fixture.messageBoxes.shown.empty());
}

TEST(StartUp, EveryStateValueStartsAfresh) {
    ProgramFixture fixture;
    Program& program = fixture.program;
    // Values left over, as if the program had run before; only startFailed keeps its start.
    ProgramState& state = program.state;
    state.forcedId = "KXYZ";
    state.forcedRange = 5;
    state.forcedActive = true;
    state.fdValid = true;
    state.fdStationIndex = 7;
    state.lastSetAltitude = 1234;
    state.altitudeSet = true;
    state.refreshNow = false;
    state.metarTicks = 3;
    state.metarPeriodTicks = 1;
    state.fdTicks = 4;
    state.fdPeriodTicks = 2;
    state.lastMetarText = "old report";
    state.lastStationId = "KOLD";
    state.metarIntervalDefault = 1;
    state.fdIntervalDefault = 1;
    ASSERT_FALSE(program.state == ProgramState{});

    program.Main();

    ASSERT_EQ(program.stations.StationCount, 5000);
    EXPECT_TRUE(program.state == ProgramState{});
    EXPECT_EQ(program.state.forcedId, "");
    EXPECT_EQ(program.state.forcedRange, 60);
    EXPECT_EQ(program.state.lastMetarText, "firstload");
    EXPECT_EQ(program.state.lastStationId, "firstload");
    EXPECT_EQ(program.state.metarPeriodTicks, 5);
    EXPECT_EQ(program.state.fdPeriodTicks, 10);
}

TEST(StartUp, WithoutSimulatorTellsTheUserAndEnds) {
    ProgramFixture fixture;
    fixture.simulator.faults.windows = standins::FakeServerWindows::None;
    std::string captionWhileMessageShown;
    fixture.messageBoxes.onShow = [&](std::string_view) {
        captionWhileMessageShown = fixture.program.frmMain().caption.value();
    };
    fixture.program.Main();

    EXPECT_EQ(captionWhileMessageShown, "Stratocue 2002 Can't connect: Cannot link to FSUIPC or WideClient");
    ASSERT_EQ(fixture.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(fixture.messageBoxes.shown[0], "Can't connect to FS2002 and/or FSUIPC");
    EXPECT_TRUE(fixture.program.state.startFailed);
    EXPECT_FALSE(fixture.program.anyWindowLeft());
    EXPECT_FALSE(fixture.program.link.isOpen());
    ASSERT_EQ(fixture.eventLog.events.size(), 3u);
    EXPECT_TRUE(fixture.eventLog.events[0].starts_with("start Stratocue "));
    EXPECT_EQ(fixture.eventLog.events[1], "link not opened: Cannot link to FSUIPC or WideClient");
    EXPECT_EQ(fixture.eventLog.events[2], "end");
}

TEST(StartUp, WrongServerVersionNamesTheReason) {
    ProgramFixture fixture;
    fixture.simulator.setVersionWord(0x19980004);
    fixture.program.Main();
    ASSERT_EQ(fixture.messageBoxes.shown.size(), 1u);
    EXPECT_FALSE(fixture.program.anyWindowLeft());
    EXPECT_EQ(fixture.simulator.heldViews(), 0u);
    EXPECT_EQ(fixture.simulator.heldAtoms(), 0u);
}

TEST(StartUp, MissingStationFileClosesTheLinkAndEnds) {
    const test_support::TempFolder folder;  // empty: no station files
    ProgramFixture fixture(folder.path());
    fixture.program.Main();

    ASSERT_EQ(fixture.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(fixture.messageBoxes.shown[0],
              "Error reading ICAO.TXT or FDWINDS.TXT - Make sure they exist and are valid");
    EXPECT_TRUE(fixture.program.state.startFailed);
    EXPECT_FALSE(fixture.program.anyWindowLeft());
    EXPECT_FALSE(fixture.program.link.isOpen());
    EXPECT_EQ(fixture.simulator.heldMappings(), 0u);
    EXPECT_EQ(fixture.eventLog.events.at(2),
              "failure: Error reading ICAO.TXT or FDWINDS.TXT - Make sure they exist and are valid");
}

TEST(SplashHandOver, TimerShowsTheMainWindow) {
    ProgramFixture fixture;
    Program& program = fixture.program;
    program.Main();
    program.frmSplash().SplashTimer.fire();

    EXPECT_TRUE(program.frmSplash.exists());
    EXPECT_FALSE(program.frmSplash().visible.value());
    EXPECT_FALSE(program.frmSplash().SplashTimer.isEnabled());
    EXPECT_TRUE(program.frmMain().visible.value());
}

TEST(SplashHandOver, DismissingTheSplashShowsTheMainWindowAtOnce) {
    for (const bool byKey : {true, false}) {
        ProgramFixture fixture;
        Program& program = fixture.program;
        program.Main();
        if (byKey) {
            program.frmSplash().keyPress.click();
        } else {
            program.frmSplash().Frame1.click();
        }
        EXPECT_FALSE(program.frmSplash.exists());
        EXPECT_TRUE(program.frmMain().visible.value()) << (byKey ? "key" : "click");
        EXPECT_TRUE(program.frmMain().Timer1.isEnabled());
    }
}

TEST(Shutdown, EndProgramClosesTheLinkAndEveryWindow) {
    ProgramFixture fixture;
    Program& program = fixture.program;
    program.Main();
    program.frmStatus().Show();
    program.frmMain().butOK.click();

    EXPECT_FALSE(program.anyWindowLeft());
    EXPECT_FALSE(program.link.isOpen());
    EXPECT_EQ(fixture.simulator.heldViews(), 0u);
    EXPECT_TRUE(fixture.messageBoxes.shown.empty());
}

TEST(Shutdown, EndProgramDuringATransferIsRefused) {
    ProgramFixture fixture;
    Program& program = fixture.program;
    program.Main();
    fixture.transfer.executing = true;
    program.frmMain().butOK.click();

    ASSERT_EQ(fixture.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(fixture.messageBoxes.shown[0], "Please wait for last data download request to complete");
    EXPECT_TRUE(program.frmMain.exists());
    EXPECT_TRUE(program.link.isOpen());
}

TEST(Shutdown, ClosingTheMainWindowDuringATransferIsCancelled) {
    ProgramFixture fixture;
    Program& program = fixture.program;
    program.Main();
    program.frmSplash().SplashTimer.fire();
    fixture.transfer.executing = true;
    program.closeMainWindow();

    ASSERT_EQ(fixture.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(fixture.messageBoxes.shown[0], "Please wait for downloads to complete before exiting");
    EXPECT_TRUE(program.frmMain().visible.value());
    EXPECT_TRUE(program.link.isOpen());

    fixture.transfer.executing = false;
    program.closeMainWindow();
    EXPECT_FALSE(program.anyWindowLeft());
    EXPECT_FALSE(program.link.isOpen());
}

TEST(StatusWindow, CloseBoxAsksForARefreshAndForgetsTheLabels) {
    ProgramFixture fixture;
    Program& program = fixture.program;
    program.Main();
    program.state.refreshNow = false;
    program.frmMain().butRUNTIME.click();
    EXPECT_TRUE(program.frmStatus().visible.value());

    program.frmStatus().butCLOSESTATUS.click();  // "Close" only hides
    EXPECT_FALSE(program.frmStatus().visible.value());
    EXPECT_EQ(program.frmStatus().lblSim.value(), "FS2002");
    EXPECT_FALSE(program.state.refreshNow);

    program.frmStatus.destroy();  // the close box
    EXPECT_TRUE(program.state.refreshNow);
    EXPECT_EQ(program.frmStatus().lblSim.value(), ".");
    EXPECT_FALSE(program.frmStatus().visible.value());
}

TEST(MainWindowEvents, RefreshMetarMakesTheScheduleDue) {
    ProgramFixture fixture;
    Program& program = fixture.program;
    program.Main();
    program.state.metarPeriodTicks = 60;
    program.frmMain().butUPDATEMETAR.click();
    EXPECT_EQ(program.state.metarTicks, 60);
}

TEST(MainWindowEvents, UncheckingForceCustomIdEndsTheForcing) {
    ProgramFixture fixture;
    Program& program = fixture.program;
    program.Main();
    program.state.forcedId = "KSFO";
    program.state.forcedActive = true;
    program.frmMain().chkDEST.set(1);
    program.frmMain().chkDEST.set(0);
    EXPECT_EQ(program.state.forcedId, "");
    EXPECT_FALSE(program.state.forcedActive);
}

}  // namespace
}  // namespace stratocue::app
