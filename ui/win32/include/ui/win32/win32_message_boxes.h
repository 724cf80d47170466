#pragma once

#include "ui/message_box.h"

namespace stratocue::ui::win32 {

// Modal message boxes (MessageBoxA) with one OK button and the program's title. The box
// runs its own message loop, which goes on delivering WM_TIMER; the base class holds the
// program's timers meanwhile. The box is modal to every window of the program.
class Win32MessageBoxes final : public MessageBoxes {
public:
    // Closes every open box as if OK was pressed, so the code waiting on it goes on (the
    // program is ending on Ctrl+C).
    void closeOpenBoxes();

protected:
    void showModal(std::string_view text) override;
};

}  // namespace stratocue::ui::win32
