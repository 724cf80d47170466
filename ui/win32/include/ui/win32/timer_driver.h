#pragma once

#include <memory>
#include <optional>

#include "ui/control.h"
#include "ui/win32/message_window.h"

namespace stratocue::ui::win32 {

// Drives a model timer from a Windows timer (SetTimer): runs while the model is enabled,
// at its interval (or at an interval the program was started with), and fires the
// model's tick event. The model itself drops ticks while its hold is taken.
class TimerDriver {
public:
    explicit TimerDriver(MessageWindow& messages);
    TimerDriver(const TimerDriver&) = delete;
    TimerDriver& operator=(const TimerDriver&) = delete;
    TimerDriver(TimerDriver&&) = delete;
    TimerDriver& operator=(TimerDriver&&) = delete;
    ~TimerDriver();

    // Starts following `model`; forgets the previous one. The model must outlive the
    // binding or be released with release().
    void bind(Timer& model, std::optional<int> intervalOverrideMs = std::nullopt);
    void release();

private:
    // What the model's observers reach: gone with the driver, so that observers left on
    // a model outliving it do nothing.
    struct Binding {
        TimerDriver* driver;
        int generation;
    };

    void follow();
    void stop();

    MessageWindow& messages_;
    UINT_PTR timerId_;
    Timer* model_ = nullptr;
    std::optional<int> intervalOverrideMs_;
    std::optional<int> runningIntervalMs_;
    std::shared_ptr<Binding> binding_;
};

}  // namespace stratocue::ui::win32
