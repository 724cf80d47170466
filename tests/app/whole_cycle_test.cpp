// One whole tick against the fake simulator and a loopback weather server: the METAR is
// fetched, decoded and written, the winds aloft are fetched, chosen and written.

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "common/sim_offsets.h"
#include "common/units.h"
#include "program_fixture.h"
#include "simlink/little_endian.h"
#include "tests/support/recording_event_log.h"
#include "tests/support/temp_folder.h"

namespace stratocue::app {
namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

// The weather-service page layout: the report 46 characters after the phrase's start,
// ended two characters before the next tag.
std::string weatherServicePage(const std::string& report) {
    const std::string skipped = "</B><BR>\n<PRE>" + std::string(13, ' ');  // 27 characters
    return "<HTML><HEAD><TITLE>Current METAR</TITLE></HEAD><BODY>\n<B>The observation is:" + skipped + report +
           "\r\n</PRE></BODY></HTML>\n";
}

class WholeCycle : public ::testing::Test {
protected:
    void SetUp() override {
        server.Get("/cgi-bin/mgetmetar.pl", [](const httplib::Request& request, httplib::Response& response) {
            if (request.get_param_value("cccc") == "KSFO") {
                response.set_content(weatherServicePage(kReport), "text/html");
            } else if (request.get_param_value("cccc") == "KOAK") {
                response.set_content(weatherServicePage(kOaklandReport), "text/html");
            } else {
                response.set_content("<HTML><BODY>No such station</BODY></HTML>", "text/html");
            }
        });
        server.Get(
            R"(/fdwinds/text/(\w+)_fd1\.shtml)", [](const httplib::Request& request, httplib::Response& response) {
                const auto page = std::filesystem::path(FDWINDS_PAGES_DIR) / (request.matches[1].str() + "_fd1.shtml");
                response.set_content(readFile(page), "text/html");
            });
        port = server.bind_to_any_port("127.0.0.1");
        ASSERT_GT(port, 0);
        serverThread = std::thread([this] { server.listen_after_bind(); });

        for (const char* name : {"icao.txt", "fdwinds.txt"}) {
            std::filesystem::copy_file(std::filesystem::path(STRATOCUE_DATA_DIR) / name, folder.file(name));
        }
        const std::string base = "http://127.0.0.1:" + std::to_string(port);
        folder.write("servers.txt", "metar_nws=" + base + "\nfdwinds=" + base + "/\n");
    }
    void TearDown() override {
        server.stop();
        if (serverThread.joinable()) serverThread.join();
    }

    // The last value written to a 2-byte offset.
    static std::optional<std::int16_t> lastWrite16(const standins::FakeIpcPlatform& simulator, std::uint32_t offset) {
        std::optional<std::int16_t> value;
        for (const auto& write : simulator.writes()) {
            if (write.offset == offset && write.bytes.size() == 2) value = simlink::readLe16(write.bytes);
        }
        return value;
    }
    static std::vector<std::string> messages(const standins::FakeIpcPlatform& simulator) {
        std::vector<std::string> texts;
        for (const auto& write : simulator.writes()) {
            if (write.offset != offsets::kMessageText.offset) continue;
            std::string text;
            for (const std::byte b : write.bytes) {
                if (b == std::byte{0}) break;
                text += static_cast<char>(b);
            }
            texts.push_back(text);
        }
        return texts;
    }

    static constexpr const char* kReport = "KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002 RMK AO2";
    static constexpr const char* kOaklandReport = "KOAK 061753Z 30008KT 10SM FEW010 17/09 A2996 RMK AO2";
    httplib::Server server;
    std::thread serverThread;
    int port = 0;
    test_support::TempFolder folder;
};

TEST_F(WholeCycle, FetchesDecodesAndWritesTheWeather) {
    standins::FakeIpcPlatform simulator;
    test_support::RecordingEventLog log;
    const auto transfer = web::makeCurlTransfer({.eventLog = &log});
    testing::RecordingMessageBoxes messageBoxes;
    Program program({simulator, *transfer, messageBoxes, folder.path(), nullptr, nullptr, std::nullopt, &log});
    program.Main();
    ASSERT_TRUE(program.link.isOpen());
    ASSERT_EQ(program.servers.named("metar_nws"), "http://127.0.0.1:" + std::to_string(port));

    // Over KSFO at 3000 m: the 9K level of the SFO bulletin line applies.
    simulator.offsets().setLe32(offsets::kLatitudeWhole.offset,
                                static_cast<std::uint32_t>(37.6167 * units::kLatitudeUnitsPer90Degrees / 90));
    simulator.offsets().setLe32(
        offsets::kLongitudeWhole.offset,
        static_cast<std::uint32_t>(static_cast<std::int32_t>(-122.3667 * units::kLongitudeUnitsPerCircle / 360)));
    simulator.offsets().setLe32(offsets::kAltitudeWhole.offset, 3000);
    program.frmMain().Timer1.fire();

    EXPECT_EQ(program.frmMain().lblTEMPID.value(), "KSFO");
    EXPECT_EQ(program.frmMain().txtMETARstr.value(), "KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002");
    EXPECT_EQ(program.frmStatus().lblMETARwinddir.value(), "280");
    EXPECT_EQ(program.frmStatus().lblMETARalt.value(), "1016");
    EXPECT_EQ(program.frmMain().txtTESTFD.value().substr(0, 14), "SFO 3K:321517 ");
    EXPECT_TRUE(program.state.fdValid);

    EXPECT_EQ(lastWrite16(simulator, offsets::kPressure.offset), 1016 * 16);    // pressure
    EXPECT_EQ(lastWrite16(simulator, offsets::kVisibility.offset), 1000);       // visibility 10 miles
    EXPECT_EQ(lastWrite16(simulator, offsets::kDewPoint.offset), 9 * 256);      // dew point
    EXPECT_EQ(lastWrite16(simulator, offsets::kLayer2Coverage.offset), 16384);  // FEW on layer 2
    // High above the station with winds aloft in use: the 9K wind and temperature; the
    // surface writer leaves the wind to the winds-aloft writer there.
    EXPECT_EQ(lastWrite16(simulator, offsets::kWindSpeed.offset), 15);
    EXPECT_EQ(lastWrite16(simulator, offsets::kTemperature.offset), 18 * 256);
    const auto texts = messages(simulator);
    // The new report, the winds aloft, then the report again after the winds-aloft refresh.
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], "Stratocue->KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002...");
    EXPECT_EQ(texts[1], "Stratocue->FD Winds Aloft SFO: 250 /15 /2");
    EXPECT_EQ(texts[2], texts[0]);
    EXPECT_TRUE(messageBoxes.shown.empty());

    // The log tells each request, and each report and winds row applied with the position
    // to a tenth of a degree.
    EXPECT_EQ(log.startingWith("request 127.0.0.1:").size(), 8u);
    EXPECT_EQ(log.startingWith("report applied, station KSFO at 37.6 -122.4: KSFO 061756Z 28012G20KT").size(), 2u);
    EXPECT_EQ(log.startingWith("winds row applied at 37.6 -122.4: SFO 3K:321517 ").size(), 1u);
}

void putAircraftAt(standins::FakeIpcPlatform& simulator, double latitude, double longitude) {
    simulator.offsets().setLe32(offsets::kLatitudeWhole.offset,
                                static_cast<std::uint32_t>(latitude * units::kLatitudeUnitsPer90Degrees / 90));
    simulator.offsets().setLe32(
        offsets::kLongitudeWhole.offset,
        static_cast<std::uint32_t>(static_cast<std::int32_t>(longitude * units::kLongitudeUnitsPerCircle / 360)));
    simulator.offsets().setLe32(offsets::kAltitudeWhole.offset, 3);
}

// Checked, a station change moves the pressure by the real time between ticks; a tick that
// comes late (ticks skipped) moves it by one timer interval at most.
TEST_F(WholeCycle, SmoothedChangesMoveByTheTimeBetweenTicks) {
    standins::FakeIpcPlatform simulator;
    const auto transfer = web::makeCurlTransfer();
    testing::RecordingMessageBoxes messageBoxes;
    auto now = std::chrono::steady_clock::time_point{};
    Program program({simulator, *transfer, messageBoxes, folder.path(), nullptr, [&now] { return now; }});
    program.Main();
    program.frmMain().chkSMOOTH.set(1);
    putAircraftAt(simulator, 37.6167, -122.3667);
    program.frmMain().Timer1.fire();
    ASSERT_EQ(program.frmMain().lblTEMPID.value(), "KSFO");
    EXPECT_EQ(lastWrite16(simulator, offsets::kPressure.offset), 1016 * 16);  // the first weather at once

    putAircraftAt(simulator, 37.7167, -122.2333);
    now += std::chrono::seconds(5);
    program.frmMain().Timer1.fire();
    ASSERT_EQ(program.frmMain().lblTEMPID.value(), "KOAK");
    EXPECT_EQ(lastWrite16(simulator, offsets::kPressure.offset), 1016 * 16 - 1);  // 1 hPa a minute: 5 s

    now += std::chrono::seconds(60);
    program.frmMain().Timer1.fire();
    EXPECT_EQ(lastWrite16(simulator, offsets::kPressure.offset), 1016 * 16 - 2);  // 10 s, not 65 s

    for (int tick = 0; tick < 30; ++tick) {
        now += std::chrono::seconds(5);
        program.frmMain().Timer1.fire();
    }
    EXPECT_EQ(lastWrite16(simulator, offsets::kPressure.offset), 1014 * 16);
}

}  // namespace
}  // namespace stratocue::app
