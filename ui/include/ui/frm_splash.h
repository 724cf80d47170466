#pragma once

#include <string>
#include <string_view>

#include "ui/control.h"
#include "ui/form.h"

namespace stratocue::ui {

// The splash window shown during start-up: no caption, the system highlight colour, a
// picture and a line of text; its timer hands over to the main window after 4000 ms.
class FrmSplash final : public Form {
public:
    static constexpr int kClientWidthTwips = 4920;
    static constexpr int kClientHeightTwips = 4050;
    static constexpr std::string_view kLabel2Text = "Standby - Initializing Program...";

    FrmSplash() : Form("") {}

    Timer SplashTimer{4000, true};
    // A key pressed on the window, and a click on the frame covering it.
    Button keyPress{""};
    Button Frame1{""};

    void visitControls(const ControlVisitor& visit) const override;
};

}  // namespace stratocue::ui
