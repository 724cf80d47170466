#pragma once

#include <utility>

#include "ui/control.h"
#include "ui/message_box.h"

namespace stratocue::test_support {

// A program timer driven by a toolkit's timer driver and bound to the message boxes' hold,
// counting its ticks, and those that came while the test said a box was open.
template <class Driver>
struct DrivenTimer {
    template <class... DriverArguments>
    DrivenTimer(const ui::MessageBoxes& boxes, int intervalMs, DriverArguments&&... driverArguments)
        : model{intervalMs, true}, driver(std::forward<DriverArguments>(driverArguments)...) {
        model.holdWith(boxes.timerHold());
        model.setHandler([this] {
            ++ticks;
            if (boxOpen) ++ticksWhileOpen;
        });
        driver.bind(model, intervalMs);
    }

    ui::Timer model;
    Driver driver;
    int ticks = 0;
    int ticksWhileOpen = 0;
    bool boxOpen = false;
};

}  // namespace stratocue::test_support
