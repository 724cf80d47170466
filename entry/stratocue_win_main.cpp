// The Stratocue program for Windows: the Win32 message loop around the program's start-up,
// windows and timers. With --headless it runs the same program without windows and writes
// one JSON line per tick to the console it was started from.

#include <windows.h>
// Needs <windows.h> first.
#include <commctrl.h>

#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "app/program.h"
#include "entry/command_line.h"
#include "entry/console_end.h"
#include "entry/headless.h"
#include "entry/windows_console.h"
#include "eventlog/event_log.h"
#include "simlink/win32_platform.h"
#include "ui/win32/message_pump.h"
#include "ui/win32/message_window.h"
#include "ui/win32/view_manager.h"
#include "ui/win32/win32_message_boxes.h"
#include "web/http_transfer.h"

namespace {

// Posted by the console handler: Ctrl+C, Ctrl+Break, the console closing.
constexpr UINT kEndRequested = WM_APP + 1;
constexpr UINT kEndRetryMilliseconds = 500;
constexpr int kUsageError = 2;
constexpr int kFailure = 1;

// The controls of the common controls 6 that the manifest asks for, themed.
void loadThemedControls() {
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&classes);
}

int runProgram(const stratocue::entry::CommandLine& commandLine) {
    using namespace stratocue;
    simlink::Win32IpcPlatform platform;
    // stratocue.log beside the station files: what a pilot sends when asking for help.
    eventlog::FileEventLog eventLog(std::filesystem::current_path());
    const auto inet = web::makeWinInetTransfer({.eventLog = &eventLog});
    ui::win32::MessagePump pump;
    inet->setKeepAlive([&pump] { pump.pumpPending(); });
    ui::win32::Win32MessageBoxes windowedBoxes;
    entry::StderrMessageBoxes headlessBoxes;
    ui::MessageBoxes& messageBoxes =
        commandLine.headless ? static_cast<ui::MessageBoxes&>(headlessBoxes) : windowedBoxes;

    // The settings are kept beside the station files.
    const std::filesystem::path folder = std::filesystem::current_path();
    app::Program program({platform, *inet, messageBoxes, folder, nullptr, nullptr, folder, &eventLog});
    if (commandLine.headless) {
        program.afterTick = [&program] { std::cout << entry::tickSnapshotLine(program) << std::endl; };
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
    const entry::ConsoleEndRequests consoleEnd(messages.handle(), kEndRequested);
    // A link exchange with a server that does not answer gives its retries up once an end is asked.
    program.link.setGiveUp([] { return entry::ConsoleEndRequests::requested(); });

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
    using namespace stratocue::entry;
    const auto commandLine = readCommandLine(argc, argv);
    if (!commandLine) {
        // Whoever typed options most likely typed them into a console.
        const ParentConsole console(ParentConsole::WithoutParent::StayWithout);
        std::string usage(kUsage);
        if (!usage.empty() && usage.back() == '\n') usage.pop_back();
        reportFatalError(usage, console.errorsReachSomeone());
        return kUsageError;
    }
    // Only the headless mode joins the console it was started from; the windowed program
    // reports to standard error only when that was redirected.
    std::optional<ParentConsole> console;
    if (commandLine->headless) {
        console.emplace(ParentConsole::WithoutParent::OpenOwn);
        console->useUtf8Output();  // the JSON lines are UTF-8
    } else {
        loadThemedControls();
    }
    const bool errorsToStandardError = console ? console->errorsReachSomeone() : standardErrorIsConnected();
    try {
        return runProgram(*commandLine);
    } catch (const std::exception& failure) {
        reportFatalError(std::string("stratocue: ") + failure.what(), errorsToStandardError);
        return kFailure;
    }
}
