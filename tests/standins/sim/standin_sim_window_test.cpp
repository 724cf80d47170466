// Runs standin-sim.exe as its own process and talks to it through the real link over the
// win32 platform: the link checks of the Windows build.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/version_text.h"
#include "common/sim_offsets.h"
#include "common/units.h"
#include "simlink/link.h"
#include "simlink/win32_platform.h"
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

// Counts the sends, and otherwise forwards every call to the system.
class CountingPlatform final : public simlink::IpcPlatform {
public:
    simlink::WindowHandle findWindow(std::string_view className) override { return system_.findWindow(className); }
    std::uint32_t registerWindowMessage(std::string_view name) override { return system_.registerWindowMessage(name); }
    std::uint32_t currentProcessId() override { return system_.currentProcessId(); }
    simlink::Atom addAtom(std::string_view name) override { return system_.addAtom(name); }
    void deleteAtom(simlink::Atom atom) override { system_.deleteAtom(atom); }
    simlink::MappingHandle createFileMapping(std::string_view name, std::uint32_t sizeBytes) override {
        return system_.createFileMapping(name, sizeBytes);
    }
    std::span<std::byte> mapView(simlink::MappingHandle mapping) override { return system_.mapView(mapping); }
    void unmapView(std::span<std::byte> view) override { system_.unmapView(view); }
    void closeHandle(simlink::MappingHandle mapping) override { system_.closeHandle(mapping); }
    std::uint32_t lastError() override { return system_.lastError(); }
    bool sendMessageTimeout(simlink::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam, std::uint32_t timeoutMs, std::uint32_t& reply) override {
        ++sends;
        return system_.sendMessageTimeout(window, message, wParam, lParam, timeoutMs, reply);
    }
    void sleep(std::uint32_t milliseconds) override { system_.sleep(milliseconds); }

    int sends = 0;

private:
    Win32IpcPlatform system_;
};

std::vector<nlohmann::json> readLogLines(const std::filesystem::path& path) {
    std::vector<nlohmann::json> lines;
    std::ifstream log(path);
    for (std::string line; std::getline(log, line);) {
        lines.push_back(nlohmann::json::parse(line));
    }
    return lines;
}

std::string firstLine(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

std::int32_t openCode(Link& link) {
    link.Link_Init();
    std::int32_t code = -1;
    link.Link_Open(0, code);
    return code;
}

TEST(StandinSimWindow, OpensReadsWritesAndLogs) {
    const TempFolder folder;
    const std::filesystem::path flight = folder.write("flight.txt", "# one point, held\n0 51.5 -0.25 120.5\n");
    StandinSim sim({"--log", folder.file("log.jsonl").string(), "--flight", flight.string(), "--clock", "14:05:09"},
                   folder.file("out.txt"));
    ASSERT_TRUE(sim.waitForWindow("UIPCMAIN"));

    {
        Win32IpcPlatform platform;
        Link link(platform);
        const std::int32_t opened = openCode(link);
        EXPECT_EQ(simlink::ResultTexts(opened), "Active");
        ASSERT_EQ(opened, simlink::kOk);
        EXPECT_EQ(link.state().ServerVersion, 0x28100004);
        EXPECT_EQ(app::versionText(link.state().ServerVersion), "2.810d");
        EXPECT_EQ(link.state().SimId, 6);
        EXPECT_EQ(simlink::SimNames(link.state().SimId), "FS2002");

        std::int32_t code = -1;
        EXPECT_FALSE(link.Link_Open(0, code));
        EXPECT_EQ(code, simlink::kAlreadyOpen);
        EXPECT_TRUE(link.isOpen());

        std::array<std::byte, 4> latitude{};
        std::array<std::byte, 4> longitude{};
        std::array<std::byte, 4> altitude{};
        std::array<std::byte, 3> clock{};
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
    EXPECT_EQ(firstLine(folder.file("out.txt")), "standin-sim: serving window class UIPCMAIN");
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

    // With the stand-in gone the window is gone too.
    Win32IpcPlatform platform;
    Link link(platform);
    const std::int32_t code = openCode(link);
    EXPECT_EQ(code, simlink::kNoServer);
    EXPECT_EQ(simlink::ResultTexts(code), "Cannot link to FSUIPC or WideClient");
}

TEST(StandinSimWindow, ServerFaultsGiveTheirCodes) {
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
        {"SocketFolderIgnored", {"--socket-dir", "/nowhere"}, "UIPCMAIN", simlink::kOk},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const TempFolder folder;
        StandinSim sim(test.options, folder.file("out.txt"));
        ASSERT_TRUE(sim.waitForWindow(test.windowClass));
        {
            Win32IpcPlatform platform;
            Link link(platform);
            EXPECT_EQ(openCode(link), test.expectedCode);
            EXPECT_EQ(link.isOpen(), test.expectedCode == simlink::kOk);
        }
        EXPECT_EQ(sim.stop(), 0);
    }
}

TEST(StandinSimWindow, EndsByItselfAfterItsRunTime) {
    const TempFolder folder;
    StandinSim sim({"--run-seconds", "1"}, folder.file("out.txt"));
    ASSERT_TRUE(sim.waitForWindow("UIPCMAIN"));
    EXPECT_EQ(sim.waitForExit(), 0);
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

// Slow by nature: eleven sends of 2 s each before the link gives up.
TEST(StandinSimWindow, SlowServerTimesOutAfterEverySend) {
    struct Case {
        const char* fault;
    };
    const Case cases[] = {{"slow"}, {"no-answer"}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.fault);
        const TempFolder folder;
        StandinSim sim({"--fault", test.fault}, folder.file("out.txt"));
        ASSERT_TRUE(sim.waitForWindow("UIPCMAIN"));
        {
            CountingPlatform platform;
            Link link(platform);
            EXPECT_EQ(openCode(link), simlink::kTimedOut);
            EXPECT_EQ(platform.sends, simlink::kSendAttempts);
            EXPECT_FALSE(link.isOpen());
        }
        EXPECT_EQ(sim.stop(), 0);
    }
}

}  // namespace
}  // namespace stratocue::standins
