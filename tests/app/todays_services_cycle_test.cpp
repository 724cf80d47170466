// Whole ticks against the fake simulator with the weather from a loopback server: today's
// services (servers.txt pointing vatsim_api and awc_api at the server) put into the
// simulator exactly what the classic pages (the classic keys) put there for the same
// report and bulletins.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/sim_offsets.h"
#include "common/units.h"
#include "fd_test_pages.h"
#include "fd_windtemp_texts.h"
#include "loopback_weather.h"
#include "program_fixture.h"
#include "tests/inject/scripted_random.h"
#include "tests/support/temp_folder.h"

namespace stratocue::app {
namespace {

using testing::LoopbackWeather;

constexpr const char* kReport = "KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002 RMK AO2";

const std::vector<std::string> kRegionNames{"sfo", "slc", "chicago", "ftworth", "boston", "miami", "alaska"};
const std::vector<std::string> kApiRegionNames{"sfo", "slc", "chi", "dfw", "bos", "mia", "alaska"};

// The classic pages and today's answers of the same weather, on one loopback server.
void serveBothWays(LoopbackWeather& server) {
    const std::string report(kReport);
    server.answer("/cgi-bin/mgetmetar.pl?cccc=KSFO",
                  {200, "<HTML><BODY><B>The observation is:</B>\r\n<BR><BR>\r\n<PRE><TT>\r\n" + report +
                            "\r\n</TT></PRE></BODY></HTML>\r\n"});
    server.answer("/search_metar.html?cod=KSFO",
                  {200, "<html><head><title>METAR</title></head><body>\r\n<table><tr><td>" + report +
                            "\r\n</td></tr></table></body></html>\r\n"});
    server.answer("/api/data/metar?ids=KSFO&format=raw&hours=3", {200, "METAR " + report + "\n"});
    server.answer("/KSFO", {200, report + "\n"});
    for (std::size_t i = 0; i < kRegionNames.size(); ++i) {
        const std::string page = fdwinds::testing_pages::readFile(std::filesystem::path(FDWINDS_PAGES_DIR) /
                                                                  (kRegionNames[i] + "_fd1.shtml"));
        server.answer("/fdwinds/text/" + kRegionNames[i] + "_fd1.shtml", {200, page});
        server.answer("/api/data/windtemp?region=" + kApiRegionNames[i] + "&level=low&fcst=06",
                      {200, fdwinds::testing_pages::windTempTextOfPage(page)});
    }
}

// What one run left behind.
struct RunResult {
    std::vector<standins::FakeWrite> writes;
    std::vector<std::string> requestTargets;
    std::string txtMETARstr;
    std::string txtTESTFD;
};

class TodaysServicesCycle : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.running());
        serveBothWays(server);
        for (const char* name : {"icao.txt", "fdwinds.txt"}) {
            std::filesystem::copy_file(std::filesystem::path(STRATOCUE_DATA_DIR) / name, folder.file(name));
        }
    }

    // Starts the program with this servers.txt, puts the aircraft 3000 m above KSFO and
    // runs one tick.
    RunResult runOneTick(const std::string& serversText, bool vatsimChecked) {
        folder.write("servers.txt", serversText);
        server.forgetRequests();
        standins::FakeIpcPlatform simulator;
        const auto transfer = web::makeCurlTransfer();
        testing::RecordingMessageBoxes messageBoxes;
        inject::testing::ScriptedRandom random(0.25);
        Program program({simulator, *transfer, messageBoxes, folder.path(), &random});
        program.Main();
        EXPECT_TRUE(program.link.isOpen());
        program.frmMain().chkVATSIM.set(vatsimChecked ? 1 : 0);

        simulator.offsets().setLe32(offsets::kLatitudeWhole.place(),
                                    static_cast<std::uint32_t>(37.6167 * units::kLatitudeUnitsPer90Degrees / 90));
        simulator.offsets().setLe32(
            offsets::kLongitudeWhole.place(),
            static_cast<std::uint32_t>(static_cast<std::int32_t>(-122.3667 * units::kLongitudeUnitsPerCircle / 360)));
        simulator.offsets().setLe32(offsets::kAltitudeWhole.place(), 3000);
        program.frmMain().Timer1.fire();
        EXPECT_TRUE(messageBoxes.shown.empty());
        return {simulator.writes(), server.targets(), program.frmMain().txtMETARstr.value(),
                program.frmMain().txtTESTFD.value()};
    }

    LoopbackWeather server;
    test_support::TempFolder folder;
};

struct PathCase {
    const char* name;
    bool vatsimChecked;
    std::string classicServers;
    std::string todaysServers;
    std::string todaysMetarTarget;
};

TEST_F(TodaysServicesCycle, SimulatorGetsTheSameWritesAsFromTheClassicPages) {
    const std::string base = server.base();
    const std::vector<PathCase> cases{
        {"DataApi", false, "metar_nws=" + base + "\nfdwinds=" + base + "\n", "awc_api=" + base + "\n",
         "/api/data/metar?ids=KSFO&format=raw&hours=3"},
        {"VatsimService", true, "metar_vatsim=" + base + "\nfdwinds=" + base + "\n",
         "vatsim_api=" + base + "\nawc_api=" + base + "/\n", "/KSFO"},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.name);
        const RunResult classic = runOneTick(c.classicServers, c.vatsimChecked);
        const RunResult today = runOneTick(c.todaysServers, c.vatsimChecked);

        // The weather did arrive: the report and the SFO winds aloft were applied.
        EXPECT_EQ(classic.txtMETARstr, "KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002");
        EXPECT_TRUE(classic.txtTESTFD.starts_with("SFO 3K:")) << classic.txtTESTFD;
        EXPECT_FALSE(classic.writes.empty());

        EXPECT_EQ(today.txtMETARstr, classic.txtMETARstr);
        EXPECT_EQ(today.txtTESTFD, classic.txtTESTFD);
        EXPECT_TRUE(today.writes == classic.writes) << "the writes of today's services differ from the classic ones";

        // Each run asked only its own kind of address.
        for (const std::string& target : classic.requestTargets) {
            EXPECT_TRUE(target.starts_with("/fdwinds/") || target.starts_with("/search_metar.html") ||
                        target.starts_with("/cgi-bin/"))
                << target;
        }
        EXPECT_EQ(today.requestTargets.front(), c.todaysMetarTarget);
        for (const std::string& target : today.requestTargets) {
            EXPECT_TRUE(target == c.todaysMetarTarget || target.starts_with("/api/data/windtemp?")) << target;
        }
    }
}

}  // namespace
}  // namespace stratocue::app
