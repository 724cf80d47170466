#include "ui/frm_splash.h"

#include <string>

namespace stratocue::ui {

void FrmSplash::visitControls(const ControlVisitor& visit) const {
    visit({"Label2", std::string(kLabel2Text), false});
    visit({"SplashTimer", std::to_string(SplashTimer.enabled.value()), true});
}

}  // namespace stratocue::ui
