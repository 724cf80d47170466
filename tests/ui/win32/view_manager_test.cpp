// The view manager puts a Win32 view on screen for each window model while it exists,
// drives the timers, and says when no window is left. Runs under Wine.

#include <gtest/gtest.h>

#include "tests/ui/win32/win32_test_support.h"
#include "ui/form_slot.h"
#include "ui/win32/message_window.h"
#include "ui/win32/view_manager.h"

namespace stratocue::ui::win32 {
namespace {

using tests::pumpUntil;
using tests::windowText;

// The program's windows, with what the manager reports.
struct Windows {
    FormSlot<FrmMain> main;
    FormSlot<FrmStatus> status;
    FormSlot<FrmSplash> splash;
    int closeBoxAsks = 0;
    int noWindowLeftCalls = 0;
};

HWND topLevel(const char* className) { return FindWindowA(className, nullptr); }

TEST(Win32ViewManager, ViewsComeAndGoWithTheirModels) {
    MessageWindow messages;
    Windows windows;
    ViewManager views(messages, {windows.main, windows.status, windows.splash, [&] { ++windows.closeBoxAsks; }},
                      {true, std::nullopt}, [&] { ++windows.noWindowLeftCalls; });

    FrmMain& main = windows.main.get();  // created hidden
    HWND mainWindow = topLevel("StratocueMain");
    ASSERT_NE(mainWindow, nullptr);
    EXPECT_FALSE(IsWindowVisible(mainWindow));
    main.Show();
    EXPECT_TRUE(IsWindowVisible(mainWindow));
    main.caption.set("Stratocue 2002 Active");
    EXPECT_EQ(windowText(mainWindow), "Stratocue 2002 Active");
    SendMessageA(mainWindow, WM_CLOSE, 0, 0);  // asks the program; the window stays
    EXPECT_EQ(windows.closeBoxAsks, 1);
    EXPECT_TRUE(IsWindow(mainWindow));

    windows.status.get().Show();
    HWND statusWindow = topLevel("StratocueStatus");
    ASSERT_NE(statusWindow, nullptr);
    EXPECT_TRUE(IsWindowVisible(statusWindow));
    SendMessageA(statusWindow, WM_CLOSE, 0, 0);  // the status window's close box destroys it
    EXPECT_FALSE(windows.status.exists());
    EXPECT_FALSE(IsWindow(statusWindow));
    tests::pumpPending();
    EXPECT_EQ(windows.noWindowLeftCalls, 0);  // the main window is still there

    windows.main.destroy();
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_TRUE(pumpUntil([&] { return windows.noWindowLeftCalls == 1; }));
}

TEST(Win32ViewManager, AButtonMayDestroyItsOwnWindow) {
    MessageWindow messages;
    Windows windows;
    ViewManager views(messages, {windows.main, windows.status, windows.splash, {}}, {true, std::nullopt},
                      [&] { ++windows.noWindowLeftCalls; });
    windows.main.get().butOK.setHandler([&] { windows.main.destroy(); });
    windows.main.get().Show();
    HWND mainWindow = topLevel("StratocueMain");
    HWND endProgram = FindWindowExA(mainWindow, nullptr, "Button", "End Program");
    ASSERT_NE(endProgram, nullptr);
    tests::click(endProgram);
    EXPECT_FALSE(windows.main.exists());
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_TRUE(pumpUntil([&] { return windows.noWindowLeftCalls == 1; }));
}

TEST(Win32ViewManager, WithoutWindowsTheTimersStillRun) {
    MessageWindow messages;
    Windows windows;
    ViewManager views(messages, {windows.main, windows.status, windows.splash, {}}, {false, 1}, {});
    int ticks = 0;
    FrmMain& main = windows.main.get();
    main.Timer1.setHandler([&] { ++ticks; });
    main.Timer1.enabled.set(1);
    EXPECT_EQ(topLevel("StratocueMain"), nullptr);
    EXPECT_TRUE(pumpUntil([&] { return ticks >= 3; }));

    main.Timer1.enabled.set(0);
    const int ticksWhenStopped = ticks;
    // A second timer of the same window shows that messages went on flowing meanwhile.
    int probeTicks = 0;
    const UINT_PTR probe = messages.newTimerId();
    messages.startTimer(probe, 1, [&] { ++probeTicks; });
    EXPECT_TRUE(pumpUntil([&] { return probeTicks >= 5; }));
    messages.stopTimer(probe);
    EXPECT_EQ(ticks, ticksWhenStopped);
}

}  // namespace
}  // namespace stratocue::ui::win32
