#include "ui/qt/status_window_view.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "ui/qt/bindings.h"

namespace stratocue::ui::qt {
namespace {

QString latin1(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

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

    const auto place = [this, grid, &model](int row, int column, std::string_view caption, Label FrmStatus::*value,
                                            std::string_view name) {
        if (!caption.empty()) grid->addWidget(new QLabel(latin1(caption), this), row - 1, column);
        if (value == nullptr) return;
        auto* label = new QLabel(this);
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
}

}  // namespace stratocue::ui::qt
