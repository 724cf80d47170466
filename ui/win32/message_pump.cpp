#include "ui/win32/message_pump.h"

#include <windows.h>

#include "ui/win32/model_window.h"

namespace stratocue::ui::win32 {
namespace {

// Keys of the main and status windows go through the dialog manager: Tab between controls,
// Space and Enter on buttons.
void dispatch(MSG& message) {
    HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root != nullptr && GetPropA(root, kDialogKeysProperty) != nullptr && IsDialogMessageA(root, &message)) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

}  // namespace

int MessagePump::run() {
    while (!exitCode_) {
        MSG message{};
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == -1) {
            exitCode_ = 1;
        } else if (got == 0) {
            exitCode_ = static_cast<int>(message.wParam);
        } else {
            dispatch(message);
        }
    }
    return *exitCode_;
}

void MessagePump::pumpPending() {
    MSG message{};
    while (!exitCode_ && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            exitCode_ = static_cast<int>(message.wParam);
            return;
        }
        dispatch(message);
    }
}

}  // namespace stratocue::ui::win32
