#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "ui/form_slot.h"
#include "ui/frm_main.h"
#include "ui/frm_splash.h"
#include "ui/frm_status.h"
#include "ui/win32/main_window_view.h"
#include "ui/win32/message_window.h"
#include "ui/win32/splash_view.h"
#include "ui/win32/status_window_view.h"
#include "ui/win32/timer_driver.h"

namespace stratocue::ui::win32 {

// The program's three windows, and what the main window's close box asks of the program.
struct ProgramWindows {
    FormSlot<FrmMain>& frmMain;
    FormSlot<FrmStatus>& frmStatus;
    FormSlot<FrmSplash>& frmSplash;
    std::function<void()> closeMainWindow;
};

// Follows the program's three window models: drives their timers, and, when the program
// has windows, puts a view on screen for each window while it exists and mirrors its
// visibility. Tells the owner when no window is left, so the process can end.
class ViewManager {
public:
    struct Options {
        bool withWindows = true;
        std::optional<int> timer1IntervalMs;  // replaces Timer1's 5000 ms (headless runs)
    };

    // `messages` carries the timers and the deferred checks; it must outlive the manager.
    ViewManager(MessageWindow& messages, ProgramWindows windows, Options options, std::function<void()> noWindowLeft);
    ViewManager(const ViewManager&) = delete;
    ViewManager& operator=(const ViewManager&) = delete;
    ViewManager(ViewManager&&) = delete;
    ViewManager& operator=(ViewManager&&) = delete;
    ~ViewManager();

private:
    // A window's view while its model exists, and the last one closed, kept until the next
    // one closes because its code may still be on the stack.
    template <class View>
    struct ViewSlot {
        std::unique_ptr<View> shown;
        std::unique_ptr<View> retired;
    };

    void attachMain(FrmMain& form);
    void attachStatus(FrmStatus& form);
    void attachSplash(FrmSplash& form);
    void checkWindowsLeft();

    template <class View, class Form>
    void mirrorVisibility(View& view, Form& form);
    template <class View>
    static void closeView(ViewSlot<View>& slot);

    MessageWindow& messages_;
    ProgramWindows windows_;
    Options options_;
    std::function<void()> noWindowLeft_;
    TimerDriver timer1_;
    TimerDriver splashTimer_;
    ViewSlot<MainWindowView> mainView_;
    ViewSlot<StatusWindowView> statusView_;
    ViewSlot<SplashView> splashView_;
    // Observers left on the window slots check it: gone with the manager.
    std::shared_ptr<ViewManager*> self_ = std::make_shared<ViewManager*>(this);
};

}  // namespace stratocue::ui::win32
