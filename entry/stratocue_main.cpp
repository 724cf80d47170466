// The Stratocue program: the Qt event loop around the program's start-up, windows and
// timers. With --headless it runs the same program without widgets, for automation.

#include <QApplication>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/program.h"
#include "entry/command_line.h"
#include "entry/headless.h"
#include "eventlog/event_log.h"
#include "simlink/posix_platform.h"
#include "ui/qt/qt_message_boxes.h"
#include "ui/qt/view_manager.h"
#include "web/http_transfer.h"

#ifdef __linux__
#include <sys/signalfd.h>
#include <unistd.h>
#endif

namespace {

#ifdef __linux__
// SIGINT, SIGTERM and SIGHUP (the terminal closed) end the program through its End Program action, so the simulator
// link is closed properly; the signals arrive as events through a signalfd. A running
// download is cancelled and an open message box closed, so the end does not wait for the
// server or the user; the event loop ends once no window is left.
// The signals are blocked before any thread starts, so that none of them takes the
// default action in another thread.
sigset_t blockEndSignals() {
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGHUP);
    sigprocmask(SIG_BLOCK, &blocked, nullptr);
    return blocked;
}

// Whether one of the end signals waits to be read: the link asks this between the retries of
// an exchange, which the event loop cannot interrupt.
bool endSignalPending(const sigset_t& endSignals) {
    sigset_t pending;
    sigemptyset(&pending);
    if (sigpending(&pending) != 0) return false;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        if (sigismember(&endSignals, signal) == 1 && sigismember(&pending, signal) == 1) return true;
    }
    return false;
}

std::unique_ptr<QSocketNotifier> endOnSignals(const sigset_t& blocked, stratocue::app::Program& program,
                                              stratocue::ui::qt::QtMessageBoxes& boxes) {
    const int descriptor = signalfd(-1, &blocked, SFD_CLOEXEC | SFD_NONBLOCK);
    if (descriptor < 0) return nullptr;
    auto notifier = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, [descriptor, &program, &boxes] {
        signalfd_siginfo info{};
        while (read(descriptor, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {}
        program.endOnSignal();
        boxes.closeOpenBoxes();
        if (!program.anyWindowLeft()) QCoreApplication::quit();
    });
    return notifier;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    const auto commandLine = stratocue::entry::readCommandLine(argc, argv);
    if (!commandLine) {
        std::cerr << stratocue::entry::kUsage;
        return 2;
    }
    using namespace stratocue;
#ifdef __linux__
    const sigset_t endSignals = blockEndSignals();
#endif

    std::unique_ptr<QCoreApplication> application;
    if (commandLine->headless) {
        application = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        auto gui = std::make_unique<QApplication>(argc, argv);
        gui->setQuitOnLastWindowClosed(false);  // hidden windows still keep the program alive
        application = std::move(gui);
    }

    simlink::PosixIpcPlatform platform;
    // stratocue.log beside the station files: what a pilot sends when asking for help.
    eventlog::FileEventLog eventLog(std::filesystem::current_path());
    const auto inet = web::makeCurlTransfer({.eventLog = &eventLog});
    inet->setKeepAlive([] { QCoreApplication::processEvents(QEventLoop::AllEvents, 50); });
    ui::qt::QtMessageBoxes windowedBoxes;
    entry::StderrMessageBoxes headlessBoxes;
    ui::MessageBoxes& messageBoxes =
        commandLine->headless ? static_cast<ui::MessageBoxes&>(headlessBoxes) : windowedBoxes;

    // The settings are kept beside the station files.
    const std::filesystem::path folder = std::filesystem::current_path();
    app::Program program({platform, *inet, messageBoxes, folder, nullptr, nullptr, folder, &eventLog});
    if (commandLine->headless) {
        program.afterTick = [&program] { std::cout << entry::tickSnapshotLine(program) << std::endl; };
    }
    ui::qt::ViewManager views(
        {program.frmMain, program.frmStatus, program.frmSplash, [&program] { program.closeMainWindow(); }},
        {!commandLine->headless, commandLine->tickMs}, [] { QCoreApplication::quit(); });

#ifdef __linux__
    const auto signalNotifier = endOnSignals(endSignals, program, windowedBoxes);
    program.link.setGiveUp([&endSignals] { return endSignalPending(endSignals); });
#endif

    QTimer::singleShot(0, [&program] {
        program.Main();
        if (!program.anyWindowLeft()) QCoreApplication::quit();
    });

    QTimer endProgram;
    if (commandLine->runSeconds) {
        // End Program is refused while a download runs; ask again until it is done.
        QObject::connect(&endProgram, &QTimer::timeout, [&program] {
            if (program.frmMain.exists()) program.frmMain().butOK.click();
        });
        QTimer::singleShot(*commandLine->runSeconds * 1000, [&endProgram] { endProgram.start(500); });
    }
    return application->exec();
}
