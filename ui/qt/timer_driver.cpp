#include "ui/qt/timer_driver.h"

namespace stratocue::ui::qt {

TimerDriver::TimerDriver(QObject* parent) : QObject(parent) {
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (model_ != nullptr) model_->fire();
    });
}

void TimerDriver::bind(Timer& model, std::optional<int> intervalOverrideMs) {
    model_ = &model;
    intervalOverrideMs_ = intervalOverrideMs;
    const int generation = ++generation_;
    const auto followIfCurrent = [this, generation] {
        if (generation == generation_) follow();
    };
    model.enabled.addObserver(followIfCurrent);
    model.intervalMs.addObserver(followIfCurrent);
    follow();
}

void TimerDriver::release() {
    ++generation_;
    model_ = nullptr;
    timer_.stop();
}

void TimerDriver::follow() {
    if (model_ == nullptr || !model_->isEnabled()) {
        timer_.stop();
        return;
    }
    const int interval = intervalOverrideMs_.value_or(model_->intervalMs.value());
    if (!timer_.isActive() || timer_.interval() != interval) timer_.start(interval);
}

}  // namespace stratocue::ui::qt
