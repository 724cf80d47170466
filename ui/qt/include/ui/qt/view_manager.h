#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

#include "ui/form_slot.h"
#include "ui/frm_main.h"
#include "ui/frm_splash.h"
#include "ui/frm_status.h"
#include "ui/qt/main_window_view.h"
#include "ui/qt/splash_view.h"
#include "ui/qt/status_window_view.h"
#include "ui/qt/timer_driver.h"

namespace stratocue::ui::qt {

// The program's three windows, and what the main window's close box asks of the program.
struct ProgramWindows {
    FormSlot<FrmMain>& frmMain;
    FormSlot<FrmStatus>& frmStatus;
    FormSlot<FrmSplash>& frmSplash;
    std::function<void()> closeMainWindow;
};

// Follows the program's three window models: drives their timers, and, when the program
// has a display, puts a view on screen for each window while it exists and mirrors its
// visibility. Tells the owner when no window is left, so the process can end.
class ViewManager final : public QObject {
public:
    struct Options {
        bool withWidgets = true;
        std::optional<int> timer1IntervalMs;  // replaces Timer1's 5000 ms (headless runs)
    };

    ViewManager(ProgramWindows windows, Options options, std::function<void()> noWindowLeft);

private:
    void attachMain(FrmMain& form);
    void attachStatus(FrmStatus& form);
    void attachSplash(FrmSplash& form);
    void checkWindowsLeft();

    template <class View, class Form>
    void mirrorVisibility(QPointer<View>& view, Form& form);
    template <class View>
    static void closeView(QPointer<View>& view);

    ProgramWindows windows_;
    Options options_;
    std::function<void()> noWindowLeft_;
    TimerDriver timer1_;
    TimerDriver splashTimer_;
    QPointer<MainWindowView> mainView_;
    QPointer<StatusWindowView> statusView_;
    QPointer<SplashView> splashView_;
};

}  // namespace stratocue::ui::qt
