#include "ui/qt/main_window_view.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <map>
#include <string_view>
#include <utility>

#include "ui/qt/bindings.h"

namespace stratocue::ui::qt {
namespace {

constexpr int kTextAreaHeightPixels = 34;

QString latin1(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

QLabel* staticLabel(const StaticLabel& label, QWidget* parent) {
    auto* widget = new QLabel(latin1(label.caption), parent);
    widget->setObjectName(latin1(label.name));
    return widget;
}

// The widget of one control of the main window's table, bound to its model.
QWidget* controlWidget(const FrmMain::ControlEntry& entry, FrmMain& model, QWidget* parent) {
    using Kind = FrmMain::ControlKind;
    QWidget* widget = nullptr;
    switch (entry.kind) {
        case Kind::TextLine: {
            auto* edit = new QLineEdit(parent);
            bindLineEdit(*edit, model.*entry.text);
            widget = edit;
            break;
        }
        case Kind::TextArea: {
            auto* area = new QPlainTextEdit(parent);
            area->setFixedHeight(kTextAreaHeightPixels);
            area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            bindTextArea(*area, model.*entry.text);
            widget = area;
            break;
        }
        case Kind::Toggle: {
            auto* box = new QCheckBox(parent);
            bindCheckBox(*box, model.*entry.check);
            widget = box;
            break;
        }
        case Kind::ValueLabel: {
            auto* label = new QLabel(parent);
            bindLabel(*label, model.*entry.text);
            widget = label;
            break;
        }
        case Kind::PushButton: {
            auto* button = new QPushButton(parent);
            bindButton(*button, model.*entry.button);
            widget = button;
            break;
        }
    }
    widget->setObjectName(latin1(entry.name));
    return widget;
}

// A check box without caption and the label beside it that names it.
QHBoxLayout* checkWithLabel(QWidget* box, QLabel* label) {
    auto* pair = new QHBoxLayout;
    pair->setSpacing(2);
    pair->addWidget(box);
    pair->addWidget(label);
    pair->addStretch();
    return pair;
}

}  // namespace

MainWindowView::MainWindowView(FrmMain& model, std::function<void()> closeRequested)
    : ModelWindow(std::move(closeRequested)) {
    setObjectName("frmMain");
    setFixedSize(pixelsFromTwips(FrmMain::kClientWidthTwips), pixelsFromTwips(FrmMain::kClientHeightTwips));
    setWindowTitle(toQString(model.caption.value()));
    model.caption.addObserver([this, &model] { setWindowTitle(toQString(model.caption.value())); });

    // Every control from the window's table, in design order (which is also the tab order);
    // laid out row by row below, each beside the label that names it.
    std::map<std::string_view, std::pair<QWidget*, const FrmMain::ControlEntry*>> controls;
    for (const FrmMain::ControlEntry& entry : FrmMain::controls()) {
        controls[entry.name] = {controlWidget(entry, model, this), &entry};
    }
    const auto control = [&controls](std::string_view name) { return controls.at(name).first; };
    const auto captionOf = [this, &controls](std::string_view name) {
        return staticLabel(*controls.at(name).second->caption, this);
    };
    const auto captioned = [&control, &captionOf](std::string_view name) {
        return checkWithLabel(control(name), captionOf(name));
    };

    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(6, 4, 6, 4);
    rows->setSpacing(2);

    // Row 1: the two intervals
    auto* intervals = new QHBoxLayout;
    control("txtREPEATMETAR")->setFixedWidth(32);
    control("txtREPEATFD")->setFixedWidth(32);
    intervals->addWidget(captionOf("txtREPEATMETAR"));
    intervals->addWidget(control("txtREPEATMETAR"));
    intervals->addStretch();
    intervals->addWidget(captionOf("txtREPEATFD"));
    intervals->addWidget(control("txtREPEATFD"));
    rows->addLayout(intervals);

    // Rows 2 to 4: the options, in two columns
    auto* options = new QGridLayout;
    options->setHorizontalSpacing(8);
    options->setVerticalSpacing(0);
    options->addLayout(captioned("chkUPDATEONSTATION"), 0, 0);
    options->addLayout(captioned("chkUPDATEFDONSTATION"), 0, 1);
    options->addLayout(captioned("chkVATSIM"), 1, 0);
    options->addLayout(captioned("chkWINDSALOFT"), 1, 1);
    auto* force = captioned("chkDEST");
    control("txtMETARRANGE")->setFixedWidth(40);
    force->insertWidget(2, captionOf("txtMETARRANGE"));
    force->insertWidget(3, control("txtMETARRANGE"));
    force->insertWidget(4, staticLabel(FrmMain::Label3, this));
    options->addLayout(force, 2, 0);
    options->addLayout(captioned("chkDISABLEMSG"), 2, 1);
    rows->addLayout(options);

    // Row 5: smoothing
    rows->addLayout(captioned("chkSMOOTH"));

    // Rows 6 and 7: the custom METAR request
    auto* custom = new QHBoxLayout;
    control("txtMETARINPUT")->setFixedWidth(56);
    custom->addWidget(staticLabel(FrmMain::Label34, this));
    custom->addWidget(captionOf("txtMETARINPUT"));
    custom->addWidget(control("txtMETARINPUT"));
    custom->addWidget(control("butGET"));
    custom->addStretch();
    rows->addLayout(custom);
    rows->addWidget(control("txtMETARREQstr"));

    // Rows 8 to 11: current METAR and winds aloft, each with its refresh button
    const auto heading = [](QLabel* label, QWidget* button) {
        auto* line = new QHBoxLayout;
        line->addWidget(label);
        line->addStretch();
        line->addWidget(button);
        return line;
    };
    rows->addLayout(heading(captionOf("txtMETARstr"), control("butUPDATEMETAR")));
    rows->addWidget(control("txtMETARstr"));
    rows->addLayout(heading(captionOf("txtTESTFD"), control("butUSWINDS")));
    rows->addWidget(control("txtTESTFD"));

    // Row 12: the active station
    auto* station = new QHBoxLayout;
    station->addWidget(captionOf("lblTEMPID"));
    station->addWidget(control("lblTEMPID"));
    station->addSpacing(12);
    station->addWidget(captionOf("lblTEMPdist"));
    station->addWidget(control("lblTEMPdist"));
    station->addWidget(staticLabel(FrmMain::Label3, this));
    station->addStretch();
    rows->addLayout(station);

    // Row 13: the commands
    auto* commands = new QHBoxLayout;
    commands->addWidget(control("butOK"));
    commands->addWidget(control("butRUNTIME"));
    commands->addStretch();
    commands->addWidget(staticLabel(FrmMain::Label1, this));
    rows->addLayout(commands);
}

}  // namespace stratocue::ui::qt
