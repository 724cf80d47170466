#include "ui/qt/status_window_view.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <span>

#include "ui/qt/bindings.h"

namespace stratocue::ui::qt {
namespace {

QString latin1(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

// The width a value label needs for the widest of `texts` in `font`, with a pixel to spare
// on each side for glyphs that overhang their advance.
int widestText(const QFont& font, std::span<const std::string_view> texts) {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const std::string_view text : texts) widest = std::max(widest, metrics.horizontalAdvance(latin1(text)));
    return widest + 2;
}

}  // namespace

StatusWindowView::StatusWindowView(FrmStatus& model, std::function<void()> closeRequested)
    : ModelWindow(std::move(closeRequested)) {
    setObjectName("frmStatus");
    setFixedSize(pixelsFromTwips(FrmStatus::kClientWidthTwips), pixelsFromTwips(FrmStatus::kClientHeightTwips));
    setWindowTitle(toQString(model.caption.value()));
    // Forty captions and values share a narrow window: a compact face keeps them whole.
    QFont compact = font();
    compact.setPointSizeF(7.0);
    setFont(compact);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 4, 6, 4);
    outer->setSpacing(2);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(0);
    constexpr int rowHeightPixels = pixelsFromTwips(FrmStatus::kRowPitchTwips);
    for (int row = 1; row <= 24; ++row) grid->setRowMinimumHeight(row - 1, rowHeightPixels);

    // Each value column as wide as the longest text its values can show.
    const int leftValueWidth = widestText(compact, FrmStatus::longestLeftValues());
    const int rightValueWidth = widestText(compact, FrmStatus::longestRightValues());
    const auto place = [&](int row, int column, std::string_view caption, Label FrmStatus::*value,
                           std::string_view name) {
        if (!caption.empty()) grid->addWidget(new QLabel(latin1(caption), this), row - 1, column);
        if (value == nullptr) return;
        auto* label = new QLabel(this);
        label->setMinimumWidth(column == 0 ? leftValueWidth : rightValueWidth);
        label->setObjectName(latin1(name));
        bindLabel(*label, model.*value);
        grid->addWidget(label, row - 1, column + 1);
    };
    for (const FrmStatus::Row& row : FrmStatus::layout()) {
        place(row.row, 0, row.leftCaption, row.leftValue, row.leftName);
        place(row.row, 2, row.rightCaption, row.rightValue, row.rightName);
    }
    grid->setHorizontalSpacing(4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    outer->addLayout(grid);

    auto* aiData = new QPlainTextEdit(this);
    aiData->setObjectName("txtAIDATA");
    bindTextArea(*aiData, model.txtAIDATA);
    outer->addWidget(aiData, 1);

    auto* close = new QPushButton(this);
    close->setObjectName("butCLOSESTATUS");
    bindButton(*close, model.butCLOSESTATUS);
    outer->addWidget(close, 0, Qt::AlignHCenter);

    // The design's width, or more where the values need it.
    setFixedSize(std::max(width(), outer->totalMinimumSize().width()), height());
}

}  // namespace stratocue::ui::qt
