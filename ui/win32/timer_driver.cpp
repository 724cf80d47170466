#include "ui/win32/timer_driver.h"

namespace stratocue::ui::win32 {

TimerDriver::TimerDriver(MessageWindow& messages)
    : messages_(messages), timerId_(messages.newTimerId()), binding_(std::make_shared<Binding>(Binding{this, 0})) {}

TimerDriver::~TimerDriver() {
    binding_.reset();
    stop();
}

void TimerDriver::bind(Timer& model, std::optional<int> intervalOverrideMs) {
    model_ = &model;
    intervalOverrideMs_ = intervalOverrideMs;
    const int generation = ++binding_->generation;
    const auto followIfCurrent = [weak = std::weak_ptr<Binding>(binding_), generation] {
        const auto binding = weak.lock();
        if (binding && binding->generation == generation) binding->driver->follow();
    };
    model.enabled.addObserver(followIfCurrent);
    model.intervalMs.addObserver(followIfCurrent);
    follow();
}

void TimerDriver::release() {
    ++binding_->generation;
    model_ = nullptr;
    stop();
}

void TimerDriver::follow() {
    if (model_ == nullptr || !model_->isEnabled()) {
        stop();
        return;
    }
    const int interval = intervalOverrideMs_.value_or(model_->intervalMs.value());
    if (runningIntervalMs_ == interval) return;
    runningIntervalMs_ = interval;
    // A timer of 0 ms would tick as fast as messages flow; Windows takes it as 10 ms too.
    const UINT milliseconds = static_cast<UINT>(interval > 0 ? interval : USER_TIMER_MINIMUM);
    messages_.startTimer(timerId_, milliseconds, [weak = std::weak_ptr<Binding>(binding_)] {
        const auto binding = weak.lock();
        if (binding && binding->driver->model_ != nullptr) binding->driver->model_->fire();
    });
}

void TimerDriver::stop() {
    if (!runningIntervalMs_) return;
    runningIntervalMs_.reset();
    messages_.stopTimer(timerId_);
}

}  // namespace stratocue::ui::win32
