#include "ui/win32/status_window_view.h"

#include <algorithm>
#include <string>
#include <vector>

#include "ui/win32/bindings.h"

namespace stratocue::ui::win32 {
namespace {

constexpr const char* kClassName = "StratocueStatus";
constexpr DWORD kFixedFrame = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

constexpr int kClientWidth = pixelsFromTwips(FrmStatus::kClientWidthTwips);
constexpr int kClientHeight = pixelsFromTwips(FrmStatus::kClientHeightTwips);
constexpr int kRowPitch = pixelsFromTwips(FrmStatus::kRowPitchTwips);
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

void place(HWND control, int x, int y, int width, int height) {
    if (control != nullptr) SetWindowPos(control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

StatusWindowView::StatusWindowView(FrmStatus& model, std::function<void()> closeRequested)
    : ModelWindow(Frame{kClassName, model.caption.value(), kFixedFrame, 0, kClientWidth, kClientHeight, true},
                  std::move(closeRequested)) {
    model.caption.addObserver([life = lifeToken(), this, &model] {
        if (!life.expired()) setCaption(model.caption.value());
    });
    useFont(messageFont(kCompactPoints), true);

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
    const int aiDataTop = kTop + kLastRow * kRowPitch + 4;
    const int closeTop = kClientHeight - kCloseHeight - 4;
    HWND aiData =
        addControl("EDIT", "", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                   {kMargin, aiDataTop, kClientWidth - 2 * kMargin, closeTop - 4 - aiDataTop}, WS_EX_CLIENTEDGE);
    bindEdit(*this, aiData, model.txtAIDATA);
    nameControl("txtAIDATA", aiData);
    HWND close = addControl("BUTTON", "", WS_TABSTOP | BS_PUSHBUTTON,
                            {(kClientWidth - kCloseWidth) / 2, closeTop, kCloseWidth, kCloseHeight});
    bindButton(*this, close, model.butCLOSESTATUS);
    nameControl("butCLOSESTATUS", close);

    // Each caption column as wide as its widest caption; the value columns share the rest.
    const int leftCaptionWidth = widestCaption(left);
    const int rightCaptionWidth = widestCaption(right);
    const int valueWidth = (kClientWidth - 2 * kMargin - leftCaptionWidth - rightCaptionWidth - 3 * kColumnGap) / 2;
    const int leftValueX = kMargin + leftCaptionWidth + kColumnGap;
    const int rightCaptionX = leftValueX + valueWidth + kColumnGap;
    const int rightValueX = rightCaptionX + rightCaptionWidth + kColumnGap;
    const auto placeColumn = [&](const std::vector<Cell>& cells, int captionX, int captionWidth, int valueX) {
        for (const Cell& placed : cells) {
            const int y = kTop + (placed.row - 1) * kRowPitch;
            place(placed.caption, captionX, y, captionWidth, kRowPitch);
            place(placed.value, valueX, y, valueWidth, kRowPitch);
        }
    };
    placeColumn(left, kMargin, leftCaptionWidth, leftValueX);
    placeColumn(right, rightCaptionX, rightCaptionWidth, rightValueX);
}

}  // namespace stratocue::ui::win32
