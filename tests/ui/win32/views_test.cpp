// The views contract on Win32, with the user's input sent as window messages, and the tab
// order of the main window. Runs under Wine.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "tests/ui/views_contract.h"
#include "tests/ui/win32/win32_test_support.h"
#include "ui/frm_main.h"
#include "ui/win32/main_window_view.h"
#include "ui/win32/splash_view.h"
#include "ui/win32/status_window_view.h"

namespace stratocue::ui::win32 {
namespace {

using tests::windowText;

HWND child(const ModelWindow& view, std::string_view name) {
    HWND control = view.control(name);
    if (control == nullptr) throw std::runtime_error("no control " + std::string(name));
    return control;
}

struct Win32Views {
    using Main = MainWindowView;
    using Status = StatusWindowView;
    using Splash = SplashView;
    static constexpr const char* kLineEnd = "\r\n";

    static void show(ModelWindow& view) { view.setVisible(true); }
    static std::string text(const ModelWindow& view, const char* name) { return windowText(child(view, name)); }
    static bool isChecked(const ModelWindow& view, const char* name) { return tests::isChecked(child(view, name)); }
    static void typeOver(const ModelWindow& view, const char* name, const char* typed) {
        tests::typeOver(child(view, name), typed);
    }
    static void click(const ModelWindow& view, const char* name) { tests::click(child(view, name)); }
    static void pressCloseBox(const ModelWindow& view) { SendMessageA(view.handle(), WM_CLOSE, 0, 0); }
    static bool isShown(const ModelWindow& view) { return IsWindowVisible(view.handle()) != FALSE; }
    static std::string title(const ModelWindow& view) { return windowText(view.handle()); }
    static std::pair<int, int> clientSize(const ModelWindow& view) {
        const SIZE client = tests::clientSize(view.handle());
        return {client.cx, client.cy};
    }
    static void pressSpace(const ModelWindow& view) { SendMessageA(view.handle(), WM_KEYDOWN, VK_SPACE, 0); }
    static void clickInside(const ModelWindow& view) {
        SendMessageA(view.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    }
    static LOGFONTA font(const ModelWindow& view, const char* name) {
        LOGFONTA face{};
        GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(child(view, name), WM_GETFONT, 0, 0)), sizeof face, &face);
        return face;
    }
    static bool isBold(const ModelWindow& view, const char* name) { return font(view, name).lfWeight >= FW_BOLD; }
    static std::string fontFamily(const ModelWindow& view, const char* name) { return font(view, name).lfFaceName; }
    // A frame without a title bar, and no caption text either.
    static bool hasTitleBar(const ModelWindow& view) {
        return (GetWindowLongA(view.handle(), GWL_STYLE) & WS_CAPTION) != WS_DLGFRAME ||
               !windowText(view.handle()).empty();
    }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32Views, ViewsContract, Win32Views);

TEST(MainWindowView, TabOrderIsTheDesignOrder) {
    FrmMain model;
    MainWindowView view(model, {});
    std::vector<HWND> expected;
    for (const FrmMain::ControlEntry& entry : FrmMain::controls()) {
        if (entry.kind != FrmMain::ControlKind::ValueLabel) expected.push_back(child(view, entry.name));
    }
    std::vector<HWND> tabStops;
    for (HWND control = GetWindow(view.handle(), GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
        if ((GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP) != 0) tabStops.push_back(control);
    }
    EXPECT_EQ(tabStops, expected);
}

}  // namespace
}  // namespace stratocue::ui::win32
