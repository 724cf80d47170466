// The Win32 views only mirror the window models: what the user does reaches the model, and
// what the program sets in the model reaches the control. Runs under Wine.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/win32/win32_test_support.h"
#include "ui/frm_main.h"
#include "ui/frm_splash.h"
#include "ui/frm_status.h"
#include "ui/win32/main_window_view.h"
#include "ui/win32/splash_view.h"
#include "ui/win32/status_window_view.h"

namespace stratocue::ui::win32 {
namespace {

using tests::click;
using tests::clientSize;
using tests::isChecked;
using tests::typeOver;
using tests::windowText;

HWND child(const ModelWindow& view, std::string_view name) {
    HWND control = view.control(name);
    if (control == nullptr) throw std::runtime_error("no control " + std::string(name));
    return control;
}

TEST(MainWindowView, UserInputReachesTheModel) {
    FrmMain model;
    int closeRequests = 0;
    MainWindowView view(model, [&] { ++closeRequests; });
    view.setVisible(true);

    int rangeChanges = 0;
    model.txtMETARRANGE.setHandler([&] { ++rangeChanges; });
    typeOver(child(view, "txtMETARRANGE"), "45");
    EXPECT_EQ(model.txtMETARRANGE.value(), "45");
    EXPECT_EQ(rangeChanges, 2);  // one change event per keystroke: "4", then "45"

    int clicks = 0;
    model.butRUNTIME.setHandler([&] { ++clicks; });
    click(child(view, "butRUNTIME"));
    EXPECT_EQ(clicks, 1);

    click(child(view, "chkDEST"));
    EXPECT_EQ(model.chkDEST.value(), 1);
    click(child(view, "chkDEST"));
    EXPECT_EQ(model.chkDEST.value(), 0);

    SendMessageA(view.handle(), WM_CLOSE, 0, 0);  // the close box asks the program instead of closing
    EXPECT_EQ(closeRequests, 1);
    EXPECT_TRUE(IsWindowVisible(view.handle()));
}

TEST(MainWindowView, ModelChangesReachTheControls) {
    FrmMain model;
    MainWindowView view(model, {});
    EXPECT_EQ(windowText(child(view, "txtMETARRANGE")), "60");
    EXPECT_TRUE(isChecked(child(view, "chkWINDSALOFT")));
    EXPECT_EQ(windowText(child(view, "butGET")), "Get Custom METAR");
    EXPECT_EQ(windowText(child(view, "txtMETARstr")), "Loading...\r\n");

    model.lblTEMPID.set("KSFO");
    model.txtMETARstr.set("KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002");
    model.chkUPDATEONSTATION.set(0);
    model.txtREPEATMETAR.set(" 5");
    model.caption.set("Stratocue 2002 Active");
    EXPECT_EQ(windowText(child(view, "lblTEMPID")), "KSFO");
    EXPECT_EQ(windowText(child(view, "txtMETARstr")), "KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002");
    EXPECT_FALSE(isChecked(child(view, "chkUPDATEONSTATION")));
    EXPECT_EQ(windowText(child(view, "txtREPEATMETAR")), " 5");
    EXPECT_EQ(windowText(view.handle()), "Stratocue 2002 Active");
    const SIZE client = clientSize(view.handle());
    EXPECT_EQ(client.cx, 399);  // 5985 x 4410 twips
    EXPECT_EQ(client.cy, 294);
}

TEST(MainWindowView, ProgramChangesRaiseNoSecondEvent) {
    FrmMain model;
    MainWindowView view(model, {});
    int clicks = 0;
    model.chkDEST.setHandler([&] { ++clicks; });
    model.chkDEST.set(1);  // the program checks the box: one event, the control follows quietly
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(isChecked(child(view, "chkDEST")));

    int changes = 0;
    model.txtMETARRANGE.setHandler([&] { ++changes; });
    model.txtMETARRANGE.set("25");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(windowText(child(view, "txtMETARRANGE")), "25");
}

TEST(MainWindowView, TabOrderIsTheDesignOrder) {
    FrmMain model;
    MainWindowView view(model, {});
    std::vector<HWND> expected;
    for (const FrmMain::ControlEntry& entry : FrmMain::controls()) {
        if (entry.kind != FrmMain::ControlKind::ValueLabel) expected.push_back(child(view, entry.name));
    }
    std::vector<HWND> tabStops;
    for (HWND control = GetWindow(view.handle(), GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
        if ((GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP) != 0) tabStops.push_back(control);
    }
    EXPECT_EQ(tabStops, expected);
}

TEST(StatusWindowView, LabelsFollowTheModelAndCloseAsks) {
    FrmStatus model;
    int closeRequests = 0;
    StatusWindowView view(model, [&] { ++closeRequests; });
    EXPECT_EQ(windowText(child(view, "lblMETARc2ceil")), ".");
    EXPECT_EQ(windowText(child(view, "txtAIDATA")), "Reserved for future use\r\n");
    model.lblAltitude.set("1234");
    model.lblMETARwinddir.set("280");
    EXPECT_EQ(windowText(child(view, "lblAltitude")), "1234");
    EXPECT_EQ(windowText(child(view, "lblMETARwinddir")), "280");
    EXPECT_EQ(windowText(view.handle()), "Runtime Status");
    const SIZE client = clientSize(view.handle());
    EXPECT_EQ(client.cx, 347);  // 5205 x 7380 twips
    EXPECT_EQ(client.cy, 492);

    bool hidden = false;
    model.butCLOSESTATUS.setHandler([&] { hidden = true; });
    click(child(view, "butCLOSESTATUS"));
    EXPECT_TRUE(hidden);
    SendMessageA(view.handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(closeRequests, 1);
    EXPECT_TRUE(IsWindow(view.handle()));
}

TEST(SplashView, KeyAndClickDismiss) {
    FrmSplash model;
    SplashView view(model);
    int keys = 0;
    int clicks = 0;
    model.keyPress.setHandler([&] { ++keys; });
    model.Frame1.setHandler([&] { ++clicks; });
    SendMessageA(view.handle(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(view.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(keys, 1);
    EXPECT_EQ(clicks, 1);
}

TEST(SplashView, NoCaptionAndTheBoldStandbyLine) {
    FrmSplash model;
    SplashView view(model);
    EXPECT_EQ(windowText(view.handle()), "");
    EXPECT_EQ(GetWindowLongA(view.handle(), GWL_STYLE) & WS_CAPTION, WS_DLGFRAME);  // a frame, no title bar
    const SIZE client = clientSize(view.handle());
    EXPECT_EQ(client.cx, 328);  // 4920 x 4050 twips
    EXPECT_EQ(client.cy, 270);

    HWND standby = child(view, "Label2");
    EXPECT_EQ(windowText(standby), "Standby - Initializing Program...");
    LOGFONTA face{};
    GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(standby, WM_GETFONT, 0, 0)), sizeof face, &face);
    EXPECT_GE(face.lfWeight, FW_BOLD);
    EXPECT_STREQ(face.lfFaceName, "Arial");
}

}  // namespace
}  // namespace stratocue::ui::win32
