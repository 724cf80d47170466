// Runs the stand-in simulator as its own process and talks to it through the real link over
// the posix platform: the contract on a Unix-domain socket.
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
#include <memory>
#include <string>
#include <vector>

#include "simlink/link.h"
#include "simlink/posix_platform.h"
#include "tests/standins/sim/standin_sim_contract.h"
#include "tests/support/temp_folder.h"

extern char** environ;

namespace stratocue::standins {
namespace {

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

// The contract over the Unix-domain socket of the posix platform.
class SocketStandin {
public:
    SocketStandin(const test_support::TempFolder& folder, std::vector<std::string> options)
        : folder_(folder.path()), process_(withSocketFolder(folder, std::move(options))) {}

    bool waitUntilServing(std::string_view windowClass) {
        return process_.firstLine() == "standin-sim: listening on " + socketPath(windowClass);
    }
    int stop() { return process_.stop(); }
    int waitForExit() { return process_.waitForExit(); }
    [[nodiscard]] bool serverGone() const { return !std::filesystem::exists(socketPath("UIPCMAIN")); }
    static std::unique_ptr<simlink::IpcPlatform> client(const test_support::TempFolder& folder) {
        return std::make_unique<PosixIpcPlatform>(folder.path().string());
    }

private:
    static std::vector<std::string> withSocketFolder(const test_support::TempFolder& folder,
                                                     std::vector<std::string> options) {
        options.insert(options.begin(), {"--socket-dir", folder.path().string()});
        return options;
    }
    [[nodiscard]] std::string socketPath(std::string_view windowClass) const {
        return (folder_ / ("stratocue-" + std::string(windowClass) + ".sock")).string();
    }

    std::filesystem::path folder_;
    StandinSim process_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(StandinSimSocket, StandinSimContract, SocketStandin);

}  // namespace
}  // namespace stratocue::standins
