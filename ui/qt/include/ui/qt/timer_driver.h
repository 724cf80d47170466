#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <optional>

#include "ui/control.h"

namespace stratocue::ui::qt {

// Drives a model timer from a QTimer: runs while the model is enabled, at its interval (or
// at an interval the program was started with), and fires the model's tick event, which
// the model itself drops while a message box holds the program's timers.
class TimerDriver final : public QObject {
public:
    explicit TimerDriver(QObject* parent = nullptr);

    // Starts following `model`; forgets the previous one. The model must outlive the
    // binding or be released with release().
    void bind(Timer& model, std::optional<int> intervalOverrideMs = std::nullopt);
    void release();

private:
    void follow();

    QTimer timer_;
    Timer* model_ = nullptr;
    std::optional<int> intervalOverrideMs_;
    int generation_ = 0;  // guards observers left on a model we no longer follow
};

}  // namespace stratocue::ui::qt
