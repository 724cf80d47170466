#include "ui/win32/win32_message_boxes.h"

#include <windows.h>

#include <array>
#include <string>

namespace stratocue::ui::win32 {
namespace {

// The window class of dialog boxes, message boxes among them.
constexpr std::string_view kDialogClass = "#32770";

BOOL CALLBACK pressOkOnOurBox(HWND window, LPARAM) {
    std::array<char, 16> className{};
    std::array<char, 64> caption{};
    const int classLength = GetClassNameA(window, className.data(), static_cast<int>(className.size()));
    const int captionLength = GetWindowTextA(window, caption.data(), static_cast<int>(caption.size()));
    if (std::string_view(className.data(), static_cast<std::size_t>(classLength)) == kDialogClass &&
        std::string_view(caption.data(), static_cast<std::size_t>(captionLength)) == kMessageBoxTitle) {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    return TRUE;
}

}  // namespace

void Win32MessageBoxes::showModal(std::string_view text) {
    const std::string message(text);
    const std::string title(kMessageBoxTitle);
    // No owner and task-modal: every window of the program waits for the box.
    MessageBoxA(nullptr, message.c_str(), title.c_str(), MB_OK | MB_TASKMODAL | MB_SETFOREGROUND);
}

void Win32MessageBoxes::closeOpenBoxes() { EnumThreadWindows(GetCurrentThreadId(), &pressOkOnOurBox, 0); }

}  // namespace stratocue::ui::win32
