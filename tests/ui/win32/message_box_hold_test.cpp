// MessageBoxA runs a message loop of its own that goes on dispatching WM_TIMER: the
// program's timers must still not tick while the box is open. Runs under Wine.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>

#include "tests/ui/win32/win32_test_support.h"
#include "ui/control.h"
#include "ui/win32/message_window.h"
#include "ui/win32/timer_driver.h"
#include "ui/win32/win32_message_boxes.h"

namespace stratocue::ui::win32 {
namespace {

using tests::pumpUntil;
using tests::windowText;

constexpr UINT kTimerIntervalMs = 1;
constexpr UINT kProbeIntervalMs = 2;
constexpr int kProbeRoundsWhileOpen = 25;

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

// The texts of a box's static controls.
std::string boxText(HWND box) {
    std::string text;
    for (HWND control = GetWindow(box, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
        std::array<char, 16> className{};
        GetClassNameA(control, className.data(), static_cast<int>(className.size()));
        if (std::string_view(className.data()) == "Static") text += windowText(control);
    }
    return text;
}

// A program timer driven by Windows at 1 ms and bound to the boxes' hold, counting ticks.
struct DrivenTimer {
    DrivenTimer(MessageWindow& messages, const MessageBoxes& boxes) : driver(messages) {
        model.holdWith(boxes.timerHold());
        model.setHandler([this] {
            ++ticks;
            if (boxOpen) ++ticksWhileOpen;
        });
        driver.bind(model, kTimerIntervalMs);
    }
    Timer model{kTimerIntervalMs, true};
    TimerDriver driver;
    int ticks = 0;
    int ticksWhileOpen = 0;
    bool boxOpen = false;
};

TEST(Win32MessageBoxHold, NoTickWhileTheBoxRunsItsOwnLoop) {
    MessageWindow messages;
    Win32MessageBoxes boxes;
    DrivenTimer timer(messages, boxes);
    ASSERT_TRUE(pumpUntil([&] { return timer.ticks >= 3; }));  // the driver runs

    // A probe timer counts the rounds the box's loop dispatches and, after enough of them,
    // presses OK for the user.
    int probeRounds = 0;
    std::string title;
    std::string text;
    const UINT_PTR probe = messages.newTimerId();
    messages.startTimer(probe, kProbeIntervalMs, [&] {
        HWND box = openMessageBox();
        if (box == nullptr) return;
        title = windowText(box);
        text = boxText(box);
        if (++probeRounds >= kProbeRoundsWhileOpen) boxes.closeOpenBoxes();
    });
    timer.boxOpen = true;
    boxes.show("Please wait for last data download request to complete");
    timer.boxOpen = false;
    messages.stopTimer(probe);

    EXPECT_GE(probeRounds, kProbeRoundsWhileOpen);
    EXPECT_EQ(timer.ticksWhileOpen, 0);
    EXPECT_FALSE(timer.model.isHeld());
    EXPECT_EQ(title, "Stratocue");
    EXPECT_EQ(text, "Please wait for last data download request to complete");

    const int ticksAfterTheBox = timer.ticks;
    EXPECT_TRUE(pumpUntil([&] { return timer.ticks > ticksAfterTheBox; }));
}

TEST(Win32MessageBoxHold, CloseOpenBoxesLetsTheWaitingCodeGoOn) {
    MessageWindow messages;
    Win32MessageBoxes boxes;
    bool closeAsked = false;
    // As Ctrl+C does: a message arrives while the box is open and closes it.
    constexpr UINT kEndRequested = WM_APP + 7;
    messages.onMessage(kEndRequested, [&] {
        closeAsked = true;
        boxes.closeOpenBoxes();
    });
    const UINT_PTR poster = messages.newTimerId();
    messages.startTimer(poster, kProbeIntervalMs, [&] {
        if (openMessageBox() != nullptr) PostMessageA(messages.handle(), kEndRequested, 0, 0);
    });
    boxes.show("Can't connect to FS2002 and/or FSUIPC");
    messages.stopTimer(poster);
    EXPECT_TRUE(closeAsked);
    EXPECT_EQ(openMessageBox(), nullptr);
}

}  // namespace
}  // namespace stratocue::ui::win32
