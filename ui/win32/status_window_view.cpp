#include "ui/win32/status_window_view.h"

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "ui/win32/bindings.h"

namespace stratocue::ui::win32 {
namespace {

constexpr const char* kClassName = "StratocueStatus";
constexpr DWORD kFixedFrame = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

// The spacings below are pixels at 96 DPI; the window scales them to its DPI.
constexpr int kMargin = 6;
constexpr int kColumnGap = 6;
constexpr int kTop = 4;
constexpr int kLastRow = 24;
constexpr int kCloseWidth = 80;
constexpr int kCloseHeight = 24;
// Forty captions and values share a narrow window: a compact face keeps them whole.
constexpr int kCompactPoints = 7;

constexpr DWORD kLabelStyle = SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX;

// One caption label with the value label beside it (either may be missing), in its row.
struct Cell {
    int row;
    HWND caption;
    HWND value;
};

int widestCaption(const std::vector<Cell>& cells) {
    int widest = 0;
    for (const Cell& cell : cells) {
        if (cell.caption != nullptr) widest = std::max(widest, ModelWindow::labelWidth(cell.caption));
    }
    return widest;
}

// The width a value label needs for the widest of `texts`, in the labels' font.
int widestText(HWND label, std::span<const std::string_view> texts) {
    int widest = 0;
    for (const std::string_view text : texts) widest = std::max(widest, ModelWindow::labelWidth(label, text));
    return widest;
}

void place(HWND control, int x, int y, int width, int height) {
    if (control != nullptr) SetWindowPos(control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

StatusWindowView::StatusWindowView(FrmStatus& model, std::function<void()> closeRequested)
    : ModelWindow(Frame{kClassName, model.caption.value(), kFixedFrame, 0, FrmStatus::kClientWidthTwips,
                        FrmStatus::kClientHeightTwips, true},
                  std::move(closeRequested)) {
    model.caption.addObserver([life = lifeToken(), this, &model] {
        if (!life.expired()) setCaption(model.caption.value());
    });
    useFont(messageFont(kCompactPoints), true);
    const auto scaled = [this](int pixelsAt96) { return dpi().fromPixelsAt96(pixelsAt96); };
    const int margin = scaled(kMargin);
    const int columnGap = scaled(kColumnGap);
    const int top = scaled(kTop);
    const int rowPitch = dpi().fromTwips(FrmStatus::kRowPitchTwips);

    const Box unplaced{0, 0, 0, 0};
    const auto cell = [&](int row, std::string_view caption, Label FrmStatus::*value, std::string_view name) {
        Cell made{row, nullptr, nullptr};
        if (!caption.empty()) made.caption = addControl("STATIC", caption, kLabelStyle, unplaced);
        if (value != nullptr) {
            made.value = addControl("STATIC", "", kLabelStyle, unplaced);
            bindLabel(*this, made.value, model.*value);
            nameControl(name, made.value);
        }
        return made;
    };
    std::vector<Cell> left;
    std::vector<Cell> right;
    for (const FrmStatus::Row& row : FrmStatus::layout()) {
        left.push_back(cell(row.row, row.leftCaption, row.leftValue, row.leftName));
        right.push_back(cell(row.row, row.rightCaption, row.rightValue, row.rightName));
    }
    HWND aiData = addControl("EDIT", "", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                             unplaced, WS_EX_CLIENTEDGE);
    bindEdit(*this, aiData, model.txtAIDATA);
    nameControl("txtAIDATA", aiData);
    HWND close = addControl("BUTTON", "", WS_TABSTOP | BS_PUSHBUTTON, unplaced);
    bindButton(*this, close, model.butCLOSESTATUS);
    nameControl("butCLOSESTATUS", close);

    // Each caption column as wide as its widest caption, each value column as wide as the
    // longest text its values can show; the window grows wider when the design's width
    // leaves less, and shares out what it leaves over.
    const int leftCaptionWidth = widestCaption(left);
    const int rightCaptionWidth = widestCaption(right);
    const HWND anyValue = left.front().value;
    const int leftValueNeeds = widestText(anyValue, FrmStatus::longestLeftValues());
    const int rightValueNeeds = widestText(anyValue, FrmStatus::longestRightValues());
    widenClientTo(2 * margin + leftCaptionWidth + leftValueNeeds + rightCaptionWidth + rightValueNeeds + 3 * columnGap);
    const int clientWidth = this->clientWidth();
    const int spare = clientWidth - 2 * margin - leftCaptionWidth - leftValueNeeds - rightCaptionWidth -
                      rightValueNeeds - 3 * columnGap;
    const int leftValueWidth = leftValueNeeds + spare / 2;
    const int rightValueWidth = rightValueNeeds + spare - spare / 2;
    const int leftValueX = margin + leftCaptionWidth + columnGap;
    const int rightCaptionX = leftValueX + leftValueWidth + columnGap;
    const int rightValueX = rightCaptionX + rightCaptionWidth + columnGap;
    const auto placeColumn = [&](const std::vector<Cell>& cells, int captionX, int captionWidth, int valueX,
                                 int valueWidth) {
        for (const Cell& placed : cells) {
            const int y = top + (placed.row - 1) * rowPitch;
            place(placed.caption, captionX, y, captionWidth, rowPitch);
            place(placed.value, valueX, y, valueWidth, rowPitch);
        }
    };
    placeColumn(left, margin, leftCaptionWidth, leftValueX, leftValueWidth);
    placeColumn(right, rightCaptionX, rightCaptionWidth, rightValueX, rightValueWidth);

    const int aiDataTop = top + kLastRow * rowPitch + scaled(4);
    const int closeWidth = scaled(kCloseWidth);
    const int closeHeight = scaled(kCloseHeight);
    const int closeTop = clientHeight() - closeHeight - scaled(4);
    place(aiData, margin, aiDataTop, clientWidth - 2 * margin, closeTop - scaled(4) - aiDataTop);
    place(close, (clientWidth - closeWidth) / 2, closeTop, closeWidth, closeHeight);
}

}  // namespace stratocue::ui::win32
