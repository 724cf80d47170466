// A signal (SIGINT, SIGTERM) ends the program through End Program, also while a download
// runs: the download is cancelled, and the link is always closed.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "program_fixture.h"

namespace stratocue::app {
namespace {

using testing::ProgramFixture;

TEST(EndOnSignal, WhenIdleEndsAtOnce) {
    ProgramFixture fixture;
    Program& program = fixture.program;
    program.Main();
    program.frmStatus().Show();

    program.endOnSignal();

    EXPECT_FALSE(program.link.isOpen());
    EXPECT_FALSE(program.anyWindowLeft());
    EXPECT_EQ(fixture.simulator.heldViews(), 0u);
    EXPECT_EQ(fixture.transfer.cancels, 0);
    EXPECT_TRUE(fixture.messageBoxes.shown.empty());
}

struct DownloadCase {
    const char* name;
    std::function<void(Program&)> startDownload;
};

const std::vector<DownloadCase> kDownloads = {
    {"TickDownload", [](Program& program) { program.frmMain().Timer1.fire(); }},
    {"RefreshWindsAloft", [](Program& program) { program.frmMain().butUSWINDS.click(); }},
    {"GetCustomMetar",
     [](Program& program) {
         program.frmMain().txtMETARINPUT.set("KSFO");
         program.frmMain().butGET.click();
     }},
};

TEST(EndOnSignal, DuringADownloadCancelsItThenClosesTheLink) {
    for (const DownloadCase& c : kDownloads) {
        SCOPED_TRACE(c.name);
        ProgramFixture fixture;
        Program& program = fixture.program;
        program.Main();
        bool linkOpenWhileAwaited = false;
        bool windowsWhileAwaited = false;
        std::size_t writesAtSignal = 0;
        fixture.transfer.onRequest = [&] {
            writesAtSignal = fixture.simulator.writes().size();
            program.endOnSignal();
            // The download's caller is still on the stack: the end waits for it.
            linkOpenWhileAwaited = program.link.isOpen();
            windowsWhileAwaited = program.anyWindowLeft();
        };

        c.startDownload(program);

        EXPECT_EQ(fixture.transfer.cancels, 1);
        EXPECT_TRUE(linkOpenWhileAwaited);
        EXPECT_TRUE(windowsWhileAwaited);
        EXPECT_FALSE(program.link.isOpen());
        EXPECT_FALSE(program.anyWindowLeft());
        EXPECT_EQ(fixture.simulator.heldViews(), 0u);
        EXPECT_EQ(fixture.transfer.requested.size(), 1u);              // nothing more fetched
        EXPECT_EQ(fixture.simulator.writes().size(), writesAtSignal);  // nor written
        EXPECT_TRUE(fixture.messageBoxes.shown.empty());               // no "Please wait..."
    }
}

TEST(EndOnSignal, WhileAPleaseWaitBoxIsOpenDuringADownload) {
    ProgramFixture fixture;
    Program& program = fixture.program;
    program.Main();
    bool linkOpenInTheBox = false;
    fixture.messageBoxes.onShow = [&](std::string_view) {
        program.endOnSignal();
        linkOpenInTheBox = program.link.isOpen();
    };
    fixture.transfer.onRequest = [&] { program.frmMain().butOK.click(); };

    program.frmMain().butUSWINDS.click();

    ASSERT_EQ(fixture.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(fixture.messageBoxes.shown[0], "Please wait for last data download request to complete");
    EXPECT_TRUE(linkOpenInTheBox);
    EXPECT_EQ(fixture.transfer.cancels, 1);
    EXPECT_FALSE(program.link.isOpen());
    EXPECT_FALSE(program.anyWindowLeft());
}

}  // namespace
}  // namespace stratocue::app
