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

// The spacings below are pixels at 96 DPI; the window scales them to its DPI.
constexpr int kMargin = 6;
constexpr int kRightColumn = 210;

// The top and height of each design row (1 to 13) in client pixels.
constexpr std::array<int, 14> kRowTop{0, 2, 24, 40, 56, 74, 92, 116, 152, 175, 211, 234, 270, 288};
constexpr std::array<int, 14> kRowHeight{0, 20, 16, 16, 16, 16, 22, 34, 22, 34, 22, 34, 16, 22};

constexpr int kCheckSize = 13;
constexpr int kEditHeight = 20;
constexpr int kSmallEditHeight = 18;
constexpr int kButtonHeight = 22;
constexpr int kButtonPadding = 16;
constexpr int kLabelGap = 3;
constexpr int kIntervalWidth = 32;
constexpr int kRangeWidth = 36;
constexpr int kStationInputWidth = 56;

constexpr DWORD kLabelStyle = SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX;

// One item of a row: a control and its width and height (0 = as wide as its text, as high
// as the row) and the gap after it, in pixels at the window's DPI.
struct Item {
    HWND control;
    int width;
    int height;
    int gapAfter;
};

[[nodiscard]] int widthOf(const Item& item) {
    return item.width > 0 ? item.width : ModelWindow::labelWidth(item.control);
}

// The design rows at one DPI.
class Rows {
public:
    explicit Rows(const Dpi& dpi) : dpi_(dpi) {}

    [[nodiscard]] int top(int row) const { return dpi_.fromPixelsAt96(kRowTop.at(static_cast<std::size_t>(row))); }
    [[nodiscard]] int height(int row) const {
        return dpi_.fromPixelsAt96(kRowHeight.at(static_cast<std::size_t>(row)));
    }

    // Places the items side by side from `left`, each centred in the row's height; returns
    // where the last one ends.
    int flow(int row, int left, const std::vector<Item>& items) const {
        int x = left;
        int end = left;
        for (const Item& item : items) {
            const int width = widthOf(item);
            const int itemHeight = item.height > 0 ? item.height : height(row);
            // Redrawn whole where it lands: copying the old pixels along leaves stale text under Wine.
            SetWindowPos(item.control, nullptr, x, top(row) + (height(row) - itemHeight) / 2, width, itemHeight,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
            end = x + width;
            x = end + item.gapAfter;
        }
        return end;
    }

    // Places the items side by side so that the last one ends at `right`; returns where
    // the first one starts.
    int flowToRight(int row, int right, const std::vector<Item>& items) const {
        int total = 0;
        for (const Item& item : items) total += widthOf(item) + item.gapAfter;
        flow(row, right - total, items);
        return right - total;
    }

private:
    const Dpi& dpi_;
};

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
    : ModelWindow(Frame{kClassName, model.caption.value(), kFixedFrame, 0, FrmMain::kClientWidthTwips,
                        FrmMain::kClientHeightTwips, true},
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
    const Rows rows(dpi());
    const auto scaled = [this](int pixelsAt96) { return dpi().fromPixelsAt96(pixelsAt96); };
    const auto placed = [this](std::string_view name) {
        HWND found = control(name);
        if (found == nullptr) throw std::logic_error("no control " + std::string(name));
        return found;
    };
    const auto caption = [this](std::string_view name) { return captions_.at(name); };
    const int checkSize = scaled(kCheckSize);
    const int labelGap = scaled(kLabelGap);
    const auto optionItems = [&](std::string_view name) {
        return std::vector<Item>{{placed(name), checkSize, checkSize, labelGap}, {caption(name), 0, 0, 0}};
    };
    const auto button = [&](std::string_view name, int minimumWidth) {
        return std::max(scaled(minimumWidth), ModelWindow::textWidth(placed(name)) + scaled(kButtonPadding));
    };
    const int margin = scaled(kMargin);
    const int right = clientWidth() - margin;
    const int fullWidth = right - margin;
    const int editHeight = scaled(kEditHeight);
    const int buttonHeight = scaled(kButtonHeight);

    // Row 1: the two intervals
    rows.flow(1, margin,
              {{caption("txtREPEATMETAR"), 0, 0, labelGap},
               {placed("txtREPEATMETAR"), scaled(kIntervalWidth), editHeight, 0}});
    rows.flowToRight(
        1, right,
        {{caption("txtREPEATFD"), 0, 0, labelGap}, {placed("txtREPEATFD"), scaled(kIntervalWidth), editHeight, 0}});
    // Rows 2 to 4: the options in two columns; the right column starts where the left one
    // ends when its texts are wider than the design's column.
    int leftColumnEnd = rows.flow(2, margin, optionItems("chkUPDATEONSTATION"));
    leftColumnEnd = std::max(leftColumnEnd, rows.flow(3, margin, optionItems("chkVATSIM")));
    leftColumnEnd = std::max(
        leftColumnEnd, rows.flow(4, margin,
                                 {{placed("chkDEST"), checkSize, checkSize, labelGap},
                                  {caption("chkDEST"), 0, 0, scaled(1)},
                                  {caption("txtMETARRANGE"), 0, 0, scaled(1)},
                                  {placed("txtMETARRANGE"), scaled(kRangeWidth), scaled(kSmallEditHeight), labelGap},
                                  {rangeUnit_, 0, 0, 0}}));
    const int rightColumn = std::max(scaled(kRightColumn), leftColumnEnd);
    rows.flow(2, rightColumn, optionItems("chkUPDATEFDONSTATION"));
    rows.flow(3, rightColumn, optionItems("chkWINDSALOFT"));
    rows.flow(4, rightColumn, optionItems("chkDISABLEMSG"));
    // Row 5: smoothing
    rows.flow(5, margin, optionItems("chkSMOOTH"));
    // Rows 6 and 7: the custom METAR request
    rows.flow(6, margin,
              {{customCaption_, 0, 0, labelGap},
               {caption("txtMETARINPUT"), 0, 0, labelGap},
               {placed("txtMETARINPUT"), scaled(kStationInputWidth), editHeight, scaled(6)},
               {placed("butGET"), button("butGET", 110), buttonHeight, 0}});
    rows.flow(7, margin, {{placed("txtMETARREQstr"), fullWidth, 0, 0}});
    // Rows 8 to 11: current METAR and winds aloft, each with its refresh button
    rows.flow(8, margin, {{caption("txtMETARstr"), 0, 0, 0}});
    rows.flowToRight(8, right, {{placed("butUPDATEMETAR"), button("butUPDATEMETAR", 100), buttonHeight, 0}});
    rows.flow(9, margin, {{placed("txtMETARstr"), fullWidth, 0, 0}});
    rows.flow(10, margin, {{caption("txtTESTFD"), 0, 0, 0}});
    rows.flowToRight(10, right, {{placed("butUSWINDS"), button("butUSWINDS", 100), buttonHeight, 0}});
    rows.flow(11, margin, {{placed("txtTESTFD"), fullWidth, 0, 0}});
    // Row 12: the active station and its distance
    rows.flow(12, margin,
              {{caption("lblTEMPID"), 0, 0, labelGap},
               {placed("lblTEMPID"), 0, 0, scaled(12)},
               {caption("lblTEMPdist"), 0, 0, labelGap},
               {placed("lblTEMPdist"), 0, 0, labelGap},
               {distanceUnit_, 0, 0, 0}});
    // Row 13: the commands and the version
    rows.flow(13, margin,
              {{placed("butOK"), button("butOK", 90), buttonHeight, scaled(4)},
               {placed("butRUNTIME"), button("butRUNTIME", 100), buttonHeight, 0}});
    rows.flowToRight(13, right, {{version_, 0, 0, 0}});

    RECT stationRow{0, rows.top(12), clientWidth(), rows.top(12) + rows.height(12)};
    InvalidateRect(handle(), &stationRow, TRUE);
}

}  // namespace stratocue::ui::win32
