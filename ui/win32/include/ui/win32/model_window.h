#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/win32/dpi.h"

namespace stratocue::ui::win32 {

// A rectangle in client pixels.
struct Box {
    int x;
    int y;
    int width;
    int height;
};

// The window property marking a top-level window whose keys the message loop passes
// through IsDialogMessage (Tab between controls, Enter on buttons).
constexpr const char* kDialogKeysProperty = "StratocueDialogKeys";

// A top-level window showing a window model, with its child controls. The model decides
// when the window goes: the close box only asks (through `closeRequested`), and the window
// closes for real when the view manager calls closeFromModel() after the model was
// destroyed. The object may outlive its window (the manager keeps the last one closed), so
// that code of the window still on the stack stays memory-safe.
class ModelWindow {
public:
    struct Frame {
        const char* className;
        std::string caption;
        DWORD style;
        DWORD extendedStyle;
        int clientWidthTwips;
        int clientHeightTwips;
        bool dialogKeys;
    };

    ModelWindow(const Frame& frame, std::function<void()> closeRequested);
    ModelWindow(const ModelWindow&) = delete;
    ModelWindow& operator=(const ModelWindow&) = delete;
    ModelWindow(ModelWindow&&) = delete;
    ModelWindow& operator=(ModelWindow&&) = delete;
    virtual ~ModelWindow();

    [[nodiscard]] HWND handle() const noexcept { return window_; }
    // The DPI the window is laid out for.
    [[nodiscard]] const Dpi& dpi() const noexcept { return dpi_; }
    // The client area's size in pixels: the design's twips at the window's DPI.
    [[nodiscard]] int clientWidth() const noexcept { return clientWidth_; }
    [[nodiscard]] int clientHeight() const noexcept { return clientHeight_; }

    // Shows the window on top, or hides it.
    void setVisible(bool visible);
    // Hides and destroys the window for good; bindings stop following the model.
    void closeFromModel();
    // Sets the caption from the program's one-byte-per-character text.
    void setCaption(const std::string& caption);

    // What bindings hold: expires when the window closes for good.
    [[nodiscard]] std::weak_ptr<void> lifeToken() const { return life_; }

    // Creates a child control with the window's font and its own command number.
    HWND addControl(const char* className, std::string_view text, DWORD style, const Box& box, DWORD extendedStyle = 0);
    // Gives a child control the name of its model control, for control() to find.
    void nameControl(std::string_view name, HWND control) { named_[name] = control; }
    // The child control of that name; nullptr when there is none.
    [[nodiscard]] HWND control(std::string_view name) const {
        const auto found = named_.find(name);
        return found == named_.end() ? nullptr : found->second;
    }

    // Runs `handler` with the notification code of every WM_COMMAND of the child.
    void onCommand(HWND control, std::function<void(WORD)> handler);
    // Controls made after this use `font`; an owned font is deleted when the window goes.
    void useFont(HFONT font, bool owned);

    // The window's text of a child control, as one byte per character.
    [[nodiscard]] static std::string controlText(HWND control);
    // The width in pixels of a control's text in its font.
    [[nodiscard]] static int textWidth(HWND control) { return textWidth(control, controlText(control)); }
    // The width in pixels of `text` in the control's font.
    [[nodiscard]] static int textWidth(HWND control, std::string_view text);
    // The width a label needs to show its text whole: the text's width and what the glyphs
    // may overhang it (Wine draws small faces up to a twelfth wider than it measures them).
    [[nodiscard]] static int labelWidth(HWND label) { return labelWidth(label, controlText(label)); }
    // The width the label needs to show `text` whole.
    [[nodiscard]] static int labelWidth(HWND label, std::string_view text) {
        const int width = textWidth(label, text);
        return width + width / 12 + 4;
    }

protected:
    // Makes the client area `width` pixels wide when it is narrower, centred again on the
    // screen; the height stays.
    void widenClientTo(int width);
    // A view's own handling of a message; false lets the default handling run.
    virtual bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    Dpi dpi_ = Dpi::ofSystem();
    int clientWidth_;
    int clientHeight_;
    SIZE outerSize_{0, 0};
    HWND window_ = nullptr;
    std::function<void()> closeRequested_;
    bool closingFromModel_ = false;
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
    std::map<int, std::function<void(WORD)>> commands_;
    std::map<std::string_view, HWND> named_;
    int nextControlId_ = 100;
    HFONT font_ = nullptr;
    std::vector<HFONT> ownedFonts_;
};

// The system's message font (as dialogs use it, at the system's DPI), scaled to `points`
// when given; the caller owns it.
[[nodiscard]] HFONT messageFont(int points = 0);

}  // namespace stratocue::ui::win32
