// Runs standin-sim.exe as its own process and talks to it through the real link over the
// win32 platform: the contract on a window, and one server per window class.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "simlink/link.h"
#include "simlink/win32_platform.h"
#include "tests/standins/sim/standin_sim_contract.h"
#include "tests/support/temp_folder.h"

namespace stratocue::standins {
namespace {

using simlink::Link;
using simlink::Win32IpcPlatform;
using test_support::TempFolder;

// Longest wait for the stand-in to show its window or to end; only a guard against a hang.
constexpr DWORD kGuardMs = 30000;

// One command-line argument quoted the way the C runtime splits it again.
std::string quoted(const std::string& argument) {
    std::string text = "\"";
    std::size_t backslashes = 0;
    for (const char character : argument) {
        if (character == '\\') {
            ++backslashes;
            continue;
        }
        text.append(character == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        text += character;
    }
    text.append(backslashes * 2, '\\');
    return text + "\"";
}

// The stand-in simulator as a child process with its standard output in a file.
class StandinSim {
public:
    StandinSim(const std::vector<std::string>& options, const std::filesystem::path& outputFile) {
        SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        const HANDLE output =
            ::CreateFileA(outputFile.string().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (output == INVALID_HANDLE_VALUE) {
            return;
        }
        std::string commandLine = quoted(STANDIN_SIM_PATH);
        for (const std::string& option : options) {
            commandLine += " " + quoted(option);
        }
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = output;
        startup.hStdError = output;
        PROCESS_INFORMATION started{};
        if (::CreateProcessA(STANDIN_SIM_PATH, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                             &startup, &started)) {
            process_ = started.hProcess;
            processId_ = started.dwProcessId;
            ::CloseHandle(started.hThread);
        }
        ::CloseHandle(output);
    }
    StandinSim(const StandinSim&) = delete;
    StandinSim& operator=(const StandinSim&) = delete;
    ~StandinSim() {
        if (process_ != nullptr) {
            ::TerminateProcess(process_, 1);
            ::WaitForSingleObject(process_, kGuardMs);
            ::CloseHandle(process_);
        }
    }

    // Waits until the stand-in shows a window of the class; false when it ends first or
    // the guard runs out.
    bool waitForWindow(const std::string& windowClass) {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(kGuardMs);
        while (process_ != nullptr && std::chrono::steady_clock::now() < giveUp) {
            const HWND window = ::FindWindowExA(nullptr, nullptr, windowClass.c_str(), nullptr);
            DWORD owner = 0;
            if (window != nullptr && ::GetWindowThreadProcessId(window, &owner) != 0 && owner == processId_) {
                window_ = window;
                return true;
            }
            // Ends the wait early when the stand-in has ended; otherwise a short pause.
            if (::WaitForSingleObject(process_, 20) == WAIT_OBJECT_0) {
                return false;
            }
        }
        return false;
    }

    // Waits for the stand-in to end; its exit code, or -1 when it does not end in time.
    int waitForExit() {
        if (process_ == nullptr || ::WaitForSingleObject(process_, kGuardMs) != WAIT_OBJECT_0) {
            return -1;
        }
        DWORD exitCode = 0;
        ::GetExitCodeProcess(process_, &exitCode);
        ::CloseHandle(process_);
        process_ = nullptr;
        return static_cast<int>(exitCode);
    }

    // Closes its window and waits; the exit code, or -1 when it did not end in time.
    int stop() {
        if (window_ == nullptr || !::PostMessageA(window_, WM_CLOSE, 0, 0)) {
            return -1;
        }
        return waitForExit();
    }

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
};

std::string firstLine(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

// The contract over the window of the win32 platform.
class WindowStandin {
public:
    WindowStandin(const TempFolder& folder, const std::vector<std::string>& options)
        : output_(folder.file("out.txt")), process_(options, output_) {}

    // Its window, and then the line that announces it.
    bool waitUntilServing(std::string_view windowClass) {
        if (!process_.waitForWindow(std::string(windowClass))) return false;
        const std::string announcement = "standin-sim: serving window class " + std::string(windowClass);
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(kGuardMs);
        while (firstLine(output_) != announcement) {
            if (std::chrono::steady_clock::now() > giveUp) return false;
            ::Sleep(10);
        }
        return true;
    }
    int stop() { return process_.stop(); }
    int waitForExit() { return process_.waitForExit(); }
    [[nodiscard]] bool serverGone() const { return ::FindWindowExA(nullptr, nullptr, "UIPCMAIN", nullptr) == nullptr; }
    static std::unique_ptr<simlink::IpcPlatform> client(const TempFolder&) {
        return std::make_unique<Win32IpcPlatform>();
    }

private:
    std::filesystem::path output_;
    StandinSim process_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(StandinSimWindow, StandinSimContract, WindowStandin);

// On Windows the socket folder means nothing: the option is taken and ignored.
TEST(StandinSimWindow, SocketFolderOptionIsIgnored) {
    const TempFolder folder;
    StandinSim sim({"--socket-dir", "/nowhere"}, folder.file("out.txt"));
    ASSERT_TRUE(sim.waitForWindow("UIPCMAIN"));
    {
        Win32IpcPlatform platform;
        Link link(platform);
        EXPECT_EQ(openCode(link), simlink::kOk);
        EXPECT_TRUE(link.isOpen());
    }
    EXPECT_EQ(sim.stop(), 0);
}

TEST(StandinSimWindow, SecondServerOfTheSameClassIsRefused) {
    const TempFolder folder;
    StandinSim first({}, folder.file("first.txt"));
    ASSERT_TRUE(first.waitForWindow("UIPCMAIN"));
    StandinSim second({}, folder.file("second.txt"));
    EXPECT_EQ(second.waitForExit(), 1);
    EXPECT_EQ(firstLine(folder.file("second.txt")), "standin-sim: another server has a window of class UIPCMAIN");
    EXPECT_EQ(first.stop(), 0);
}

}  // namespace
}  // namespace stratocue::standins
