// The Qt views only mirror the window models: what the user does reaches the model, and
// what the program sets in the model reaches the widget.

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "ui/frm_main.h"
#include "ui/frm_splash.h"
#include "ui/frm_status.h"
#include "ui/qt/main_window_view.h"
#include "ui/qt/splash_view.h"
#include "ui/qt/status_window_view.h"

namespace stratocue::ui::qt {
namespace {

template <class Widget>
Widget& child(QWidget& view, const char* name) {
    auto* widget = view.findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr) throw std::runtime_error(std::string("no widget ") + name);
    return *widget;
}

TEST(MainWindowView, UserInputReachesTheModel) {
    FrmMain model;
    int closeRequests = 0;
    MainWindowView view(model, [&] { ++closeRequests; });
    view.show();

    int rangeChanges = 0;
    model.txtMETARRANGE.setHandler([&] { ++rangeChanges; });
    auto& range = child<QLineEdit>(view, "txtMETARRANGE");
    range.selectAll();
    QTest::keyClicks(&range, "45");
    EXPECT_EQ(model.txtMETARRANGE.value(), "45");
    EXPECT_EQ(rangeChanges, 2);  // one change event per keystroke: "4", then "45"

    int clicks = 0;
    model.butRUNTIME.setHandler([&] { ++clicks; });
    QTest::mouseClick(&child<QPushButton>(view, "butRUNTIME"), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);

    auto& force = child<QCheckBox>(view, "chkDEST");
    const QPoint indicator(force.width() / 2, force.height() / 2);  // the box has no caption of its own
    QTest::mouseClick(&force, Qt::LeftButton, {}, indicator);
    EXPECT_EQ(model.chkDEST.value(), 1);
    QTest::mouseClick(&force, Qt::LeftButton, {}, indicator);
    EXPECT_EQ(model.chkDEST.value(), 0);

    view.close();  // the close box asks the program instead of closing
    EXPECT_EQ(closeRequests, 1);
    EXPECT_TRUE(view.isVisible());
}

TEST(MainWindowView, ModelChangesReachTheWidgets) {
    FrmMain model;
    MainWindowView view(model, {});
    EXPECT_EQ(child<QLineEdit>(view, "txtMETARRANGE").text(), "60");
    EXPECT_TRUE(child<QCheckBox>(view, "chkWINDSALOFT").isChecked());
    EXPECT_EQ(child<QPushButton>(view, "butGET").text(), "Get Custom METAR");

    model.lblTEMPID.set("KSFO");
    model.txtMETARstr.set("KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002");
    model.chkUPDATEONSTATION.set(0);
    model.txtREPEATMETAR.set(" 5");
    model.caption.set("Stratocue 2002 Active");
    EXPECT_EQ(child<QLabel>(view, "lblTEMPID").text(), "KSFO");
    EXPECT_EQ(child<QPlainTextEdit>(view, "txtMETARstr").toPlainText(),
              "KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002");
    EXPECT_FALSE(child<QCheckBox>(view, "chkUPDATEONSTATION").isChecked());
    EXPECT_EQ(child<QLineEdit>(view, "txtREPEATMETAR").text(), " 5");
    EXPECT_EQ(view.windowTitle(), "Stratocue 2002 Active");
    EXPECT_EQ(view.size(), QSize(399, 294));
}

TEST(MainWindowView, ProgramChangesRaiseNoSecondEvent) {
    FrmMain model;
    MainWindowView view(model, {});
    int clicks = 0;
    model.chkDEST.setHandler([&] { ++clicks; });
    model.chkDEST.set(1);  // the program checks the box: one event, the widget follows quietly
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(child<QCheckBox>(view, "chkDEST").isChecked());
}

TEST(StatusWindowView, LabelsFollowTheModelAndCloseAsks) {
    FrmStatus model;
    int closeRequests = 0;
    StatusWindowView view(model, [&] { ++closeRequests; });
    EXPECT_EQ(child<QLabel>(view, "lblMETARc2ceil").text(), ".");
    model.lblAltitude.set("1234");
    model.lblMETARwinddir.set("280");
    EXPECT_EQ(child<QLabel>(view, "lblAltitude").text(), "1234");
    EXPECT_EQ(child<QLabel>(view, "lblMETARwinddir").text(), "280");
    EXPECT_EQ(view.windowTitle(), "Runtime Status");

    bool hidden = false;
    model.butCLOSESTATUS.setHandler([&] { hidden = true; });
    QTest::mouseClick(&child<QPushButton>(view, "butCLOSESTATUS"), Qt::LeftButton);
    EXPECT_TRUE(hidden);
    view.show();
    view.close();
    EXPECT_EQ(closeRequests, 1);
}

TEST(SplashView, KeyAndClickDismiss) {
    FrmSplash model;
    SplashView view(model);
    int keys = 0;
    int clicks = 0;
    model.keyPress.setHandler([&] { ++keys; });
    model.Frame1.setHandler([&] { ++clicks; });
    QTest::keyClick(&view, Qt::Key_Space);
    QTest::mouseClick(&view, Qt::LeftButton);
    EXPECT_EQ(keys, 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(child<QLabel>(view, "Label2").text(), "Standby - Initializing Program...");
    EXPECT_TRUE(child<QLabel>(view, "Label2").font().bold());
}

}  // namespace
}  // namespace stratocue::ui::qt

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
