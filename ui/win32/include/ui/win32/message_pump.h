#pragma once

#include <optional>

namespace stratocue::ui::win32 {

// The program's message loop, and the pumping a download does while it waits. A WM_QUIT
// taken by the pumping ends the main loop as soon as control returns to it.
class MessagePump {
public:
    // Dispatches messages until WM_QUIT; returns its exit code.
    int run();
    // Dispatches every message waiting, without blocking (the downloads' keep-alive).
    void pumpPending();
    [[nodiscard]] bool quitRequested() const noexcept { return exitCode_.has_value(); }

private:
    std::optional<int> exitCode_;
};

}  // namespace stratocue::ui::win32
