#pragma once

#include <windows.h>

namespace stratocue::entry {

// Ctrl+C, Ctrl+Break and closing the console end the Windows program as SIGINT and SIGTERM
// end it on Linux. Windows calls the console handler on a thread of its own, so the
// handler only posts `message` to `target`; the window's thread then runs the end. On
// closing the console Windows ends the process once the handler returns, so the handler
// waits (up to the few seconds Windows grants) until the target window is gone.
class ConsoleEndRequests {
public:
    ConsoleEndRequests(HWND target, UINT message);
    ConsoleEndRequests(const ConsoleEndRequests&) = delete;
    ConsoleEndRequests& operator=(const ConsoleEndRequests&) = delete;
    ConsoleEndRequests(ConsoleEndRequests&&) = delete;
    ConsoleEndRequests& operator=(ConsoleEndRequests&&) = delete;
    ~ConsoleEndRequests();

    // Whether an end was asked for since this object was made; safe from any thread, so
    // that work under way can give up before the window's thread gets to the message.
    [[nodiscard]] static bool requested();
};

}  // namespace stratocue::entry
