#pragma once

// What every toolkit's views promise: they only mirror the window models. What the user
// does reaches the model, what the program sets in the model reaches the control, the
// close box asks the program, and every window has the size of its design in twips.
//
// A toolkit type `Kit` for the suite names its views (`Kit::Main`, `Kit::Status`,
// `Kit::Splash`, made from their models) and acts on them as the user does and looks at
// them, by control name:
//   show(view); text(view, name); isChecked(view, name); typeOver(view, name, text);
//   click(view, name); pressCloseBox(view); isShown(view); title(view);
//   clientSize(view) -> {width, height}; pressSpace(view); clickInside(view);
//   isBold(view, name); fontFamily(view, name); hasTitleBar(view)
//   Kit::kLineEnd: the line end a multi-line text box shows

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "ui/frm_main.h"
#include "ui/frm_splash.h"
#include "ui/frm_status.h"

namespace stratocue::ui {

template <class Kit>
class ViewsContract : public testing::Test {};
TYPED_TEST_SUITE_P(ViewsContract);

TYPED_TEST_P(ViewsContract, MainWindowUserInputReachesTheModel) {
    using Kit = TypeParam;
    FrmMain model;
    int closeRequests = 0;
    typename Kit::Main view(model, [&] { ++closeRequests; });
    Kit::show(view);

    int rangeChanges = 0;
    model.txtMETARRANGE.setHandler([&] { ++rangeChanges; });
    Kit::typeOver(view, "txtMETARRANGE", "45");
    EXPECT_EQ(model.txtMETARRANGE.value(), "45");
    EXPECT_EQ(rangeChanges, 2);  // one change event per keystroke: "4", then "45"

    int clicks = 0;
    model.butRUNTIME.setHandler([&] { ++clicks; });
    Kit::click(view, "butRUNTIME");
    EXPECT_EQ(clicks, 1);

    Kit::click(view, "chkDEST");
    EXPECT_EQ(model.chkDEST.value(), 1);
    Kit::click(view, "chkDEST");
    EXPECT_EQ(model.chkDEST.value(), 0);

    Kit::pressCloseBox(view);  // the close box asks the program instead of closing
    EXPECT_EQ(closeRequests, 1);
    EXPECT_TRUE(Kit::isShown(view));
}

TYPED_TEST_P(ViewsContract, MainWindowModelChangesReachTheControls) {
    using Kit = TypeParam;
    FrmMain model;
    typename Kit::Main view(model, {});
    EXPECT_EQ(Kit::text(view, "txtMETARRANGE"), "60");
    EXPECT_TRUE(Kit::isChecked(view, "chkWINDSALOFT"));
    EXPECT_EQ(Kit::text(view, "butGET"), "Get Custom METAR");
    EXPECT_EQ(Kit::text(view, "txtMETARstr"), std::string("Loading...") + Kit::kLineEnd);

    model.lblTEMPID.set("KSFO");
    model.txtMETARstr.set("KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002");
    model.chkUPDATEONSTATION.set(0);
    model.txtREPEATMETAR.set(" 5");
    model.caption.set("Stratocue 2002 Active");
    EXPECT_EQ(Kit::text(view, "lblTEMPID"), "KSFO");
    EXPECT_EQ(Kit::text(view, "txtMETARstr"), "KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002");
    EXPECT_FALSE(Kit::isChecked(view, "chkUPDATEONSTATION"));
    EXPECT_EQ(Kit::text(view, "txtREPEATMETAR"), " 5");
    EXPECT_EQ(Kit::title(view), "Stratocue 2002 Active");
    EXPECT_EQ(Kit::clientSize(view), std::make_pair(399, 312));  // 5985 x 4680 twips
}

TYPED_TEST_P(ViewsContract, MainWindowProgramChangesRaiseNoSecondEvent) {
    using Kit = TypeParam;
    FrmMain model;
    typename Kit::Main view(model, {});
    int clicks = 0;
    model.chkDEST.setHandler([&] { ++clicks; });
    model.chkDEST.set(1);  // the program checks the box: one event, the control follows quietly
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(Kit::isChecked(view, "chkDEST"));

    int changes = 0;
    model.txtMETARRANGE.setHandler([&] { ++changes; });
    model.txtMETARRANGE.set("25");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(Kit::text(view, "txtMETARRANGE"), "25");
}

TYPED_TEST_P(ViewsContract, StatusWindowLabelsFollowTheModelAndCloseAsks) {
    using Kit = TypeParam;
    FrmStatus model;
    int closeRequests = 0;
    typename Kit::Status view(model, [&] { ++closeRequests; });
    EXPECT_EQ(Kit::text(view, "lblMETARc2ceil"), ".");
    EXPECT_EQ(Kit::text(view, "txtAIDATA"), std::string("Reserved for future use") + Kit::kLineEnd);
    model.lblAltitude.set("1234");
    model.lblMETARwinddir.set("280");
    EXPECT_EQ(Kit::text(view, "lblAltitude"), "1234");
    EXPECT_EQ(Kit::text(view, "lblMETARwinddir"), "280");
    EXPECT_EQ(Kit::title(view), "Runtime Status");
    // 5205 x 7380 twips, wider where the values need the room.
    EXPECT_GE(Kit::clientSize(view).first, 347);
    EXPECT_EQ(Kit::clientSize(view).second, 492);

    bool hidden = false;
    model.butCLOSESTATUS.setHandler([&] { hidden = true; });
    Kit::click(view, "butCLOSESTATUS");
    EXPECT_TRUE(hidden);
    Kit::show(view);
    Kit::pressCloseBox(view);
    EXPECT_EQ(closeRequests, 1);
    EXPECT_TRUE(Kit::isShown(view));
}

TYPED_TEST_P(ViewsContract, SplashKeyAndClickDismiss) {
    using Kit = TypeParam;
    FrmSplash model;
    typename Kit::Splash view(model);
    int keys = 0;
    int clicks = 0;
    model.keyPress.setHandler([&] { ++keys; });
    model.Frame1.setHandler([&] { ++clicks; });
    Kit::pressSpace(view);
    Kit::clickInside(view);
    EXPECT_EQ(keys, 1);
    EXPECT_EQ(clicks, 1);
}

TYPED_TEST_P(ViewsContract, SplashHasNoTitleBarAndTheBoldStandbyLine) {
    using Kit = TypeParam;
    FrmSplash model;
    typename Kit::Splash view(model);
    EXPECT_FALSE(Kit::hasTitleBar(view));
    EXPECT_EQ(Kit::clientSize(view), std::make_pair(328, 270));  // 4920 x 4050 twips
    EXPECT_EQ(Kit::text(view, "Label2"), "Standby - Initializing Program...");
    EXPECT_TRUE(Kit::isBold(view, "Label2"));
    EXPECT_EQ(Kit::fontFamily(view, "Label2"), "Arial");
}

REGISTER_TYPED_TEST_SUITE_P(ViewsContract, MainWindowUserInputReachesTheModel, MainWindowModelChangesReachTheControls,
                            MainWindowProgramChangesRaiseNoSecondEvent, StatusWindowLabelsFollowTheModelAndCloseAsks,
                            SplashKeyAndClickDismiss, SplashHasNoTitleBarAndTheBoldStandbyLine);

}  // namespace stratocue::ui
