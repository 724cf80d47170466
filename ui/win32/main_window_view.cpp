#include "ui/win32/main_window_view.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/win32/bindings.h"

namespace stratocue::ui::win32 {
namespace {

constexpr const char* kClassName = "StratocueMain";
constexpr DWORD kFixedFrame = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

constexpr int kClientWidth = pixelsFromTwips(FrmMain::kClientWidthTwips);
constexpr int kClientHeight = pixelsFromTwips(FrmMain::kClientHeightTwips);
constexpr int kMargin = 6;
constexpr int kRightColumn = 210;

// The top and height of each design row (1 to 12) in client pixels.
constexpr std::array<int, 13> kRowTop{0, 2, 24, 40, 56, 74, 98, 134, 157, 193, 216, 252, 270};
constexpr std::array<int, 13> kRowHeight{0, 20, 16, 16, 16, 22, 34, 22, 34, 22, 34, 16, 22};

constexpr int kCheckSize = 13;
constexpr int kEditHeight = 20;
constexpr int kSmallEditHeight = 18;
constexpr int kButtonHeight = 22;
constexpr int kButtonPadding = 16;
constexpr int kLabelGap = 3;

constexpr DWORD kLabelStyle = SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX;

[[nodiscard]] int rowTop(int row) { return kRowTop.at(static_cast<std::size_t>(row)); }
[[nodiscard]] int rowHeight(int row) { return kRowHeight.at(static_cast<std::size_t>(row)); }

// One item of a row: a control and its width and height; 0 = as wide as its text.
struct Item {
    HWND control;
    int width;
    int height;
    int gapAfter;
};

[[nodiscard]] int widthOf(const Item& item) {
    return item.width > 0 ? item.width : ModelWindow::labelWidth(item.control);
}

// Places the items side by side from `left`, each centred in the row's height.
int flow(int row, int left, const std::vector<Item>& items) {
    int x = left;
    for (const Item& item : items) {
        const int width = widthOf(item);
        const int height = item.height > 0 ? item.height : rowHeight(row);
        // Redrawn whole where it lands: copying the old pixels along leaves stale text under Wine.
        SetWindowPos(item.control, nullptr, x, rowTop(row) + (rowHeight(row) - height) / 2, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
        x += width + item.gapAfter;
    }
    return x;
}

// Places the items side by side so that the last one ends at `right`.
void flowToRight(int row, int right, const std::vector<Item>& items) {
    int total = 0;
    for (const Item& item : items) total += widthOf(item) + item.gapAfter;
    flow(row, right - total, items);
}

// The window control of one entry of the table, bound to its model.
HWND controlWindow(ModelWindow& window, const FrmMain::ControlEntry& entry, FrmMain& model) {
    using Kind = FrmMain::ControlKind;
    const Box unplaced{0, 0, 0, 0};
    switch (entry.kind) {
        case Kind::TextLine: {
            HWND edit = window.addControl("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, unplaced, WS_EX_CLIENTEDGE);
            bindEdit(window, edit, model.*entry.text);
            return edit;
        }
        case Kind::TextArea: {
            HWND area =
                window.addControl("EDIT", "", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                                  unplaced, WS_EX_CLIENTEDGE);
            bindEdit(window, area, model.*entry.text);
            return area;
        }
        case Kind::Toggle: {
            HWND check = window.addControl("BUTTON", "", WS_TABSTOP | BS_AUTOCHECKBOX, unplaced);
            bindCheckBox(window, check, model.*entry.check);
            return check;
        }
        case Kind::ValueLabel: {
            HWND label = window.addControl("STATIC", "", kLabelStyle, unplaced);
            bindLabel(window, label, model.*entry.text);
            return label;
        }
        case Kind::PushButton: {
            HWND button = window.addControl("BUTTON", "", WS_TABSTOP | BS_PUSHBUTTON, unplaced);
            bindButton(window, button, model.*entry.button);
            return button;
        }
    }
    throw std::logic_error("unknown control kind of " + std::string(entry.name));
}

}  // namespace

MainWindowView::MainWindowView(FrmMain& model, std::function<void()> closeRequested)
    : ModelWindow(Frame{kClassName, model.caption.value(), kFixedFrame, 0, kClientWidth, kClientHeight, true},
                  std::move(closeRequested)) {
    model.caption.addObserver([life = lifeToken(), this, &model] {
        if (!life.expired()) setCaption(model.caption.value());
    });

    // Every control from the window's table in design order, which is also the tab order,
    // each after the label that names it.
    const Box unplaced{0, 0, 0, 0};
    for (const FrmMain::ControlEntry& entry : FrmMain::controls()) {
        if (entry.caption != nullptr) {
            captions_[entry.name] = addControl("STATIC", entry.caption->caption, kLabelStyle, unplaced);
        }
        nameControl(entry.name, controlWindow(*this, entry, model));
    }
    rangeUnit_ = addControl("STATIC", FrmMain::Label3.caption, kLabelStyle, unplaced);
    customCaption_ = addControl("STATIC", FrmMain::Label34.caption, kLabelStyle, unplaced);
    distanceUnit_ = addControl("STATIC", FrmMain::Label3.caption, kLabelStyle, unplaced);
    version_ = addControl("STATIC", FrmMain::Label1.caption, kLabelStyle, unplaced);

    // The active station's labels size to their texts.
    const auto relayout = [life = lifeToken(), this] {
        if (!life.expired()) layOut();
    };
    model.lblTEMPID.addObserver(relayout);
    model.lblTEMPdist.addObserver(relayout);
    layOut();
}

void MainWindowView::layOut() {
    const auto placed = [this](std::string_view name) {
        HWND found = control(name);
        if (found == nullptr) throw std::logic_error("no control " + std::string(name));
        return found;
    };
    const auto caption = [this](std::string_view name) { return captions_.at(name); };
    const auto option = [&](int row, int left, std::string_view name) {
        flow(row, left, {{placed(name), kCheckSize, kCheckSize, kLabelGap}, {caption(name), 0, 0, 0}});
    };
    const auto button = [&](std::string_view name, int minimumWidth) {
        return std::max(minimumWidth, ModelWindow::textWidth(placed(name)) + kButtonPadding);
    };
    const int right = kClientWidth - kMargin;
    const int fullWidth = right - kMargin;

    // Row 1: the two intervals
    flow(1, kMargin, {{caption("txtREPEATMETAR"), 0, 0, kLabelGap}, {placed("txtREPEATMETAR"), 32, kEditHeight, 0}});
    flowToRight(1, right, {{caption("txtREPEATFD"), 0, 0, kLabelGap}, {placed("txtREPEATFD"), 32, kEditHeight, 0}});
    // Rows 2 to 4: the options in two columns
    option(2, kMargin, "chkUPDATEONSTATION");
    option(2, kRightColumn, "chkUPDATEFDONSTATION");
    option(3, kMargin, "chkVATSIM");
    option(3, kRightColumn, "chkWINDSALOFT");
    flow(4, kMargin,
         {{placed("chkDEST"), kCheckSize, kCheckSize, kLabelGap},
          {caption("chkDEST"), 0, 0, 1},
          {caption("txtMETARRANGE"), 0, 0, 1},
          {placed("txtMETARRANGE"), 36, kSmallEditHeight, kLabelGap},
          {rangeUnit_, 0, 0, 0}});
    option(4, kRightColumn, "chkDISABLEMSG");
    // Rows 5 and 6: the custom METAR request
    flow(5, kMargin,
         {{customCaption_, 0, 0, kLabelGap},
          {caption("txtMETARINPUT"), 0, 0, kLabelGap},
          {placed("txtMETARINPUT"), 56, kEditHeight, 6},
          {placed("butGET"), button("butGET", 110), kButtonHeight, 0}});
    flow(6, kMargin, {{placed("txtMETARREQstr"), fullWidth, 0, 0}});
    // Rows 7 to 10: current METAR and winds aloft, each with its refresh button
    flow(7, kMargin, {{caption("txtMETARstr"), 0, 0, 0}});
    flowToRight(7, right, {{placed("butUPDATEMETAR"), button("butUPDATEMETAR", 100), kButtonHeight, 0}});
    flow(8, kMargin, {{placed("txtMETARstr"), fullWidth, 0, 0}});
    flow(9, kMargin, {{caption("txtTESTFD"), 0, 0, 0}});
    flowToRight(9, right, {{placed("butUSWINDS"), button("butUSWINDS", 100), kButtonHeight, 0}});
    flow(10, kMargin, {{placed("txtTESTFD"), fullWidth, 0, 0}});
    // Row 11: the active station and its distance
    flow(11, kMargin,
         {{caption("lblTEMPID"), 0, 0, kLabelGap},
          {placed("lblTEMPID"), 0, 0, 12},
          {caption("lblTEMPdist"), 0, 0, kLabelGap},
          {placed("lblTEMPdist"), 0, 0, kLabelGap},
          {distanceUnit_, 0, 0, 0}});
    // Row 12: the commands and the version
    flow(12, kMargin,
         {{placed("butOK"), button("butOK", 90), kButtonHeight, 4},
          {placed("butRUNTIME"), button("butRUNTIME", 100), kButtonHeight, 0}});
    flowToRight(12, right, {{version_, 0, 0, 0}});

    RECT stationRow{0, rowTop(11), kClientWidth, rowTop(11) + rowHeight(11)};
    InvalidateRect(handle(), &stationRow, TRUE);
}

}  // namespace stratocue::ui::win32
