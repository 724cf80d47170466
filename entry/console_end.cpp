#include "entry/console_end.h"

#include <atomic>

namespace stratocue::entry {
namespace {

constexpr DWORD kPollMilliseconds = 50;
// Windows ends the process 5 s after a close event; leave it a little of that.
constexpr DWORD kCloseWaitMilliseconds = 4500;

// Where the handler posts. The console handler receives no context of its own, so the
// one handler of the process finds its target here.
struct EndTarget {
    std::atomic<HWND> window = nullptr;
    std::atomic<UINT> message = 0;
    std::atomic<bool> requested = false;
};

EndTarget& endTarget() {
    static EndTarget target;
    return target;
}

BOOL WINAPI onConsoleEvent(DWORD event) {
    const HWND window = endTarget().window.load();
    if (window == nullptr) return FALSE;
    endTarget().requested = true;
    PostMessageA(window, endTarget().message.load(), 0, 0);
    const bool processEndsOnReturn =
        event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
    if (processEndsOnReturn) {
        for (DWORD waited = 0; waited < kCloseWaitMilliseconds && IsWindow(window); waited += kPollMilliseconds) {
            Sleep(kPollMilliseconds);
        }
    }
    return TRUE;
}

}  // namespace

ConsoleEndRequests::ConsoleEndRequests(HWND target, UINT message) {
    endTarget().message = message;
    endTarget().window = target;
    SetConsoleCtrlHandler(&onConsoleEvent, TRUE);
}

bool ConsoleEndRequests::requested() { return endTarget().requested.load(); }

ConsoleEndRequests::~ConsoleEndRequests() {
    SetConsoleCtrlHandler(&onConsoleEvent, FALSE);
    endTarget().window = nullptr;
}

}  // namespace stratocue::entry
