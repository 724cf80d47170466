// Runs the stand-in simulator as its own process and talks to it through the real link.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "common/sim_offsets.h"
#include "common/units.h"
#include "simlink/link.h"
#include "simlink/posix_platform.h"
#include "tests/support/temp_folder.h"

extern char** environ;

namespace stratocue::standins {
namespace {

using simlink::Link;
using simlink::PosixIpcPlatform;

// Longest wait for the stand-in to report that it listens; only a guard against a hang.
constexpr int kStartGuardMs = 30000;

// The stand-in simulator as a child process with its standard output on a pipe.
class StandinSim {
public:
    explicit StandinSim(const std::vector<std::string>& options) {
        std::array<int, 2> pipeEnds{-1, -1};
        if (::pipe2(pipeEnds.data(), O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
        std::vector<std::string> arguments{STANDIN_SIM_PATH};
        arguments.insert(arguments.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        if (::posix_spawn(&pid_, STANDIN_SIM_PATH, &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        ::posix_spawn_file_actions_destroy(&actions);
        ::close(pipeEnds[1]);
        output_ = pipeEnds[0];
    }
    StandinSim(const StandinSim&) = delete;
    StandinSim& operator=(const StandinSim&) = delete;
    ~StandinSim() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (output_ >= 0) {
            ::close(output_);
        }
    }

    // The first line the stand-in prints; empty when it ends or stays silent.
    std::string firstLine() {
        std::string line;
        char character = 0;
        while (line.empty() || line.back() != '\n') {
            pollfd entry{output_, POLLIN, 0};
            if (::poll(&entry, 1, kStartGuardMs) <= 0 || ::read(output_, &character, 1) != 1) {
                return {};
            }
            line += character;
        }
        line.pop_back();
        return line;
    }

    // Waits for the stand-in to end by itself; the exit status, or -1 when it did not exit
    // normally or not within the guard.
    int waitForExit() {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartGuardMs);
        while (pid_ > 0 && std::chrono::steady_clock::now() < giveUp) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            ::poll(nullptr, 0, 20);  // a short pause between looks
        }
        return -1;
    }

    // Sends SIGTERM and waits; the exit status, or -1 when it did not exit normally.
    int stop() {
        if (pid_ <= 0) {
            return -1;
        }
        ::kill(pid_, SIGTERM);
        int status = 0;
        const pid_t ended = ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return ended > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int output_ = -1;
};

std::vector<nlohmann::json> readLogLines(const std::string& path) {
    std::vector<nlohmann::json> lines;
    std::ifstream log(path);
    for (std::string line; std::getline(log, line);) {
        lines.push_back(nlohmann::json::parse(line));
    }
    return lines;
}

std::int32_t openCode(Link& link) {
    link.Link_Init();
    std::int32_t code = -1;
    link.Link_Open(0, code);
    return code;
}

TEST(StandinSimRoundTrip, ReadsPositionWritesValuesAndLogsThem) {
    const test_support::TempFolder folder;
    std::ofstream(folder.file("flight.txt").string()) << "# one point, held\n0 51.5 -0.25 120.5\n";
    StandinSim sim({"--socket-dir", folder.path().string(), "--log", folder.file("log.jsonl").string(), "--flight",
                    folder.file("flight.txt").string(), "--clock", "14:05:09"});
    const std::string socketPath = folder.file("stratocue-UIPCMAIN.sock").string();
    ASSERT_EQ(sim.firstLine(), "standin-sim: listening on " + socketPath);

    {
        PosixIpcPlatform platform(folder.path().string());
        Link link(platform);
        ASSERT_EQ(openCode(link), simlink::kOk);
        EXPECT_EQ(link.state().ServerVersion, 0x28100004);
        EXPECT_EQ(link.state().SimId, 6);

        std::array<std::byte, 4> latitude{};
        std::array<std::byte, 4> longitude{};
        std::array<std::byte, 4> altitude{};
        std::array<std::byte, 3> clock{};
        std::int32_t code = -1;
        ASSERT_TRUE(link.Link_Read(offsets::kLatitudeWhole.offset, 4, latitude, code));
        ASSERT_TRUE(link.Link_Read(offsets::kLongitudeWhole.offset, 4, longitude, code));
        ASSERT_TRUE(link.Link_Read(offsets::kAltitudeWhole.offset, 4, altitude, code));
        ASSERT_TRUE(link.Link_Read(offsets::kClock.offset, 3, clock, code));
        ASSERT_TRUE(link.Link_Process(code)) << simlink::ResultTexts(code);
        EXPECT_NEAR(simlink::readLe32(latitude) * 90.0 / units::kLatitudeUnitsPer90Degrees, 51.5, 1e-5);
        EXPECT_NEAR(simlink::readLe32(longitude) * 360.0 / units::kLongitudeUnitsPerCircle, -0.25, 1e-6);
        EXPECT_EQ(simlink::readLe32(altitude), 120);
        EXPECT_EQ(clock[0], std::byte{14});
        EXPECT_LE(std::to_integer<int>(clock[1]) * 60 + std::to_integer<int>(clock[2]), 5 * 60 + 59);

        const std::array<std::byte, 2> wind{std::byte{0x34}, std::byte{0x12}};
        ASSERT_TRUE(link.Link_Write(offsets::kTemperature.offset, 2, wind, code));
        ASSERT_TRUE(link.Link_Process(code));
        const std::string message = "Stratocue->Hi 270\xB0";
        const std::array<std::byte, 2> minusOne{std::byte{0xFF}, std::byte{0xFF}};
        ASSERT_TRUE(link.Link_WriteText(offsets::kMessageText.offset, static_cast<std::int32_t>(message.size() + 1),
                                        message, code));
        ASSERT_TRUE(link.Link_Write(offsets::kMessageShow.offset, 2, minusOne, code));
        ASSERT_TRUE(link.Link_Process(code));
        link.Link_Close();
    }

    EXPECT_EQ(sim.stop(), 0);
    EXPECT_FALSE(std::filesystem::exists(socketPath));
    const std::vector<nlohmann::json> lines = readLogLines(folder.file("log.jsonl").string());
    ASSERT_EQ(lines.size(), 5U);
    const auto writeLine = [](const nlohmann::json& line) {
        return line["offset"].get<std::string>() + " " + std::to_string(line["size"].get<int>()) + " " +
               line["data"].get<std::string>();
    };
    EXPECT_EQ(writeLine(lines[0]), "0x330A 2 0000");
    EXPECT_EQ(writeLine(lines[1]), "0x0F42 2 3412");
    EXPECT_EQ(writeLine(lines[2]), "0x3380 19 53747261746f6375652d3e486920323730b000");
    EXPECT_EQ(writeLine(lines[3]), "0x32FA 2 ffff");
    EXPECT_EQ(lines[4]["message"], "Stratocue->Hi 270\xC2\xB0");
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_TRUE(lines[i]["t"].is_number());
        EXPECT_GE(lines[i]["t"].get<double>(), lines[i - 1]["t"].get<double>());
    }

    // With the stand-in gone the window is gone too.
    PosixIpcPlatform platform(folder.path().string());
    Link link(platform);
    EXPECT_EQ(openCode(link), simlink::kNoServer);
}

TEST(StandinSimRoundTrip, ServerFaultsGiveTheirCodes) {
    struct Case {
        const char* name;
        std::vector<std::string> options;
        std::string windowClass;
        std::int32_t expectedCode;
    };
    const Case cases[] = {
        {"ReplyZeroIsBadData", {"--fault", "reply=0"}, "UIPCMAIN", simlink::kBadData},
        {"OldVersionViaClientWindow",
         {"--class", "FS98MAIN", "--version", "19980004"},
         "FS98MAIN",
         simlink::kClientWithoutSimulator},
        {"NotTheMarkedSimulatorWord", {"--sim", "0xFADF0006"}, "UIPCMAIN", simlink::kWrongVersion},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const test_support::TempFolder folder;
        std::vector<std::string> options = {"--socket-dir", folder.path().string()};
        options.insert(options.end(), test.options.begin(), test.options.end());
        StandinSim sim(options);
        ASSERT_EQ(sim.firstLine(),
                  "standin-sim: listening on " + folder.file("stratocue-" + test.windowClass + ".sock").string());
        {
            PosixIpcPlatform platform(folder.path().string());
            Link link(platform);
            EXPECT_EQ(openCode(link), test.expectedCode);
            EXPECT_FALSE(link.isOpen());
        }
        EXPECT_EQ(sim.stop(), 0);
    }
}

TEST(StandinSimRoundTrip, EndsByItselfAfterItsRunTime) {
    const test_support::TempFolder folder;
    StandinSim sim({"--socket-dir", folder.path().string(), "--run-seconds", "1"});
    ASSERT_FALSE(sim.firstLine().empty());
    EXPECT_EQ(sim.waitForExit(), 0);
    EXPECT_FALSE(std::filesystem::exists(folder.file("stratocue-UIPCMAIN.sock").string()));
}

// The posix platform with the link's waits cut short: every send waits at most 10 ms
// whatever the link asks for, and pauses are only recorded. What the link asked for is
// recorded too, so its sends and time-outs are checked without their wall-clock time.
class ShortWaitPlatform final : public simlink::IpcPlatform {
public:
    explicit ShortWaitPlatform(simlink::IpcPlatform& platform) : platform_(platform) {}

    simlink::WindowHandle findWindow(std::string_view className) override { return platform_.findWindow(className); }
    std::uint32_t registerWindowMessage(std::string_view name) override {
        return platform_.registerWindowMessage(name);
    }
    std::uint32_t currentProcessId() override { return platform_.currentProcessId(); }
    simlink::Atom addAtom(std::string_view name) override { return platform_.addAtom(name); }
    void deleteAtom(simlink::Atom atom) override { platform_.deleteAtom(atom); }
    simlink::MappingHandle createFileMapping(std::string_view name, std::uint32_t sizeBytes) override {
        return platform_.createFileMapping(name, sizeBytes);
    }
    std::span<std::byte> mapView(simlink::MappingHandle mapping) override { return platform_.mapView(mapping); }
    void unmapView(std::span<std::byte> view) override { platform_.unmapView(view); }
    void closeHandle(simlink::MappingHandle mapping) override { platform_.closeHandle(mapping); }
    std::uint32_t lastError() override { return platform_.lastError(); }
    bool sendMessageTimeout(simlink::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam, std::uint32_t timeoutMs, std::uint32_t& reply) override {
        askedTimeoutsMs.push_back(timeoutMs);
        return platform_.sendMessageTimeout(window, message, wParam, lParam, kShortWaitMs, reply);
    }
    void sleep(std::uint32_t milliseconds) override { pausesMs.push_back(milliseconds); }

    std::vector<std::uint32_t> askedTimeoutsMs;
    std::vector<std::uint32_t> pausesMs;

private:
    static constexpr std::uint32_t kShortWaitMs = 10;
    simlink::IpcPlatform& platform_;
};

TEST(StandinSimRoundTrip, ServerThatNeverAnswersTimesOutAfterElevenSends) {
    const test_support::TempFolder folder;
    StandinSim sim({"--socket-dir", folder.path().string(), "--fault", "no-answer"});
    ASSERT_FALSE(sim.firstLine().empty());
    {
        PosixIpcPlatform posix(folder.path().string());
        ShortWaitPlatform platform(posix);
        Link link(platform);
        EXPECT_EQ(openCode(link), simlink::kTimedOut);
        EXPECT_FALSE(link.isOpen());
        // Eleven sends of 2 s each, with a pause of 100 ms before each send after the first.
        EXPECT_EQ(platform.askedTimeoutsMs, std::vector<std::uint32_t>(11, 2000));
        EXPECT_EQ(platform.pausesMs, std::vector<std::uint32_t>(10, 100));
    }
    EXPECT_EQ(sim.stop(), 0);
}

// The one check in real time: a send to a server that never answers waits out its whole
// time-out and then reports a time-out, not a failure.
TEST(StandinSimRoundTrip, SendToAServerThatNeverAnswersWaitsItsTimeOut) {
    const test_support::TempFolder folder;
    StandinSim sim({"--socket-dir", folder.path().string(), "--fault", "no-answer"});
    ASSERT_FALSE(sim.firstLine().empty());
    PosixIpcPlatform platform(folder.path().string());
    const simlink::WindowHandle window = platform.findWindow("UIPCMAIN");
    ASSERT_NE(window, 0U);
    const std::uint32_t message = platform.registerWindowMessage(simlink::kMessageName);
    std::uint32_t reply = 7;
    EXPECT_FALSE(platform.sendMessageTimeout(window, message, 0, 0, simlink::kSendTimeoutMs, reply));
    EXPECT_EQ(platform.lastError(), 0U);
    EXPECT_EQ(reply, 7U);
    EXPECT_EQ(sim.stop(), 0);
}

}  // namespace
}  // namespace stratocue::standins
