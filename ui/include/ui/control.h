#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/timer_hold.h"

namespace stratocue::ui {

// A control's value with its change event. Setting the value, from the program or from
// the user, raises the event only when the value really changes. The event handler is the
// program's (one per control); observers are the views that mirror the value on screen.
template <class T>
class Control {
public:
    explicit Control(T initial = T{}) : value_(std::move(initial)) {}
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    [[nodiscard]] const T& value() const { return value_; }

    // Stores the value; when it differs from the old one, tells the observers and then
    // runs the change event.
    void set(T newValue) {
        if (newValue == value_) return;
        value_ = std::move(newValue);
        const auto observers = observers_;  // a handler may add or drop observers
        for (const auto& observer : observers) observer();
        const auto handler = handler_;  // the handler may destroy the window holding us
        if (handler) handler();
    }

    void setHandler(std::function<void()> handler) { handler_ = std::move(handler); }
    void addObserver(std::function<void()> observer) { observers_.push_back(std::move(observer)); }

private:
    T value_;
    std::function<void()> handler_;
    std::vector<std::function<void()>> observers_;
};

using Label = Control<std::string>;    // caption
using TextBox = Control<std::string>;  // text; change event = Change
using CheckBox = Control<int>;         // 0 unchecked, 1 checked; change event = Click

[[nodiscard]] inline bool isChecked(const CheckBox& box) { return box.value() != 0; }

// A button: a fixed caption and a click event.
class Button {
public:
    explicit Button(std::string caption) : caption_(std::move(caption)) {}
    Button(const Button&) = delete;
    Button& operator=(const Button&) = delete;

    [[nodiscard]] const std::string& caption() const { return caption_; }
    void setHandler(std::function<void()> handler) { handler_ = std::move(handler); }
    // Runs the click event; the handler may destroy the window holding the button.
    void click() const {
        const auto handler = handler_;
        if (handler) handler();
    }

private:
    std::string caption_;
    std::function<void()> handler_;
};

// A timer's settings and tick event. Something outside the model (the Qt event loop, or a
// test) drives it: it calls fire() every interval while the timer is enabled. The model
// drops the ticks that come while its hold is taken (a message box is open), so every
// driver obeys the hold without knowing of it.
class Timer {
public:
    Timer(int initialIntervalMs, bool initiallyEnabled)
        : intervalMs(initialIntervalMs), enabled(initiallyEnabled ? 1 : 0) {}

    Control<int> intervalMs;
    Control<int> enabled;  // 0 or 1, so that drivers can observe it like any control

    void setHandler(std::function<void()> handler) { handler_ = std::move(handler); }
    // Binds the timer to a hold, which must outlive it.
    void holdWith(const TimerHold& hold) { hold_ = &hold; }
    [[nodiscard]] bool isEnabled() const { return enabled.value() != 0; }
    [[nodiscard]] bool isHeld() const { return hold_ != nullptr && hold_->isHeld(); }
    // One tick: runs the handler when the timer is enabled and not held.
    void fire() const {
        if (!isEnabled() || isHeld()) return;
        const auto handler = handler_;
        if (handler) handler();
    }

private:
    std::function<void()> handler_;
    const TimerHold* hold_ = nullptr;
};

}  // namespace stratocue::ui
