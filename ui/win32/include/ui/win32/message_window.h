#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <map>

namespace stratocue::ui::win32 {

// A hidden message-only window that runs the program's deferred work and timers on the
// thread that made it: posted tasks, repeating timers (WM_TIMER) and messages other
// threads post to it. Whichever message loop runs (the main loop, a message box, a
// download's keep-alive) delivers them.
class MessageWindow {
public:
    // Raises std::runtime_error when Windows refuses the window.
    MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;
    MessageWindow(MessageWindow&&) = delete;
    MessageWindow& operator=(MessageWindow&&) = delete;
    ~MessageWindow();

    [[nodiscard]] HWND handle() const noexcept { return window_; }

    // Runs `task` once, after the message being handled now.
    void post(std::function<void()> task);

    // A number for a new timer of this window.
    [[nodiscard]] UINT_PTR newTimerId() noexcept { return nextTimerId_++; }
    // Starts the timer, or restarts it with the new interval: `tick` runs every interval.
    void startTimer(UINT_PTR id, UINT intervalMs, std::function<void()> tick);
    void stopTimer(UINT_PTR id);

    // Runs `handler` whenever `message` (WM_APP and above) arrives; any thread may post it.
    void onMessage(UINT message, std::function<void()> handler);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    std::deque<std::function<void()>> tasks_;
    std::map<UINT_PTR, std::function<void()>> timers_;
    std::map<UINT, std::function<void()>> handlers_;
    UINT_PTR nextTimerId_ = 1;
};

}  // namespace stratocue::ui::win32
