#pragma once

#include <functional>
#include <map>
#include <string_view>

#include "ui/frm_main.h"
#include "ui/win32/model_window.h"

namespace stratocue::ui::win32 {

// The main window on screen: mirrors frmMain. Closing it with the close box asks the
// program, which decides whether the window goes. The controls sit in the design's twelve
// rows; widths follow the texts in the system's font, so no caption is cut.
class MainWindowView final : public ModelWindow {
public:
    MainWindowView(FrmMain& model, std::function<void()> closeRequested);

private:
    // Puts every control in its row; runs again when a label that sizes to its text changes.
    void layOut();

    // The labels naming the controls of the window's table, by the control's name.
    std::map<std::string_view, HWND> captions_;
    // The labels that name no control of the table.
    HWND rangeUnit_ = nullptr;
    HWND customCaption_ = nullptr;
    HWND distanceUnit_ = nullptr;
    HWND version_ = nullptr;
};

}  // namespace stratocue::ui::win32
