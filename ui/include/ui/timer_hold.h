#pragma once

namespace stratocue::ui {

// Holds the program's timers: while a hold is taken, no timer bound to it ticks. A modal
// message box takes one for as long as it is open, so nothing of the program runs behind
// it, whatever the view toolkit dispatches meanwhile (Qt's and Windows' modal boxes both
// go on delivering timer events).
class TimerHold {
public:
    // One hold, for one scope; holds nest (a box opened while another is open).
    class Scope {
    public:
        explicit Scope(TimerHold& hold) noexcept : hold_(hold) { ++hold_.depth_; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        Scope(Scope&&) = delete;
        Scope& operator=(Scope&&) = delete;
        ~Scope() { --hold_.depth_; }

    private:
        TimerHold& hold_;
    };

    TimerHold() = default;
    TimerHold(const TimerHold&) = delete;
    TimerHold& operator=(const TimerHold&) = delete;
    TimerHold(TimerHold&&) = delete;
    TimerHold& operator=(TimerHold&&) = delete;
    ~TimerHold() = default;

    [[nodiscard]] bool isHeld() const noexcept { return depth_ > 0; }

private:
    int depth_ = 0;
};

}  // namespace stratocue::ui
