// The three windows laid out at the DPI the process runs at: every size comes from the
// design's twips at that DPI, no two controls overlap, nothing crosses a window's client
// edge, every caption and every value fits its control, filled with the longest text it
// can show, and at 96 DPI every control keeps its rectangle.
// Runs under Wine; STRATOCUE_EXPECTED_DPI names the DPI the run was set up for.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
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

// The longest texts the main window's one-line values show: a station id, the distance to
// the far side of the earth, the longest intervals and range, a typed station id.
constexpr std::string_view kWidestStationId = "WWWW";
void fillWithLongest(FrmMain& model, std::size_t /*round*/) {
    model.lblTEMPID.set(std::string(kWidestStationId));
    model.lblTEMPdist.set("12450.5");
    model.txtREPEATMETAR.set("60");
    model.txtREPEATFD.set("120");
    model.txtMETARRANGE.set("9999");
    model.txtMETARINPUT.set(std::string(kWidestStationId));
}
// Round by round, every value of each column holds one of the longest texts it can show.
void fillWithLongest(FrmStatus& model, std::size_t round) {
    const auto left = FrmStatus::longestLeftValues();
    const auto right = FrmStatus::longestRightValues();
    for (const FrmStatus::Row& row : FrmStatus::layout()) {
        if (row.leftValue != nullptr) (model.*row.leftValue).set(std::string(left[round % left.size()]));
        if (row.rightValue != nullptr) (model.*row.rightValue).set(std::string(right[round % right.size()]));
    }
}
void fillWithLongest(FrmSplash& /*model*/, std::size_t /*round*/) {}

// A window of the program on screen, with the model it mirrors.
struct Shown {
    Shown() = default;
    Shown(const Shown&) = delete;
    Shown& operator=(const Shown&) = delete;
    Shown(Shown&&) = delete;
    Shown& operator=(Shown&&) = delete;
    virtual ~Shown() = default;
    virtual ModelWindow& window() = 0;
    // Puts the longest texts of one round into the model's controls.
    virtual void fillWithLongestTexts(std::size_t round) = 0;
};

template <class Model, class View>
struct ModelAndView final : Shown {
    template <class... Extra>
    explicit ModelAndView(Extra... extra) : view(model, extra...) {}
    ModelWindow& window() override { return view; }
    void fillWithLongestTexts(std::size_t round) override { fillWithLongest(model, round); }
    Model model;
    View view;
};

// Enough rounds for every longest text of every column to have had its turn.
const std::size_t kFillRounds = std::max(FrmStatus::longestLeftValues().size(), FrmStatus::longestRightValues().size());

struct WindowUnderTest {
    std::string name;
    std::function<std::unique_ptr<Shown>()> make;
    int clientWidthTwips;
    int clientHeightTwips;
    // The client area may be wider than the design, where the values need the room.
    bool widensForValues;
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
         false,
         {
             {6, 2, 144, 22},      {147, 2, 179, 22},    {245, 2, 358, 22},    {361, 2, 393, 22},
             {22, 24, 196, 40},    {6, 25, 19, 38},      {226, 24, 375, 40},   {210, 25, 223, 38},
             {22, 40, 117, 56},    {6, 41, 19, 54},      {226, 40, 356, 56},   {210, 41, 223, 54},
             {22, 56, 117, 72},    {6, 57, 19, 70},      {118, 56, 132, 72},   {133, 55, 169, 73},
             {226, 56, 351, 72},   {210, 57, 223, 70},   {22, 74, 171, 90},    {6, 75, 19, 88},
             {96, 92, 115, 114},   {118, 93, 174, 113},  {180, 92, 294, 114},  {6, 116, 393, 150},
             {293, 152, 393, 174}, {6, 152, 95, 174},    {6, 175, 393, 209},   {274, 211, 393, 233},
             {6, 211, 137, 233},   {6, 234, 393, 268},   {6, 270, 91, 286},    {94, 270, 101, 286},
             {113, 270, 227, 286}, {230, 270, 237, 286}, {6, 288, 96, 310},    {100, 288, 200, 310},
             {172, 56, 193, 72},   {6, 92, 93, 114},     {240, 270, 261, 286}, {368, 288, 393, 310},
         }},
        {"Status",
         [=] { return std::make_unique<ModelAndView<FrmStatus, StatusWindowView>>(noCloseRequest); },
         FrmStatus::kClientWidthTwips,
         FrmStatus::kClientHeightTwips,
         true,
         {
             {6, 4, 109, 20},      {115, 4, 323, 20},    {329, 4, 448, 20},    {454, 4, 520, 20},
             {6, 20, 109, 36},     {115, 20, 323, 36},   {329, 20, 448, 36},   {454, 20, 520, 36},
             {6, 36, 109, 52},     {115, 36, 323, 52},   {329, 36, 448, 52},   {454, 36, 520, 52},
             {6, 52, 109, 68},     {115, 52, 323, 68},   {329, 52, 448, 68},   {454, 52, 520, 68},
             {6, 68, 109, 84},     {115, 68, 323, 84},   {329, 68, 448, 84},   {454, 68, 520, 84},
             {6, 84, 109, 100},    {115, 84, 323, 100},  {329, 84, 448, 100},  {454, 84, 520, 100},
             {6, 100, 109, 116},   {115, 100, 323, 116}, {329, 100, 448, 116}, {454, 100, 520, 116},
             {6, 116, 109, 132},   {115, 116, 323, 132}, {329, 116, 448, 132}, {454, 116, 520, 132},
             {6, 132, 109, 148},   {115, 132, 323, 148}, {329, 132, 448, 148}, {454, 132, 520, 148},
             {6, 148, 109, 164},   {115, 148, 323, 164}, {329, 148, 448, 164}, {454, 148, 520, 164},
             {6, 164, 109, 180},   {115, 164, 323, 180}, {329, 164, 448, 180}, {454, 164, 520, 180},
             {6, 180, 109, 196},   {115, 180, 323, 196}, {329, 180, 448, 196}, {454, 180, 520, 196},
             {6, 196, 109, 212},   {115, 196, 323, 212}, {329, 196, 448, 212}, {454, 196, 520, 212},
             {6, 212, 109, 228},   {115, 212, 323, 228}, {329, 212, 448, 228}, {454, 212, 520, 228},
             {6, 228, 109, 244},   {115, 228, 323, 244}, {329, 228, 448, 244}, {454, 228, 520, 244},
             {6, 244, 109, 260},   {115, 244, 323, 260}, {329, 244, 448, 260}, {454, 244, 520, 260},
             {329, 260, 448, 276}, {454, 260, 520, 276}, {329, 276, 448, 292}, {454, 276, 520, 292},
             {6, 292, 109, 308},   {115, 292, 323, 308}, {329, 292, 448, 308}, {454, 292, 520, 308},
             {6, 308, 109, 324},   {115, 308, 323, 324}, {329, 308, 448, 324}, {454, 308, 520, 324},
             {6, 340, 109, 356},   {115, 340, 323, 356}, {329, 340, 448, 356}, {454, 340, 520, 356},
             {6, 356, 109, 372},   {115, 356, 323, 372}, {6, 372, 109, 388},   {6, 392, 520, 460},
             {223, 464, 303, 488},
         }},
        {"Splash",
         [] { return std::make_unique<ModelAndView<FrmSplash, SplashView>>(); },
         FrmSplash::kClientWidthTwips,
         FrmSplash::kClientHeightTwips,
         false,
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
    if (GetParam().widensForValues) {
        EXPECT_GE(client.right, MulDiv(GetParam().clientWidthTwips, screenDpi(), 1440));
    } else {
        EXPECT_EQ(client.right, MulDiv(GetParam().clientWidthTwips, screenDpi(), 1440));
    }
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
    // The design's texts first, then round by round the longest each control can show.
    for (std::size_t round = 0; round <= kFillRounds; ++round) {
        if (round > 0) shown_->fillWithLongestTexts(round - 1);
        for (const Child& child : childrenOf(handle())) {
            if (!holdsOneLineOfText(child)) continue;
            const SIZE text = textExtent(child);
            const SIZE room = textRoom(child);
            EXPECT_LE(text.cx, room.cx) << describe(child) << " is " << text.cx << " px wide";
            EXPECT_LE(text.cy, room.cy) << describe(child) << " is " << text.cy << " px high";
        }
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
