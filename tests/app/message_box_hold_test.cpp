// A message box is modal: while one is open, no timer of the program ticks, however much
// time passes behind it.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "program_fixture.h"
#include "tests/support/temp_folder.h"

namespace stratocue::app {
namespace {

using testing::ProgramFixture;

// Time passes while a box is open: every timer of a window that exists falls due.
void timePasses(Program& program) {
    if (program.frmMain.exists()) program.frmMain().Timer1.fire();
    if (program.frmSplash.exists()) program.frmSplash().SplashTimer.fire();
}

struct HoldCase {
    const char* name;
    bool withoutStations;
    std::function<void(ProgramFixture&)> openBox;  // after Main; opens the box that stays open
    std::string boxText;
};

TEST(MessageBoxHold, NoTimerTicksWhileABoxIsOpen) {
    const std::vector<HoldCase> cases = {
        // Timer1 runs from before the station files are read; their error box stays open.
        {"StationFilesMissing", true, [](ProgramFixture&) {},
         "Error reading ICAO.TXT or FDWINDS.TXT - Make sure they exist and are valid"},
        {"EndProgramDuringADownload", false,
         [](ProgramFixture& fixture) {
             fixture.transfer.executing = true;
             fixture.program.frmMain().butOK.click();
         },
         "Please wait for last data download request to complete"},
        {"CloseBoxDuringADownload", false,
         [](ProgramFixture& fixture) {
             fixture.transfer.executing = true;
             fixture.program.closeMainWindow();
         },
         "Please wait for downloads to complete before exiting"},
    };
    for (const HoldCase& c : cases) {
        SCOPED_TRACE(c.name);
        const test_support::TempFolder folderWithoutStations;
        std::filesystem::copy_file(std::filesystem::path(STRATOCUE_DATA_DIR) / "fdwinds.txt",
                                   folderWithoutStations.file("fdwinds.txt"));
        ProgramFixture fixture(c.withoutStations ? folderWithoutStations.path()
                                                 : std::filesystem::path(STRATOCUE_DATA_DIR));
        Program& program = fixture.program;
        int boxesOpen = 0;
        bool splashHandedOverBehindTheBox = false;
        fixture.messageBoxes.onShow = [&](std::string_view) {
            ++boxesOpen;
            for (int interval = 0; interval < 3; ++interval) timePasses(program);
            splashHandedOverBehindTheBox = program.frmMain.exists() && program.frmMain().visible.value();
        };
        program.Main();
        if (!c.withoutStations) {
            ASSERT_TRUE(fixture.messageBoxes.shown.empty());
            c.openBox(fixture);
        }

        ASSERT_EQ(fixture.messageBoxes.shown.size(), 1u);
        EXPECT_EQ(fixture.messageBoxes.shown[0], c.boxText);
        EXPECT_EQ(boxesOpen, 1);
        EXPECT_EQ(program.tickCount(), 0);
        EXPECT_TRUE(fixture.transfer.requested.empty());
        EXPECT_FALSE(splashHandedOverBehindTheBox);
    }
}

TEST(MessageBoxHold, TimersTickAgainOnceTheBoxIsClosed) {
    ProgramFixture fixture;
    Program& program = fixture.program;
    program.Main();
    fixture.messageBoxes.onShow = [&](std::string_view) { timePasses(program); };
    fixture.transfer.executing = true;
    program.frmMain().butOK.click();
    fixture.transfer.executing = false;
    ASSERT_EQ(program.tickCount(), 0);

    timePasses(program);
    EXPECT_EQ(program.tickCount(), 1);
    EXPECT_TRUE(program.frmMain().visible.value());  // the splash handed over
}

TEST(MessageBoxHold, BoxesOpenedBehindEachOtherHoldUntilTheLastCloses) {
    ProgramFixture fixture;
    Program& program = fixture.program;
    program.Main();
    fixture.transfer.executing = true;
    bool splashHandedOverInOuterBox = false;
    fixture.messageBoxes.onShow = [&](std::string_view text) {
        if (text != "Please wait for last data download request to complete") return;
        program.closeMainWindow();  // a second box while the first is open
        timePasses(program);
        splashHandedOverInOuterBox = program.frmMain().visible.value();
    };
    program.frmMain().butOK.click();
    EXPECT_EQ(fixture.messageBoxes.shown.size(), 2u);
    EXPECT_FALSE(splashHandedOverInOuterBox);
    EXPECT_EQ(program.tickCount(), 0);
}

}  // namespace
}  // namespace stratocue::app
