// The Stratocue program for Windows: the Win32 message loop around the program's start-up,
// windows and timers. With --headless it runs the same program without windows and writes
// one JSON line per tick to the console.

#include <windows.h>

#include <array>
#include <exception>
#include <filesystem>
#include <iostream>

#include "app/program.h"
#include "program/command_line.h"
#include "program/console_end.h"
#include "program/headless.h"
#include "simlink/win32_platform.h"
#include "ui/http_transfer.h"
#include "ui/win32/message_pump.h"
#include "ui/win32/message_window.h"
#include "ui/win32/view_manager.h"
#include "ui/win32/win32_message_boxes.h"

namespace {

// Posted by the console handler: Ctrl+C, Ctrl+Break, the console closing.
constexpr UINT kEndRequested = WM_APP + 1;
constexpr UINT kEndRetryMilliseconds = 500;
constexpr int kUsageError = 2;
constexpr int kFailure = 1;

// Started from Explorer, the program has a console window of its own, which the windowed
// program does not need; started from a console it keeps that console for Ctrl+C.
void releaseOwnConsole() {
    std::array<DWORD, 2> attached{};
    if (GetConsoleWindow() != nullptr && GetConsoleProcessList(attached.data(), 2) == 1) FreeConsole();
}

int runProgram(const stratocue::program::CommandLine& commandLine) {
    using namespace stratocue;
    simlink::Win32IpcPlatform platform;
    const auto inet = ui::makeWinInetTransfer();
    ui::win32::MessagePump pump;
    inet->setKeepAlive([&pump] { pump.pumpPending(); });
    ui::win32::Win32MessageBoxes windowedBoxes;
    program::StderrMessageBoxes headlessBoxes;
    ui::MessageBoxes& messageBoxes =
        commandLine.headless ? static_cast<ui::MessageBoxes&>(headlessBoxes) : windowedBoxes;

    app::Program program({platform, *inet, messageBoxes, std::filesystem::current_path()});
    if (commandLine.headless) {
        program.afterTick = [&program] { std::cout << program::tickSnapshotLine(program) << std::endl; };
    }
    ui::win32::MessageWindow messages;
    ui::win32::ViewManager views(
        messages, {program.frmMain, program.frmStatus, program.frmSplash, [&program] { program.closeMainWindow(); }},
        {!commandLine.headless, commandLine.tickMs}, [] { PostQuitMessage(0); });

    // The end on Ctrl+C: a running download is cancelled and an open message box closed, so
    // the end does not wait for the server or the user; the loop ends once no window is left.
    messages.onMessage(kEndRequested, [&program, &windowedBoxes] {
        program.endOnSignal();
        windowedBoxes.closeOpenBoxes();
        if (!program.anyWindowLeft()) PostQuitMessage(0);
    });
    const program::ConsoleEndRequests consoleEnd(messages.handle(), kEndRequested);
    // A link exchange with a server that does not answer gives its retries up once an end is asked.
    program.link.setGiveUp([] { return program::ConsoleEndRequests::requested(); });

    messages.post([&program] {
        program.Main();
        if (!program.anyWindowLeft()) PostQuitMessage(0);
    });

    if (commandLine.runSeconds) {
        // End Program is refused while a download runs; ask again until it is done.
        const UINT_PTR endTimer = messages.newTimerId();
        const UINT_PTR retryTimer = messages.newTimerId();
        messages.startTimer(endTimer, static_cast<UINT>(*commandLine.runSeconds) * 1000,
                            [&messages, &program, endTimer, retryTimer] {
                                messages.stopTimer(endTimer);
                                messages.startTimer(retryTimer, kEndRetryMilliseconds, [&program] {
                                    if (program.frmMain.exists()) program.frmMain().butOK.click();
                                });
                            });
    }
    return pump.run();
}

}  // namespace

int main(int argc, char** argv) {
    const auto commandLine = stratocue::program::readCommandLine(argc, argv);
    if (!commandLine) {
        std::cerr << stratocue::program::kUsage;
        return kUsageError;
    }
    if (commandLine->headless) {
        SetConsoleOutputCP(CP_UTF8);  // the JSON lines are UTF-8
    } else {
        releaseOwnConsole();
    }
    try {
        return runProgram(*commandLine);
    } catch (const std::exception& failure) {
        std::cerr << "stratocue: " << failure.what() << std::endl;
        return kFailure;
    }
}
