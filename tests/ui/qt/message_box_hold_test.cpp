// Qt's QMessageBox::exec() runs an event loop of its own in which QTimer goes on firing:
// the program's timers must still not tick while the box is open.

#include <gtest/gtest.h>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "ui/control.h"
#include "ui/qt/qt_message_boxes.h"
#include "ui/qt/timer_driver.h"

namespace stratocue::ui::qt {
namespace {

constexpr int kWaitLimitMs = 30000;
constexpr int kTimerIntervalMs = 1;
constexpr int kProbeIntervalMs = 2;
constexpr int kProbeRoundsWhileOpen = 25;

// The message box the user sees now, if one is open.
QMessageBox* openMessageBox() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box != nullptr && box->isVisible()) return box;
    }
    return nullptr;
}

// A program timer driven by Qt at 1 ms and bound to the boxes' hold, counting its ticks.
struct DrivenTimer {
    explicit DrivenTimer(const MessageBoxes& boxes) {
        model.holdWith(boxes.timerHold());
        model.setHandler([this] {
            ++ticks;
            if (boxOpen) ++ticksWhileOpen;
        });
        driver.bind(model, kTimerIntervalMs);
    }
    Timer model{kTimerIntervalMs, true};
    TimerDriver driver;
    int ticks = 0;
    int ticksWhileOpen = 0;
    bool boxOpen = false;
};

TEST(QtMessageBoxHold, NoTickWhileTheBoxRunsItsOwnLoop) {
    QtMessageBoxes boxes;
    DrivenTimer timer(boxes);
    ASSERT_TRUE(QTest::qWaitFor([&] { return timer.ticks >= 3; }, kWaitLimitMs));  // the driver runs

    // A probe timer counts the events the box's loop dispatches and, after enough of them,
    // presses OK for the user.
    int probeRounds = 0;
    QTimer probe;
    probe.setInterval(kProbeIntervalMs);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        QMessageBox* box = openMessageBox();
        if (box == nullptr) return;
        if (++probeRounds >= kProbeRoundsWhileOpen) box->done(QMessageBox::Ok);
    });
    probe.start();
    timer.boxOpen = true;
    boxes.show("Please wait for last data download request to complete");
    timer.boxOpen = false;
    probe.stop();

    EXPECT_GE(probeRounds, kProbeRoundsWhileOpen);
    EXPECT_EQ(timer.ticksWhileOpen, 0);
    EXPECT_FALSE(timer.model.isHeld());

    const int ticksAfterTheBox = timer.ticks;
    EXPECT_TRUE(QTest::qWaitFor([&] { return timer.ticks > ticksAfterTheBox; }, kWaitLimitMs));
}

TEST(QtMessageBoxHold, CloseOpenBoxesLetsTheWaitingCodeGoOn) {
    QtMessageBoxes boxes;
    DrivenTimer timer(boxes);
    bool closeAsked = false;
    QTimer closer;
    closer.setInterval(kProbeIntervalMs);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (openMessageBox() == nullptr || closeAsked) return;
        closeAsked = true;
        boxes.closeOpenBoxes();  // as a signal that ends the program does
    });
    closer.start();
    timer.boxOpen = true;
    boxes.show("Can't connect to FS2002 and/or FSUIPC");
    timer.boxOpen = false;
    closer.stop();

    EXPECT_TRUE(closeAsked);
    EXPECT_EQ(timer.ticksWhileOpen, 0);
    EXPECT_EQ(openMessageBox(), nullptr);
}

}  // namespace
}  // namespace stratocue::ui::qt
