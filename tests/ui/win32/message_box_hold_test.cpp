// The message-box contract on Win32: MessageBoxA runs a message loop of its own that goes
// on dispatching WM_TIMER. Runs under Wine.

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "tests/support/driven_timer.h"
#include "tests/ui/message_box_hold_contract.h"
#include "tests/ui/win32/win32_test_support.h"
#include "ui/win32/message_window.h"
#include "ui/win32/timer_driver.h"
#include "ui/win32/win32_message_boxes.h"

namespace stratocue::ui::win32 {
namespace {

// A message from outside the loop, as Ctrl+C sends one.
constexpr UINT kTaskPosted = WM_APP + 7;

// The message box of this thread the user sees now, if one is open.
HWND openMessageBox() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
            std::array<char, 16> className{};
            GetClassNameA(window, className.data(), static_cast<int>(className.size()));
            if (std::string_view(className.data()) == "#32770" && IsWindowVisible(window)) {
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

struct Win32Kit {
    MessageWindow messages;
    Win32MessageBoxes boxes;
    test_support::DrivenTimer<TimerDriver> timer{boxes, kTimerIntervalMs, messages};
    UINT_PTR probe = messages.newTimerId();
    std::function<void()> posted;

    Win32Kit() {
        messages.onMessage(kTaskPosted, [this] {
            if (posted) posted();
        });
    }

    bool waitUntil(const std::function<bool()>& done) { return tests::pumpUntil(done); }
    void startProbe(int intervalMs, std::function<void()> tick) {
        messages.startTimer(probe, static_cast<UINT>(intervalMs), std::move(tick));
    }
    void stopProbe() { messages.stopTimer(probe); }
    bool boxIsOpen() { return openMessageBox() != nullptr; }
    std::string openBoxTitle() { return tests::windowText(openMessageBox()); }
    // The texts of the box's static controls.
    std::string openBoxText() {
        std::string text;
        for (HWND control = GetWindow(openMessageBox(), GW_CHILD); control != nullptr;
             control = GetWindow(control, GW_HWNDNEXT)) {
            std::array<char, 16> className{};
            GetClassNameA(control, className.data(), static_cast<int>(className.size()));
            if (std::string_view(className.data()) == "Static") text += tests::windowText(control);
        }
        return text;
    }
    void pressOk() { PostMessageA(openMessageBox(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }
    void postToLoop(std::function<void()> task) {
        posted = std::move(task);
        PostMessageA(messages.handle(), kTaskPosted, 0, 0);
    }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32MessageBoxHold, MessageBoxHoldContract, Win32Kit);

}  // namespace
}  // namespace stratocue::ui::win32
