#pragma once

// What the Win32 view tests do as the user: type, click, and let messages flow.

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace stratocue::tests {

using namespace std::chrono_literals;

// Dispatches the messages waiting for the thread.
inline void pumpPending() {
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Dispatches the thread's messages until `done` holds; false when `limit` passed first.
inline bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 30s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        pumpPending();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

inline std::string windowText(HWND window) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Replaces the edit control's text by typing, one character at a time.
inline void typeOver(HWND edit, std::string_view text) {
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (const char character : text) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(character), 0);
}

inline void click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

inline bool isChecked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

inline SIZE clientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return SIZE{client.right - client.left, client.bottom - client.top};
}

}  // namespace stratocue::tests
