#include "ui/qt/main_window_view.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/qt/bindings.h"

namespace stratocue::ui::qt {
namespace {

QLabel* staticLabel(const StaticLabel& label, QWidget* parent) {
    auto* widget =
        new QLabel(QString::fromLatin1(label.caption.data(), static_cast<qsizetype>(label.caption.size())), parent);
    widget->setObjectName(QString::fromLatin1(label.name.data(), static_cast<qsizetype>(label.name.size())));
    return widget;
}

template <class Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A check box without caption and the label beside it that names it.
QHBoxLayout* checkWithLabel(QCheckBox* box, QLabel* label) {
    auto* pair = new QHBoxLayout;
    pair->setSpacing(2);
    pair->addWidget(box);
    pair->addWidget(label);
    pair->addStretch();
    return pair;
}

QPlainTextEdit* textArea(QWidget* parent, const char* name, int heightPixels) {
    auto* area = named(new QPlainTextEdit(parent), name);
    area->setFixedHeight(heightPixels);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return area;
}

}  // namespace

MainWindowView::MainWindowView(FrmMain& model, std::function<void()> closeRequested)
    : ModelWindow(std::move(closeRequested)) {
    setObjectName("frmMain");
    setFixedSize(pixelsFromTwips(FrmMain::kClientWidthTwips), pixelsFromTwips(FrmMain::kClientHeightTwips));
    setWindowTitle(toQString(model.caption.value()));
    model.caption.addObserver([this, &model] { setWindowTitle(toQString(model.caption.value())); });

    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(6, 4, 6, 4);
    rows->setSpacing(2);

    // Row 1: the two intervals
    auto* intervals = new QHBoxLayout;
    auto* repeatMetar = named(new QLineEdit(this), "txtREPEATMETAR");
    auto* repeatFd = named(new QLineEdit(this), "txtREPEATFD");
    repeatMetar->setFixedWidth(32);
    repeatFd->setFixedWidth(32);
    intervals->addWidget(staticLabel(FrmMain::Label6, this));
    intervals->addWidget(repeatMetar);
    intervals->addStretch();
    intervals->addWidget(staticLabel(FrmMain::Label7, this));
    intervals->addWidget(repeatFd);
    rows->addLayout(intervals);
    bindLineEdit(*repeatMetar, model.txtREPEATMETAR);
    bindLineEdit(*repeatFd, model.txtREPEATFD);

    // Rows 2 to 4: the options, in two columns
    auto* options = new QGridLayout;
    options->setHorizontalSpacing(8);
    options->setVerticalSpacing(0);
    const auto check = [this](CheckBox& box, const char* name) {
        auto* widget = named(new QCheckBox(this), name);
        bindCheckBox(*widget, box);
        return widget;
    };
    options->addLayout(
        checkWithLabel(check(model.chkUPDATEONSTATION, "chkUPDATEONSTATION"), staticLabel(FrmMain::Label8, this)), 0,
        0);
    options->addLayout(
        checkWithLabel(check(model.chkUPDATEFDONSTATION, "chkUPDATEFDONSTATION"), staticLabel(FrmMain::lblfdst, this)),
        0, 1);
    options->addLayout(checkWithLabel(check(model.chkVATSIM, "chkVATSIM"), staticLabel(FrmMain::Label5, this)), 1, 0);
    options->addLayout(checkWithLabel(check(model.chkWINDSALOFT, "chkWINDSALOFT"), staticLabel(FrmMain::Label35, this)),
                       1, 1);
    auto* force = checkWithLabel(check(model.chkDEST, "chkDEST"), staticLabel(FrmMain::Label38, this));
    auto* range = named(new QLineEdit(this), "txtMETARRANGE");
    range->setFixedWidth(40);
    bindLineEdit(*range, model.txtMETARRANGE);
    force->insertWidget(2, staticLabel(FrmMain::Label40, this));
    force->insertWidget(3, range);
    force->insertWidget(4, staticLabel(FrmMain::Label3, this));
    options->addLayout(force, 2, 0);
    options->addLayout(checkWithLabel(check(model.chkDISABLEMSG, "chkDISABLEMSG"), staticLabel(FrmMain::Label2, this)),
                       2, 1);
    rows->addLayout(options);

    // Rows 5 and 6: the custom METAR request
    auto* custom = new QHBoxLayout;
    auto* input = named(new QLineEdit(this), "txtMETARINPUT");
    input->setFixedWidth(56);
    bindLineEdit(*input, model.txtMETARINPUT);
    auto* get = named(new QPushButton(this), "butGET");
    bindButton(*get, model.butGET);
    custom->addWidget(staticLabel(FrmMain::Label34, this));
    custom->addWidget(staticLabel(FrmMain::Label39, this));
    custom->addWidget(input);
    custom->addWidget(get);
    custom->addStretch();
    rows->addLayout(custom);
    auto* request = textArea(this, "txtMETARREQstr", 34);
    bindTextArea(*request, model.txtMETARREQstr);
    rows->addWidget(request);

    // Rows 7 to 10: current METAR and winds aloft, each with its refresh button
    const auto heading = [this](const StaticLabel& label, QPushButton* button) {
        auto* line = new QHBoxLayout;
        line->addWidget(staticLabel(label, this));
        line->addStretch();
        line->addWidget(button);
        return line;
    };
    auto* refreshMetar = named(new QPushButton(this), "butUPDATEMETAR");
    bindButton(*refreshMetar, model.butUPDATEMETAR);
    rows->addLayout(heading(FrmMain::Label33, refreshMetar));
    auto* metarText = textArea(this, "txtMETARstr", 34);
    bindTextArea(*metarText, model.txtMETARstr);
    rows->addWidget(metarText);
    auto* refreshWinds = named(new QPushButton(this), "butUSWINDS");
    bindButton(*refreshWinds, model.butUSWINDS);
    rows->addLayout(heading(FrmMain::Label9, refreshWinds));
    auto* windsText = textArea(this, "txtTESTFD", 34);
    bindTextArea(*windsText, model.txtTESTFD);
    rows->addWidget(windsText);

    // Row 11: the active station
    auto* station = new QHBoxLayout;
    auto* stationId = named(new QLabel(this), "lblTEMPID");
    auto* distance = named(new QLabel(this), "lblTEMPdist");
    bindLabel(*stationId, model.lblTEMPID);
    bindLabel(*distance, model.lblTEMPdist);
    station->addWidget(staticLabel(FrmMain::Label4, this));
    station->addWidget(stationId);
    station->addSpacing(12);
    station->addWidget(staticLabel(FrmMain::Label14, this));
    station->addWidget(distance);
    station->addWidget(staticLabel(FrmMain::Label3, this));
    station->addStretch();
    rows->addLayout(station);

    // Row 12: the commands
    auto* commands = new QHBoxLayout;
    auto* endProgram = named(new QPushButton(this), "butOK");
    auto* runtime = named(new QPushButton(this), "butRUNTIME");
    bindButton(*endProgram, model.butOK);
    bindButton(*runtime, model.butRUNTIME);
    commands->addWidget(endProgram);
    commands->addWidget(runtime);
    commands->addStretch();
    commands->addWidget(staticLabel(FrmMain::Label1, this));
    rows->addLayout(commands);
}

}  // namespace stratocue::ui::qt
