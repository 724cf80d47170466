// The three windows laid out at the DPI the process runs at: every size comes from the
// design's twips at that DPI, no two controls overlap, nothing crosses a window's client
// edge, every caption fits its control, and at 96 DPI every control keeps its rectangle.
// Runs under Wine; STRATOCUE_EXPECTED_DPI names the DPI the run was set up for.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ui/frm_main.h"
#include "ui/frm_splash.h"
#include "ui/frm_status.h"
#include "ui/win32/main_window_view.h"
#include "ui/win32/splash_view.h"
#include "ui/win32/status_window_view.h"

namespace stratocue::ui::win32 {
namespace {

int screenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// One child control: its class, its text and its rectangle in the parent's client pixels.
struct Child {
    HWND handle;
    std::string className;
    std::string text;
    RECT box;
};

std::string describe(const Child& child) {
    std::ostringstream text;
    text << child.className << " \"" << child.text << "\" (" << child.box.left << ", " << child.box.top << ")-("
         << child.box.right << ", " << child.box.bottom << ")";
    return text.str();
}

// The visible children in creation order.
std::vector<Child> childrenOf(HWND parent) {
    std::vector<Child> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE) == 0) continue;
        std::string className(64, '\0');
        className.resize(static_cast<std::size_t>(GetClassNameA(child, className.data(), 64)));
        std::string text(static_cast<std::size_t>(GetWindowTextLengthA(child)) + 1, '\0');
        text.resize(static_cast<std::size_t>(GetWindowTextA(child, text.data(), static_cast<int>(text.size()))));
        RECT box{};
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&box), 2);
        children.push_back({child, className, text, box});
    }
    return children;
}

SIZE textExtent(const Child& child) {
    const HDC context = GetDC(child.handle);
    const HGDIOBJ previous =
        SelectObject(context, reinterpret_cast<HGDIOBJ>(SendMessageA(child.handle, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(context, child.text.c_str(), static_cast<int>(child.text.size()), &size);
    SelectObject(context, previous);
    ReleaseDC(child.handle, context);
    return size;
}

// The room a control gives its text: a label or an edit box its client area, a button its
// client area less the frame it draws inside.
SIZE textRoom(const Child& child) {
    RECT client{};
    GetClientRect(child.handle, &client);
    if (child.className == "Button") return SIZE{client.right - 2 * GetSystemMetrics(SM_CXEDGE), client.bottom - 2};
    return SIZE{client.right, client.bottom};
}

bool holdsOneLineOfText(const Child& child) {
    const LONG_PTR style = GetWindowLongPtrA(child.handle, GWL_STYLE);
    if (child.text.empty()) return false;
    if (child.className == "Edit") return (style & ES_MULTILINE) == 0;
    if (child.className == "Button") return (style & BS_TYPEMASK) == BS_PUSHBUTTON;
    return child.className == "Static";
}

// A window of the program on screen, with the model it mirrors.
struct Shown {
    Shown() = default;
    Shown(const Shown&) = delete;
    Shown& operator=(const Shown&) = delete;
    Shown(Shown&&) = delete;
    Shown& operator=(Shown&&) = delete;
    virtual ~Shown() = default;
    virtual ModelWindow& window() = 0;
};

template <class Model, class View>
struct ModelAndView final : Shown {
    template <class... Extra>
    explicit ModelAndView(Extra... extra) : view(model, extra...) {}
    ModelWindow& window() override { return view; }
    Model model;
    View view;
};

struct WindowUnderTest {
    std::string name;
    std::function<std::unique_ptr<Shown>()> make;
    int clientWidthTwips;
    int clientHeightTwips;
    // Every child's rectangle at 96 DPI, in creation order: the layout before the sizes
    // followed the DPI.
    std::vector<RECT> rectanglesAt96Dpi;
};

std::vector<WindowUnderTest> windowsUnderTest() {
    const std::function<void()> noCloseRequest;
    return {
        {"Main",
         [=] { return std::make_unique<ModelAndView<FrmMain, MainWindowView>>(noCloseRequest); },
         FrmMain::kClientWidthTwips,
         FrmMain::kClientHeightTwips,
         {
             {6, 2, 155, 22},      {158, 2, 190, 22},    {236, 2, 358, 22},    {361, 2, 393, 22},
             {22, 24, 210, 40},    {6, 25, 19, 38},      {226, 24, 387, 40},   {210, 25, 223, 38},
             {22, 40, 124, 56},    {6, 41, 19, 54},      {226, 40, 367, 56},   {210, 41, 223, 54},
             {22, 56, 126, 72},    {6, 57, 19, 70},      {127, 56, 142, 72},   {143, 55, 179, 73},
             {226, 56, 363, 72},   {210, 57, 223, 70},   {22, 74, 182, 90},    {6, 75, 19, 88},
             {106, 92, 126, 114},  {129, 93, 185, 113},  {191, 92, 317, 114},  {6, 116, 393, 150},
             {290, 152, 393, 174}, {6, 152, 103, 174},   {6, 175, 393, 209},   {265, 211, 393, 233},
             {6, 211, 149, 233},   {6, 234, 393, 268},   {6, 270, 98, 286},    {101, 270, 109, 286},
             {121, 270, 244, 286}, {247, 270, 255, 286}, {6, 288, 96, 310},    {100, 288, 202, 310},
             {182, 56, 205, 72},   {6, 92, 103, 114},    {258, 270, 281, 286}, {362, 288, 393, 310},
         }},
        {"Status",
         [=] { return std::make_unique<ModelAndView<FrmStatus, StatusWindowView>>(noCloseRequest); },
         FrmStatus::kClientWidthTwips,
         FrmStatus::kClientHeightTwips,
         {
             {6, 4, 127, 20},      {133, 4, 161, 20},    {167, 4, 306, 20},    {312, 4, 340, 20},
             {6, 20, 127, 36},     {133, 20, 161, 36},   {167, 20, 306, 36},   {312, 20, 340, 36},
             {6, 36, 127, 52},     {133, 36, 161, 52},   {167, 36, 306, 52},   {312, 36, 340, 52},
             {6, 52, 127, 68},     {133, 52, 161, 68},   {167, 52, 306, 68},   {312, 52, 340, 68},
             {6, 68, 127, 84},     {133, 68, 161, 84},   {167, 68, 306, 84},   {312, 68, 340, 84},
             {6, 84, 127, 100},    {133, 84, 161, 100},  {167, 84, 306, 100},  {312, 84, 340, 100},
             {6, 100, 127, 116},   {133, 100, 161, 116}, {167, 100, 306, 116}, {312, 100, 340, 116},
             {6, 116, 127, 132},   {133, 116, 161, 132}, {167, 116, 306, 132}, {312, 116, 340, 132},
             {6, 132, 127, 148},   {133, 132, 161, 148}, {167, 132, 306, 148}, {312, 132, 340, 148},
             {6, 148, 127, 164},   {133, 148, 161, 164}, {167, 148, 306, 164}, {312, 148, 340, 164},
             {6, 164, 127, 180},   {133, 164, 161, 180}, {167, 164, 306, 180}, {312, 164, 340, 180},
             {6, 180, 127, 196},   {133, 180, 161, 196}, {167, 180, 306, 196}, {312, 180, 340, 196},
             {6, 196, 127, 212},   {133, 196, 161, 212}, {167, 196, 306, 212}, {312, 196, 340, 212},
             {6, 212, 127, 228},   {133, 212, 161, 228}, {167, 212, 306, 228}, {312, 212, 340, 228},
             {6, 228, 127, 244},   {133, 228, 161, 244}, {167, 228, 306, 244}, {312, 228, 340, 244},
             {6, 244, 127, 260},   {133, 244, 161, 260}, {167, 244, 306, 260}, {312, 244, 340, 260},
             {167, 260, 306, 276}, {312, 260, 340, 276}, {167, 276, 306, 292}, {312, 276, 340, 292},
             {6, 292, 127, 308},   {133, 292, 161, 308}, {167, 292, 306, 308}, {312, 292, 340, 308},
             {6, 308, 127, 324},   {133, 308, 161, 324}, {167, 308, 306, 324}, {312, 308, 340, 324},
             {6, 340, 127, 356},   {133, 340, 161, 356}, {167, 340, 306, 356}, {312, 340, 340, 356},
             {6, 356, 127, 372},   {133, 356, 161, 372}, {6, 372, 127, 388},   {6, 392, 341, 460},
             {133, 464, 213, 488},
         }},
        {"Splash",
         [] { return std::make_unique<ModelAndView<FrmSplash, SplashView>>(); },
         FrmSplash::kClientWidthTwips,
         FrmSplash::kClientHeightTwips,
         {{0, 222, 328, 262}}},
    };
}

void PrintTo(const WindowUnderTest& window, std::ostream* out) { *out << window.name; }

class WindowLayout : public testing::TestWithParam<WindowUnderTest> {
protected:
    void SetUp() override {
        shown_ = GetParam().make();
        shown_->window().setVisible(true);
        children_ = childrenOf(handle());
        ASSERT_FALSE(children_.empty());
    }

    [[nodiscard]] HWND handle() const { return shown_->window().handle(); }

    std::unique_ptr<Shown> shown_;
    std::vector<Child> children_;
};

TEST(Dpi, IsTheOneTheRunWasSetUpFor) {
    const char* expected = std::getenv("STRATOCUE_EXPECTED_DPI");
    EXPECT_EQ(screenDpi(), expected != nullptr ? std::atoi(expected) : 96);
}

TEST_P(WindowLayout, ClientAreaIsTheDesignTwipsAtTheDpi) {
    RECT client{};
    GetClientRect(handle(), &client);
    EXPECT_EQ(client.right, MulDiv(GetParam().clientWidthTwips, screenDpi(), 1440));
    EXPECT_EQ(client.bottom, MulDiv(GetParam().clientHeightTwips, screenDpi(), 1440));
}

TEST_P(WindowLayout, NoTwoControlsOverlap) {
    for (std::size_t first = 0; first < children_.size(); ++first) {
        for (std::size_t second = first + 1; second < children_.size(); ++second) {
            RECT common{};
            EXPECT_FALSE(IntersectRect(&common, &children_[first].box, &children_[second].box))
                << describe(children_[first]) << " overlaps " << describe(children_[second]);
        }
    }
}

TEST_P(WindowLayout, NothingCrossesTheClientEdge) {
    RECT client{};
    GetClientRect(handle(), &client);
    for (const Child& child : children_) {
        EXPECT_TRUE(child.box.left >= 0 && child.box.top >= 0 && child.box.right <= client.right &&
                    child.box.bottom <= client.bottom)
            << describe(child) << " crosses the client edge at " << client.right << " x " << client.bottom;
        EXPECT_TRUE(child.box.right > child.box.left && child.box.bottom > child.box.top) << describe(child);
    }
}

TEST_P(WindowLayout, EveryCaptionFitsItsControl) {
    for (const Child& child : children_) {
        if (!holdsOneLineOfText(child)) continue;
        const SIZE text = textExtent(child);
        const SIZE room = textRoom(child);
        EXPECT_LE(text.cx, room.cx) << describe(child) << " is " << text.cx << " px wide";
        EXPECT_LE(text.cy, room.cy) << describe(child) << " is " << text.cy << " px high";
    }
}

TEST_P(WindowLayout, At96DpiEveryControlKeepsItsRectangle) {
    if (screenDpi() != 96) GTEST_SKIP() << "runs at 96 DPI only";
    const std::vector<RECT>& expected = GetParam().rectanglesAt96Dpi;
    std::ostringstream actual;
    for (const Child& child : children_) {
        actual << "{" << child.box.left << ", " << child.box.top << ", " << child.box.right << ", " << child.box.bottom
               << "},\n";
    }
    ASSERT_EQ(children_.size(), expected.size()) << actual.str();
    for (std::size_t index = 0; index < expected.size(); ++index) {
        EXPECT_TRUE(EqualRect(&children_[index].box, &expected[index]))
            << "control " << index << ": " << describe(children_[index]);
    }
}

INSTANTIATE_TEST_SUITE_P(ProgramWindows, WindowLayout, testing::ValuesIn(windowsUnderTest()),
                         [](const testing::TestParamInfo<WindowUnderTest>& shown) { return shown.param.name; });

}  // namespace
}  // namespace stratocue::ui::win32

// The program declares itself DPI-aware in its manifest; the test does so here, so that
// Windows hands it the real DPI instead of scaling its windows.
int main(int argc, char** argv) {
    SetProcessDPIAware();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
