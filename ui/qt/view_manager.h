#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

#include "app/program.h"
#include "ui/qt/main_window_view.h"
#include "ui/qt/splash_view.h"
#include "ui/qt/status_window_view.h"
#include "ui/qt/timer_driver.h"

namespace stratocue::ui::qt {

// Follows the program's three window models: drives their timers, and, when the program
// has a display, puts a view on screen for each window while it exists and mirrors its
// visibility. Tells the owner when no window is left, so the process can end.
class ViewManager final : public QObject {
public:
    struct Options {
        bool withWidgets = true;
        std::optional<int> timer1IntervalMs;  // replaces Timer1's 5000 ms (headless runs)
    };

    ViewManager(app::Program& program, Options options, std::function<void()> noWindowLeft);

private:
    void attachMain(FrmMain& form);
    void attachStatus(FrmStatus& form);
    void attachSplash(FrmSplash& form);
    void checkWindowsLeft();

    template <class View, class Form>
    void mirrorVisibility(QPointer<View>& view, Form& form);
    template <class View>
    static void closeView(QPointer<View>& view);

    app::Program& program_;
    Options options_;
    std::function<void()> noWindowLeft_;
    TimerDriver timer1_;
    TimerDriver splashTimer_;
    QPointer<MainWindowView> mainView_;
    QPointer<StatusWindowView> statusView_;
    QPointer<SplashView> splashView_;
};

}  // namespace stratocue::ui::qt
