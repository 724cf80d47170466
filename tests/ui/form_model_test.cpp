#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/form_slot.h"
#include "ui/frm_main.h"
#include "ui/frm_splash.h"
#include "ui/frm_status.h"

namespace stratocue::ui {
namespace {

TEST(ControlEvents, FireOnlyOnRealChanges) {
    TextBox box{"60"};
    int events = 0;
    int observed = 0;
    box.setHandler([&] { ++events; });
    box.addObserver([&] { ++observed; });

    box.set("60");  // same text: no event
    EXPECT_EQ(events, 0);
    box.set("6");
    box.set("60");
    box.set("60");
    EXPECT_EQ(events, 2);
    EXPECT_EQ(observed, 2);

    CheckBox check{0};
    int clicks = 0;
    check.setHandler([&] { ++clicks; });
    check.set(0);
    check.set(1);
    check.set(1);
    EXPECT_EQ(clicks, 1);
}

TEST(ControlEvents, TheHandlerSeesTheNewValue) {
    TextBox box{""};
    std::string seen;
    box.setHandler([&] { seen = box.value(); });
    box.set(" 5");
    EXPECT_EQ(seen, " 5");
}

TEST(ControlEvents, TimerFiresOnlyWhileEnabled) {
    Timer timer{5000, false};
    int ticks = 0;
    timer.setHandler([&] { ++ticks; });
    timer.fire();
    timer.enabled.set(1);
    timer.fire();
    timer.fire();
    EXPECT_EQ(ticks, 2);
}

TEST(FormLifetime, CreatedHiddenOnFirstUseAndFreshAfterDestroy) {
    FormSlot<FrmStatus> slot;
    int created = 0;
    int unloaded = 0;
    slot.setHooks([&](FrmStatus&) { ++created; }, [&](FrmStatus&) { ++unloaded; });

    EXPECT_FALSE(slot.exists());
    slot.get().lblAltitude.set("1200");
    slot.get().Show();
    EXPECT_EQ(created, 1);
    EXPECT_TRUE(slot.get().visible.value());

    slot.destroy();
    EXPECT_EQ(unloaded, 1);
    EXPECT_FALSE(slot.exists());
    slot.destroy();  // nothing left to destroy
    EXPECT_EQ(unloaded, 1);

    FrmStatus& again = slot.get();
    EXPECT_EQ(created, 2);
    EXPECT_FALSE(again.visible.value());
    EXPECT_EQ(again.lblAltitude.value(), ".");
    EXPECT_EQ(slot.generation(), 2);
}

TEST(FormLifetime, AHandlerMayDestroyItsOwnWindow) {
    FormSlot<FrmMain> slot;
    slot.setHooks([&](FrmMain& form) { form.butOK.setHandler([&] { slot.destroy(); }); }, {});
    slot.get().butOK.click();  // runs inside the window it destroys
    EXPECT_FALSE(slot.exists());
}

TEST(DesignTimeContents, MatchTheWindowsAsDesigned) {
    const FrmMain main;
    EXPECT_EQ(main.caption.value(), "Stratocue 2002 ");
    EXPECT_EQ(main.txtREPEATMETAR.value(), "");
    EXPECT_EQ(main.txtREPEATFD.value(), "");
    EXPECT_EQ(main.chkUPDATEONSTATION.value(), 1);
    EXPECT_EQ(main.chkUPDATEFDONSTATION.value(), 0);
    EXPECT_EQ(main.chkVATSIM.value(), 0);
    EXPECT_EQ(main.chkWINDSALOFT.value(), 1);
    EXPECT_EQ(main.chkDEST.value(), 0);
    EXPECT_EQ(main.txtMETARRANGE.value(), "60");
    EXPECT_EQ(main.txtMETARREQstr.value(), "Enter METAR ID above\r\n");
    EXPECT_EQ(main.txtMETARstr.value(), "Loading...\r\n");
    EXPECT_EQ(main.txtTESTFD.value(), "Loading...\r\n");
    EXPECT_EQ(main.butOK.caption(), "End Program");
    EXPECT_EQ(main.Timer1.intervalMs.value(), 5000);
    EXPECT_FALSE(main.Timer1.isEnabled());

    const FrmSplash splash;
    EXPECT_EQ(splash.SplashTimer.intervalMs.value(), 4000);
    EXPECT_TRUE(splash.SplashTimer.isEnabled());

    const FrmStatus status;
    EXPECT_EQ(status.caption.value(), "Runtime Status");
    std::vector<std::string> names;
    status.visitControls([&](const ControlValue& control) {
        names.emplace_back(control.name);
        if (control.name != "txtAIDATA") {
            EXPECT_EQ(control.text, ".") << control.name;
        }
    });
    EXPECT_EQ(names.size(), 42u);  // 18 left, 20 right, 3 AI labels, the AI text box
    EXPECT_EQ(status.txtAIDATA.value(), "Reserved for future use\r\n");
}

}  // namespace
}  // namespace stratocue::ui
