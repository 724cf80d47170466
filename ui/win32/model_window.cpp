#include "ui/win32/model_window.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace stratocue::ui::win32 {
namespace {

HINSTANCE thisProgram() { return GetModuleHandleA(nullptr); }

// The program's own icon (its first icon resource) for the title bar, the taskbar and
// Alt+Tab; the system's plain one for an executable without it.
HICON programIcon(int size) {
    const auto icon =
        static_cast<HICON>(LoadImageA(thisProgram(), MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    return icon != nullptr ? icon : LoadIconA(nullptr, IDI_APPLICATION);
}

void registerClassOnce(const char* className, WNDPROC procedure) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(thisProgram(), className, &existing)) return;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = thisProgram();
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.hIcon = programIcon(GetSystemMetrics(SM_CXICON));
    windowClass.hIconSm = programIcon(GetSystemMetrics(SM_CXSMICON));
    windowClass.lpszClassName = className;
    if (RegisterClassExA(&windowClass) == 0) {
        throw std::runtime_error(std::string("could not register the window class ") + className + ": error " +
                                 std::to_string(GetLastError()));
    }
}

// The outer rectangle of a window with that client size, centred in the work area.
RECT centredFrame(DWORD style, DWORD extendedStyle, int clientWidth, int clientHeight) {
    RECT outer{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, style, FALSE, extendedStyle);
    RECT workArea{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    const int left = workArea.left + (workArea.right - workArea.left - width) / 2;
    const int top = workArea.top + (workArea.bottom - workArea.top - height) / 2;
    return RECT{left, top, left + width, top + height};
}

}  // namespace

Dpi Dpi::ofSystem() {
    const HDC screen = GetDC(nullptr);
    const int dotsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return Dpi{dotsPerInch > 0 ? dotsPerInch : 96};
}

HFONT messageFont(int points) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    LOGFONTA face = metrics.lfMessageFont;
    if (points > 0) {
        const HDC screen = GetDC(nullptr);
        face.lfHeight = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
        ReleaseDC(nullptr, screen);
    }
    return CreateFontIndirectA(&face);
}

ModelWindow::ModelWindow(const Frame& frame, std::function<void()> closeRequested)
    : clientWidth_(dpi_.fromTwips(frame.clientWidthTwips)),
      clientHeight_(dpi_.fromTwips(frame.clientHeightTwips)),
      closeRequested_(std::move(closeRequested)) {
    registerClassOnce(frame.className, &ModelWindow::procedure);
    const RECT outer = centredFrame(frame.style, frame.extendedStyle, clientWidth_, clientHeight_);
    window_ =
        CreateWindowExA(frame.extendedStyle, frame.className, frame.caption.c_str(), frame.style, outer.left, outer.top,
                        outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, thisProgram(), this);
    if (window_ == nullptr) {
        throw std::runtime_error(std::string("could not create the window ") + frame.className + ": error " +
                                 std::to_string(GetLastError()));
    }
    // A window taller or wider than the screen (a high DPI on a small screen) is cut to the
    // screen while it is created; it keeps its full size, as the design's twips give it.
    outerSize_ = SIZE{outer.right - outer.left, outer.bottom - outer.top};
    RECT made{};
    GetWindowRect(window_, &made);
    if (made.right - made.left != outerSize_.cx || made.bottom - made.top != outerSize_.cy) {
        SetWindowPos(window_, nullptr, 0, 0, outerSize_.cx, outerSize_.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (frame.dialogKeys) SetPropA(window_, kDialogKeysProperty, window_);
    useFont(messageFont(), true);
}

ModelWindow::~ModelWindow() {
    life_.reset();
    if (window_ != nullptr) {
        closingFromModel_ = true;
        DestroyWindow(window_);
    }
    for (HFONT font : ownedFonts_) DeleteObject(font);
}

void ModelWindow::setVisible(bool visible) {
    if (window_ == nullptr) return;
    if (!visible) {
        ShowWindow(window_, SW_HIDE);
        return;
    }
    ShowWindow(window_, SW_SHOW);
    SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void ModelWindow::closeFromModel() {
    life_.reset();
    if (window_ == nullptr) return;
    closingFromModel_ = true;
    ShowWindow(window_, SW_HIDE);
    DestroyWindow(window_);  // clears window_ on WM_NCDESTROY
}

void ModelWindow::setCaption(const std::string& caption) {
    if (window_ != nullptr) SetWindowTextA(window_, caption.c_str());
}

HWND ModelWindow::addControl(const char* className, std::string_view text, DWORD style, const Box& box,
                             DWORD extendedStyle) {
    const int id = nextControlId_++;
    const std::string caption(text);
    HWND control = CreateWindowExA(extendedStyle, className, caption.c_str(), WS_CHILD | WS_VISIBLE | style, box.x,
                                   box.y, box.width, box.height, window_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), thisProgram(), nullptr);
    if (control == nullptr) {
        throw std::runtime_error(std::string("could not create a ") + className + " control: error " +
                                 std::to_string(GetLastError()));
    }
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return control;
}

void ModelWindow::onCommand(HWND control, std::function<void(WORD)> handler) {
    commands_[GetDlgCtrlID(control)] = std::move(handler);
}

void ModelWindow::useFont(HFONT font, bool owned) {
    font_ = font;
    if (owned && font != nullptr) ownedFonts_.push_back(font);
}

std::string ModelWindow::controlText(HWND control) {
    const int length = GetWindowTextLengthA(control);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void ModelWindow::widenClientTo(int width) {
    if (width <= clientWidth_ || window_ == nullptr) return;
    clientWidth_ = width;
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_STYLE));
    const auto extendedStyle = static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_EXSTYLE));
    const RECT outer = centredFrame(style, extendedStyle, clientWidth_, clientHeight_);
    outerSize_ = SIZE{outer.right - outer.left, outer.bottom - outer.top};
    SetWindowPos(window_, nullptr, outer.left, outer.top, outerSize_.cx, outerSize_.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

int ModelWindow::textWidth(HWND control, std::string_view text) {
    const HDC context = GetDC(control);
    const HGDIOBJ previous = SelectObject(context, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(context, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(context, previous);
    ReleaseDC(control, context);
    return size.cx;
}

bool ModelWindow::handleMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CALLBACK ModelWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto* created = static_cast<ModelWindow*>(creation->lpCreateParams);
        created->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<ModelWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        RemovePropA(window, kDialogKeysProperty);
        self->window_ = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->dispatch(message, wParam, lParam);
}

LRESULT ModelWindow::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = window_;
    LRESULT result = 0;
    if (handleMessage(message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_COMMAND: {
            const auto command = commands_.find(LOWORD(wParam));
            if (command == commands_.end() || lParam == 0) break;
            // A copy: the handler may close this window.
            const std::function<void(WORD)> handler = command->second;
            handler(HIWORD(wParam));
            return 0;
        }
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMaxTrackSize.x = std::max(limits->ptMaxTrackSize.x, outerSize_.cx);
            limits->ptMaxTrackSize.y = std::max(limits->ptMaxTrackSize.y, outerSize_.cy);
            return 0;
        }
        case WM_CLOSE:
            if (closingFromModel_) {
                DestroyWindow(window);
            } else if (closeRequested_) {
                const std::function<void()> ask = closeRequested_;
                ask();
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace stratocue::ui::win32
