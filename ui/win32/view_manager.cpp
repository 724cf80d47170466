#include "ui/win32/view_manager.h"

#include <utility>

namespace stratocue::ui::win32 {
namespace {

// Calls `action` with the manager while it exists.
template <class Action>
auto whileAlive(const std::shared_ptr<ViewManager*>& self, Action action) {
    return [weak = std::weak_ptr<ViewManager*>(self), action](auto&... arguments) {
        if (const auto manager = weak.lock()) action(**manager, arguments...);
    };
}

}  // namespace

ViewManager::ViewManager(MessageWindow& messages, ProgramWindows windows, Options options,
                         std::function<void()> noWindowLeft)
    : messages_(messages),
      windows_(std::move(windows)),
      options_(options),
      noWindowLeft_(std::move(noWindowLeft)),
      timer1_(messages),
      splashTimer_(messages) {
    windows_.frmMain.addCreatedObserver(
        whileAlive(self_, [](ViewManager& manager, FrmMain& form) { manager.attachMain(form); }));
    windows_.frmStatus.addCreatedObserver(
        whileAlive(self_, [](ViewManager& manager, FrmStatus& form) { manager.attachStatus(form); }));
    windows_.frmSplash.addCreatedObserver(
        whileAlive(self_, [](ViewManager& manager, FrmSplash& form) { manager.attachSplash(form); }));

    windows_.frmMain.addDestroyedObserver(whileAlive(self_, [](ViewManager& manager, FrmMain&) {
        manager.timer1_.release();
        closeView(manager.mainView_);
        manager.checkWindowsLeft();
    }));
    windows_.frmStatus.addDestroyedObserver(whileAlive(self_, [](ViewManager& manager, FrmStatus&) {
        closeView(manager.statusView_);
        manager.checkWindowsLeft();
    }));
    windows_.frmSplash.addDestroyedObserver(whileAlive(self_, [](ViewManager& manager, FrmSplash&) {
        manager.splashTimer_.release();
        closeView(manager.splashView_);
        manager.checkWindowsLeft();
    }));
}

ViewManager::~ViewManager() = default;

template <class View, class Form>
void ViewManager::mirrorVisibility(View& view, Form& form) {
    const auto apply = [life = view.lifeToken(), &view, &form] {
        if (!life.expired()) view.setVisible(form.visible.value());
    };
    form.visible.addObserver(apply);
    apply();
}

template <class View>
void ViewManager::closeView(ViewSlot<View>& slot) {
    if (!slot.shown) return;
    slot.shown->closeFromModel();
    slot.retired = std::move(slot.shown);
}

void ViewManager::attachMain(FrmMain& form) {
    timer1_.bind(form.Timer1, options_.timer1IntervalMs);
    if (!options_.withWindows) return;
    mainView_.shown = std::make_unique<MainWindowView>(form, [this] { windows_.closeMainWindow(); });
    mirrorVisibility(*mainView_.shown, form);
}

void ViewManager::attachStatus(FrmStatus& form) {
    if (!options_.withWindows) return;
    statusView_.shown = std::make_unique<StatusWindowView>(form, [this] { windows_.frmStatus.destroy(); });
    mirrorVisibility(*statusView_.shown, form);
}

void ViewManager::attachSplash(FrmSplash& form) {
    splashTimer_.bind(form.SplashTimer);
    if (!options_.withWindows) return;
    splashView_.shown = std::make_unique<SplashView>(form);
    mirrorVisibility(*splashView_.shown, form);
}

void ViewManager::checkWindowsLeft() {
    // Decided after the current message, when the shutdown path has run to its end.
    messages_.post(whileAlive(self_, [](ViewManager& manager) {
        const bool anyLeft = manager.windows_.frmMain.exists() || manager.windows_.frmStatus.exists() ||
                             manager.windows_.frmSplash.exists();
        if (!anyLeft && manager.noWindowLeft_) manager.noWindowLeft_();
    }));
}

}  // namespace stratocue::ui::win32
