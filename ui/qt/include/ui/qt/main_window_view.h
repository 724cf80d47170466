#pragma once

#include <functional>

#include "ui/frm_main.h"
#include "ui/qt/model_window.h"

namespace stratocue::ui::qt {

// The main window on screen: mirrors frmMain. Closing it with the close box asks the
// program, which decides whether the window goes.
class MainWindowView final : public ModelWindow {
public:
    MainWindowView(FrmMain& model, std::function<void()> closeRequested);
};

}  // namespace stratocue::ui::qt
