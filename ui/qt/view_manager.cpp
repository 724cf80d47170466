#include "ui/qt/view_manager.h"

#include <QTimer>

namespace stratocue::ui::qt {

ViewManager::ViewManager(ProgramWindows windows, Options options, std::function<void()> noWindowLeft)
    : windows_(std::move(windows)), options_(options), noWindowLeft_(std::move(noWindowLeft)) {
    windows_.frmMain.addCreatedObserver([this](FrmMain& form) { attachMain(form); });
    windows_.frmStatus.addCreatedObserver([this](FrmStatus& form) { attachStatus(form); });
    windows_.frmSplash.addCreatedObserver([this](FrmSplash& form) { attachSplash(form); });

    windows_.frmMain.addDestroyedObserver([this](FrmMain&) {
        timer1_.release();
        closeView(mainView_);
        checkWindowsLeft();
    });
    windows_.frmStatus.addDestroyedObserver([this](FrmStatus&) {
        closeView(statusView_);
        checkWindowsLeft();
    });
    windows_.frmSplash.addDestroyedObserver([this](FrmSplash&) {
        splashTimer_.release();
        closeView(splashView_);
        checkWindowsLeft();
    });
}

template <class View, class Form>
void ViewManager::mirrorVisibility(QPointer<View>& view, Form& form) {
    const auto apply = [pointer = QPointer<View>(view), &form] {
        if (!pointer) return;
        pointer->setVisible(form.visible.value());
        if (form.visible.value()) pointer->raise();
    };
    form.visible.addObserver(apply);
    apply();
}

template <class View>
void ViewManager::closeView(QPointer<View>& view) {
    if (!view) return;
    view->closingFromModel_ = true;
    view->hide();
    view->deleteLater();  // code of the destroyed window may still be on the stack
    view = nullptr;
}

void ViewManager::attachMain(FrmMain& form) {
    timer1_.bind(form.Timer1, options_.timer1IntervalMs);
    if (!options_.withWidgets) return;
    mainView_ = new MainWindowView(form, [this] { windows_.closeMainWindow(); });
    mirrorVisibility(mainView_, form);
}

void ViewManager::attachStatus(FrmStatus& form) {
    if (!options_.withWidgets) return;
    statusView_ = new StatusWindowView(form, [this] { windows_.frmStatus.destroy(); });
    mirrorVisibility(statusView_, form);
}

void ViewManager::attachSplash(FrmSplash& form) {
    splashTimer_.bind(form.SplashTimer);
    if (!options_.withWidgets) return;
    splashView_ = new SplashView(form);
    mirrorVisibility(splashView_, form);
}

void ViewManager::checkWindowsLeft() {
    // Decided after the current event, when the shutdown path has run to its end.
    QTimer::singleShot(0, this, [this] {
        const bool anyLeft = windows_.frmMain.exists() || windows_.frmStatus.exists() || windows_.frmSplash.exists();
        if (!anyLeft && noWindowLeft_) noWindowLeft_();
    });
}

}  // namespace stratocue::ui::qt
