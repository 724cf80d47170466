// Without servers.txt the program asks today's services at their own addresses, over
// HTTPS, and applies what they answer.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/sim_offsets.h"
#include "common/units.h"
#include "program_fixture.h"
#include "tests/support/temp_folder.h"

namespace stratocue::app {
namespace {

using testing::ProgramFixture;

constexpr const char* kReport = "KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002 RMK AO2";

const std::string kDataApiMetarUrl = "https://aviationweather.gov/api/data/metar?ids=KSFO&format=raw&hours=3";
const std::string kVatsimUrl = "https://metar.vatsim.net/KSFO";
const std::vector<std::string> kWindTempUrls{
    "https://aviationweather.gov/api/data/windtemp?region=sfo&level=low&fcst=06",
    "https://aviationweather.gov/api/data/windtemp?region=slc&level=low&fcst=06",
    "https://aviationweather.gov/api/data/windtemp?region=chi&level=low&fcst=06",
    "https://aviationweather.gov/api/data/windtemp?region=dfw&level=low&fcst=06",
    "https://aviationweather.gov/api/data/windtemp?region=bos&level=low&fcst=06",
    "https://aviationweather.gov/api/data/windtemp?region=mia&level=low&fcst=06",
    "https://aviationweather.gov/api/data/windtemp?region=alaska&level=low&fcst=06",
};

// A working folder with the shipped station files and no servers.txt.
class DefaultAddresses : public ::testing::Test {
protected:
    static std::filesystem::path withStationFiles(const test_support::TempFolder& folder) {
        for (const char* name : {"icao.txt", "fdwinds.txt"}) {
            std::filesystem::copy_file(std::filesystem::path(STRATOCUE_DATA_DIR) / name, folder.file(name));
        }
        return folder.path();
    }

    void SetUp() override {
        // Today's answers, scripted at exactly the addresses the program must ask.
        fixture.transfer.pages[kDataApiMetarUrl] = "METAR " + std::string(kReport) + "\n";
        fixture.transfer.pages[kVatsimUrl] = std::string(kReport) + "\n";
        const std::string bulletin =
            "(Extracted from FBUS31 KWNO 061359)\nFD1US1\nDATA BASED ON 061200Z\n"
            "VALID 061800Z   FOR USE 1400-2100Z. TEMPS NEG ABV 24000\n\n"
            "FT  3000    6000    9000   12000   18000   24000  30000  34000  39000\n"
            "SFO 3215 2912+10 2818+05 2722-01 2637-13 2646-25 265441 265551 265659\n";
        for (const std::string& url : kWindTempUrls) fixture.transfer.pages[url] = bulletin;
        fixture.program.Main();
        ASSERT_TRUE(fixture.program.link.isOpen());
        ASSERT_FALSE(std::filesystem::exists(folder.file("servers.txt")));
    }

    void tickAboveKsfo() {
        fixture.simulator.offsets().setLe32(
            offsets::kLatitudeWhole.place(),
            static_cast<std::uint32_t>(37.6167 * units::kLatitudeUnitsPer90Degrees / 90));
        fixture.simulator.offsets().setLe32(
            offsets::kLongitudeWhole.place(),
            static_cast<std::uint32_t>(static_cast<std::int32_t>(-122.3667 * units::kLongitudeUnitsPerCircle / 360)));
        fixture.simulator.offsets().setLe32(offsets::kAltitudeWhole.place(), 3000);
        fixture.program.frmMain().Timer1.fire();
    }

    test_support::TempFolder folder;
    ProgramFixture fixture{withStationFiles(folder)};
};

TEST_F(DefaultAddresses, MainCycleAsksTheDataApiForTheReportAndTheSevenRegions) {
    tickAboveKsfo();

    std::vector<std::string> windTempRequests;
    for (const std::string& url : fixture.transfer.requested) {
        if (url == kDataApiMetarUrl) continue;
        windTempRequests.push_back(url);
    }
    EXPECT_EQ(fixture.transfer.requested.front(), kDataApiMetarUrl);
    EXPECT_EQ(windTempRequests, kWindTempUrls);
    EXPECT_EQ(fixture.program.frmMain().txtMETARstr.value(), "KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002");
    EXPECT_TRUE(fixture.program.frmMain().txtTESTFD.value().starts_with("SFO 3K:3215"))
        << fixture.program.frmMain().txtTESTFD.value();
}

TEST_F(DefaultAddresses, VatsimMetarsAskTheVatsimService) {
    fixture.program.frmMain().chkVATSIM.set(1);
    tickAboveKsfo();
    fixture.program.frmMain().txtMETARINPUT.set("ksfo");
    fixture.program.frmMain().butGET.click();

    EXPECT_EQ(fixture.transfer.requested.front(), kVatsimUrl);
    EXPECT_EQ(fixture.transfer.requested.back(), kVatsimUrl);  // the custom request, upper-cased
    EXPECT_EQ(fixture.transfer.requestsContaining("aviationweather.gov/api/data/metar"), 0);
    EXPECT_EQ(fixture.program.frmMain().txtMETARREQstr.value(), kReport);
}

}  // namespace
}  // namespace stratocue::app
