#pragma once

#include <string_view>

#include "ui/timer_hold.h"

namespace stratocue::ui {

constexpr std::string_view kMessageBoxTitle = "Stratocue";

// Modal message boxes with a single OK button: show() returns when the user has closed it.
// A modal box blocks the program, so while one is open every timer bound to timerHold()
// stays silent, in every view toolkit: the toolkits only supply showModal().
class MessageBoxes {
public:
    MessageBoxes() = default;
    MessageBoxes(const MessageBoxes&) = delete;
    MessageBoxes& operator=(const MessageBoxes&) = delete;
    MessageBoxes(MessageBoxes&&) = delete;
    MessageBoxes& operator=(MessageBoxes&&) = delete;
    virtual ~MessageBoxes() = default;

    void show(std::string_view text) {
        const TimerHold::Scope held(timerHold_);
        showModal(text);
    }

    // Taken while a box is open; the program binds its timers to it.
    [[nodiscard]] const TimerHold& timerHold() const noexcept { return timerHold_; }

protected:
    // Shows the box and returns when the user has closed it.
    virtual void showModal(std::string_view text) = 0;

private:
    TimerHold timerHold_;
};

}  // namespace stratocue::ui
