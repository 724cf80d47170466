// A tick that falls due during any download is skipped, whoever started the download: the
// main cycle's own, or a button or box of the main window whose wait lets the timer fire.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "metar/metar_decoder.h"
#include "program_fixture.h"

namespace stratocue::app {
namespace {

using testing::ProgramFixture;

struct StarterCase {
    const char* name;
    std::function<void(ui::FrmMain&)> startDownload;
    std::size_t requests;  // the starter's own: a failed custom request asks the other service too
};

TEST(TickDuringDownload, SkippedWhateverStartedTheDownload) {
    const std::vector<StarterCase> cases = {
        {"RefreshWindsAloft", [](ui::FrmMain& main) { main.butUSWINDS.click(); }, 1},
        {"GetCustomMetar",
         [](ui::FrmMain& main) {
             main.txtMETARINPUT.set("KSFO");
             main.butGET.click();
         },
         2},
        {"ForceCustomId",
         [](ui::FrmMain& main) {
             main.txtMETARINPUT.set("KSFO");
             main.chkDEST.set(1);
         },
         2},
        {"TypingInTheRangeBox",
         [](ui::FrmMain& main) {
             main.txtMETARINPUT.set("KSFO");
             main.txtMETARRANGE.set("45");
         },
         2},
    };
    for (const StarterCase& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramFixture fixture;
        Program& program = fixture.program;
        program.Main();
        ASSERT_TRUE(program.frmMain().Timer1.isEnabled());
        int timerFired = 0;
        fixture.transfer.onRequest = [&] {
            if (timerFired > 0) return;
            ++timerFired;
            program.frmMain().Timer1.fire();  // the timer falls due while the page is awaited
        };
        const std::size_t writesBefore = fixture.simulator.writes().size();

        c.startDownload(program.frmMain());

        EXPECT_EQ(timerFired, 1);
        EXPECT_EQ(program.tickCount(), 0);
        EXPECT_EQ(fixture.transfer.requested.size(), c.requests);  // only the starter's own pages
        EXPECT_NE(program.frmMain().txtMETARstr.value(), metar::kParseErrorReportText);
        EXPECT_EQ(fixture.simulator.writes().size(), writesBefore);
    }
}

TEST(TickDuringDownload, TheNextTickAfterTheDownloadRuns) {
    ProgramFixture fixture;
    Program& program = fixture.program;
    program.Main();
    fixture.transfer.onRequest = [&] { program.frmMain().Timer1.fire(); };
    program.frmMain().butUSWINDS.click();
    ASSERT_EQ(program.tickCount(), 0);

    fixture.transfer.onRequest = {};
    program.frmMain().Timer1.fire();
    EXPECT_EQ(program.tickCount(), 1);
}

}  // namespace
}  // namespace stratocue::app
