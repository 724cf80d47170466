// The message-box contract on Qt: QMessageBox::exec() runs an event loop of its own in
// which QTimer goes on firing.

#include <gtest/gtest.h>
#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>

#include "tests/support/driven_timer.h"
#include "tests/ui/message_box_hold_contract.h"
#include "ui/qt/qt_message_boxes.h"
#include "ui/qt/timer_driver.h"

namespace stratocue::ui::qt {
namespace {

constexpr int kWaitLimitMs = 30000;

struct QtKit {
    QtMessageBoxes boxes;
    test_support::DrivenTimer<TimerDriver> timer{boxes, kTimerIntervalMs};
    QTimer probe;

    bool waitUntil(const std::function<bool()>& done) { return QTest::qWaitFor(done, kWaitLimitMs); }
    void startProbe(int intervalMs, std::function<void()> tick) {
        probe.setInterval(intervalMs);
        QObject::connect(&probe, &QTimer::timeout, std::move(tick));
        probe.start();
    }
    void stopProbe() { probe.stop(); }
    bool boxIsOpen() { return openBox() != nullptr; }
    std::string openBoxTitle() { return openBox()->windowTitle().toStdString(); }
    std::string openBoxText() { return openBox()->text().toStdString(); }
    void pressOk() { openBox()->done(QMessageBox::Ok); }
    void postToLoop(std::function<void()> task) {
        QMetaObject::invokeMethod(&probe, std::move(task), Qt::QueuedConnection);
    }

    // The message box the user sees now, if one is open.
    static QMessageBox* openBox() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box != nullptr && box->isVisible()) return box;
        }
        return nullptr;
    }
};

INSTANTIATE_TYPED_TEST_SUITE_P(QtMessageBoxHold, MessageBoxHoldContract, QtKit);

}  // namespace
}  // namespace stratocue::ui::qt
