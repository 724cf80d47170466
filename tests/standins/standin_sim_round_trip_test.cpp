// Runs the stand-in simulator as its own process and talks to it through the real link.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "simlink/link.h"
#include "simlink/posix_platform.h"

extern char** environ;

namespace stratocue::standins {
namespace {

using simlink::Link;
using simlink::PosixIpcPlatform;

// Longest wait for the stand-in to report that it listens; only a guard against a hang.
constexpr int kStartGuardMs = 30000;

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "stratocue-sim-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    [[nodiscard]] std::string file(std::string_view name) const { return path_ + "/" + std::string(name); }
    [[nodiscard]] const std::string& path() const { return path_; }

private:
    std::string path_;
};

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
    const TempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    std::ofstream(folder.file("flight.txt")) << "# one point, held\n0 51.5 -0.25 120.5\n";
    StandinSim sim({"--socket-dir", folder.path(), "--log", folder.file("log.jsonl"), "--flight",
                    folder.file("flight.txt"), "--clock", "14:05:09"});
    const std::string socketPath = folder.file("stratocue-UIPCMAIN.sock");
    ASSERT_EQ(sim.firstLine(), "standin-sim: listening on " + socketPath);

    {
        PosixIpcPlatform platform(folder.path());
        Link link(platform);
        ASSERT_EQ(openCode(link), simlink::kOk);
        EXPECT_EQ(link.state().ServerVersion, 0x28100004);
        EXPECT_EQ(link.state().SimId, 6);

        std::array<std::byte, 4> latitude{};
        std::array<std::byte, 4> longitude{};
        std::array<std::byte, 4> altitude{};
        std::array<std::byte, 3> clock{};
        std::int32_t code = -1;
        ASSERT_TRUE(link.Link_Read(0x0564, 4, latitude, code));
        ASSERT_TRUE(link.Link_Read(0x056C, 4, longitude, code));
        ASSERT_TRUE(link.Link_Read(0x0574, 4, altitude, code));
        ASSERT_TRUE(link.Link_Read(0x0238, 3, clock, code));
        ASSERT_TRUE(link.Link_Process(code)) << simlink::ResultTexts(code);
        EXPECT_NEAR(simlink::readLe32(latitude) * 90.0 / 10001750.0, 51.5, 1e-5);
        EXPECT_NEAR(simlink::readLe32(longitude) * 360.0 / 4294967296.0, -0.25, 1e-6);
        EXPECT_EQ(simlink::readLe32(altitude), 120);
        EXPECT_EQ(clock[0], std::byte{14});
        EXPECT_LE(std::to_integer<int>(clock[1]) * 60 + std::to_integer<int>(clock[2]), 5 * 60 + 59);

        const std::array<std::byte, 2> wind{std::byte{0x34}, std::byte{0x12}};
        ASSERT_TRUE(link.Link_Write(0x0F42, 2, wind, code));
        ASSERT_TRUE(link.Link_Process(code));
        const std::string message = "Stratocue->Hi 270\xB0";
        const std::array<std::byte, 2> minusOne{std::byte{0xFF}, std::byte{0xFF}};
        ASSERT_TRUE(link.Link_WriteText(0x3380, static_cast<std::int32_t>(message.size() + 1), message, code));
        ASSERT_TRUE(link.Link_Write(0x32FA, 2, minusOne, code));
        ASSERT_TRUE(link.Link_Process(code));
        link.Link_Close();
    }

    EXPECT_EQ(sim.stop(), 0);
    EXPECT_FALSE(std::filesystem::exists(socketPath));
    const std::vector<nlohmann::json> lines = readLogLines(folder.file("log.jsonl"));
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
    PosixIpcPlatform platform(folder.path());
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
        const TempFolder folder;
        std::vector<std::string> options = {"--socket-dir", folder.path()};
        options.insert(options.end(), test.options.begin(), test.options.end());
        StandinSim sim(options);
        ASSERT_EQ(sim.firstLine(),
                  "standin-sim: listening on " + folder.file("stratocue-" + test.windowClass + ".sock"));
        {
            PosixIpcPlatform platform(folder.path());
            Link link(platform);
            EXPECT_EQ(openCode(link), test.expectedCode);
            EXPECT_FALSE(link.isOpen());
        }
        EXPECT_EQ(sim.stop(), 0);
    }
}

// Slow by nature: eleven sends of 2 s each before the link gives up.
TEST(StandinSimRoundTrip, ServerThatNeverAnswersTimesOut) {
    const TempFolder folder;
    StandinSim sim({"--socket-dir", folder.path(), "--fault", "no-answer"});
    ASSERT_FALSE(sim.firstLine().empty());
    {
        PosixIpcPlatform platform(folder.path());
        Link link(platform);
        EXPECT_EQ(openCode(link), simlink::kTimedOut);
    }
    EXPECT_EQ(sim.stop(), 0);
}

}  // namespace
}  // namespace stratocue::standins
