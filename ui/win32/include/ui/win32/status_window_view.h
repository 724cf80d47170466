#pragma once

#include <functional>

#include "ui/frm_status.h"
#include "ui/win32/model_window.h"

namespace stratocue::ui::win32 {

// The status window on screen: two columns of caption and value labels, the reserved AI
// block and the "Close" button. Its close box destroys the window model.
class StatusWindowView final : public ModelWindow {
public:
    StatusWindowView(FrmStatus& model, std::function<void()> closeRequested);
};

}  // namespace stratocue::ui::win32
