#include "ui/win32/message_window.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace stratocue::ui::win32 {
namespace {

constexpr const char* kClassName = "StratocueMessages";
constexpr UINT kRunTask = WM_APP;  // the message of posted tasks; others start above it

void registerClassOnce(WNDPROC procedure) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(GetModuleHandleA(nullptr), kClassName, &existing)) return;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    if (RegisterClassExA(&windowClass) == 0) {
        throw std::runtime_error("could not register the message window class: error " +
                                 std::to_string(GetLastError()));
    }
}

}  // namespace

MessageWindow::MessageWindow() {
    registerClassOnce(&MessageWindow::procedure);
    window_ = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), this);
    if (window_ == nullptr) {
        throw std::runtime_error("could not create the message window: error " + std::to_string(GetLastError()));
    }
}

MessageWindow::~MessageWindow() {
    for (const auto& timer : timers_) KillTimer(window_, timer.first);
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

void MessageWindow::post(std::function<void()> task) {
    tasks_.push_back(std::move(task));
    PostMessageA(window_, kRunTask, 0, 0);
}

void MessageWindow::startTimer(UINT_PTR id, UINT intervalMs, std::function<void()> tick) {
    timers_[id] = std::move(tick);
    SetTimer(window_, id, intervalMs, nullptr);
}

void MessageWindow::stopTimer(UINT_PTR id) {
    KillTimer(window_, id);
    timers_.erase(id);
}

void MessageWindow::onMessage(UINT message, std::function<void()> handler) { handlers_[message] = std::move(handler); }

LRESULT CALLBACK MessageWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto* created = static_cast<MessageWindow*>(creation->lpCreateParams);
        created->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT MessageWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    // Each handler runs from a copy: it may replace or remove itself.
    if (message == kRunTask) {
        if (tasks_.empty()) return 0;
        const std::function<void()> task = std::move(tasks_.front());
        tasks_.pop_front();
        if (task) task();
        return 0;
    }
    if (message == WM_TIMER) {
        const auto timer = timers_.find(wParam);
        if (timer == timers_.end()) return 0;
        const std::function<void()> tick = timer->second;
        if (tick) tick();
        return 0;
    }
    if (const auto handler = handlers_.find(message); handler != handlers_.end()) {
        const std::function<void()> run = handler->second;
        if (run) run();
        return 0;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

}  // namespace stratocue::ui::win32
