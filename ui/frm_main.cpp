#include "ui/frm_main.h"

#include <string>

namespace stratocue::ui {
namespace {

ControlValue text(std::string_view name, const Control<std::string>& control) { return {name, control.value(), false}; }
ControlValue number(std::string_view name, int value) { return {name, std::to_string(value), true}; }

}  // namespace

const std::array<FrmMain::ControlEntry, 21>& FrmMain::controls() {
    using F = FrmMain;
    using K = ControlKind;
    static const std::array<ControlEntry, 21> entries{{
        {.name = "txtREPEATMETAR", .kind = K::TextLine, .row = 1, .text = &F::txtREPEATMETAR, .caption = &F::Label6},
        {.name = "txtREPEATFD", .kind = K::TextLine, .row = 1, .text = &F::txtREPEATFD, .caption = &F::Label7},
        {.name = "chkUPDATEONSTATION",
         .kind = K::Toggle,
         .row = 2,
         .check = &F::chkUPDATEONSTATION,
         .caption = &F::Label8},
        {.name = "chkUPDATEFDONSTATION",
         .kind = K::Toggle,
         .row = 2,
         .check = &F::chkUPDATEFDONSTATION,
         .caption = &F::lblfdst},
        {.name = "chkVATSIM", .kind = K::Toggle, .row = 3, .check = &F::chkVATSIM, .caption = &F::Label5},
        {.name = "chkWINDSALOFT", .kind = K::Toggle, .row = 3, .check = &F::chkWINDSALOFT, .caption = &F::Label35},
        {.name = "chkDEST", .kind = K::Toggle, .row = 4, .check = &F::chkDEST, .caption = &F::Label38},
        {.name = "txtMETARRANGE", .kind = K::TextLine, .row = 4, .text = &F::txtMETARRANGE, .caption = &F::Label40},
        {.name = "chkDISABLEMSG", .kind = K::Toggle, .row = 4, .check = &F::chkDISABLEMSG, .caption = &F::Label2},
        {.name = "chkSMOOTH", .kind = K::Toggle, .row = 5, .check = &F::chkSMOOTH, .caption = &F::lblSMOOTH},
        {.name = "txtMETARINPUT", .kind = K::TextLine, .row = 6, .text = &F::txtMETARINPUT, .caption = &F::Label39},
        {.name = "butGET", .kind = K::PushButton, .row = 6, .button = &F::butGET},
        {.name = "txtMETARREQstr", .kind = K::TextArea, .row = 7, .text = &F::txtMETARREQstr},
        {.name = "butUPDATEMETAR", .kind = K::PushButton, .row = 8, .button = &F::butUPDATEMETAR},
        {.name = "txtMETARstr", .kind = K::TextArea, .row = 9, .text = &F::txtMETARstr, .caption = &F::Label33},
        {.name = "butUSWINDS", .kind = K::PushButton, .row = 10, .button = &F::butUSWINDS},
        {.name = "txtTESTFD", .kind = K::TextArea, .row = 11, .text = &F::txtTESTFD, .caption = &F::Label9},
        {.name = "lblTEMPID", .kind = K::ValueLabel, .row = 12, .text = &F::lblTEMPID, .caption = &F::Label4},
        {.name = "lblTEMPdist", .kind = K::ValueLabel, .row = 12, .text = &F::lblTEMPdist, .caption = &F::Label14},
        {.name = "butOK", .kind = K::PushButton, .row = 13, .button = &F::butOK},
        {.name = "butRUNTIME", .kind = K::PushButton, .row = 13, .button = &F::butRUNTIME},
    }};
    return entries;
}

void FrmMain::visitControls(const ControlVisitor& visit) const {
    for (const ControlEntry& entry : controls()) {
        if (entry.text != nullptr) visit(text(entry.name, this->*entry.text));
        if (entry.check != nullptr) visit(number(entry.name, (this->*entry.check).value()));
        // Buttons hold no value.
    }
    visit(number("Timer1", Timer1.enabled.value()));
    visit(number("tempClosestfrmPUB", tempClosestfrmPUB));
}

}  // namespace stratocue::ui
