#include "ui/frm_main.h"

#include <string>

namespace stratocue::ui {
namespace {

ControlValue text(std::string_view name, const Control<std::string>& control) { return {name, control.value(), false}; }
ControlValue number(std::string_view name, int value) { return {name, std::to_string(value), true}; }

}  // namespace

void FrmMain::visitControls(const ControlVisitor& visit) const {
    visit(text("txtREPEATMETAR", txtREPEATMETAR));
    visit(text("txtREPEATFD", txtREPEATFD));
    visit(number("chkUPDATEONSTATION", chkUPDATEONSTATION.value()));
    visit(number("chkUPDATEFDONSTATION", chkUPDATEFDONSTATION.value()));
    visit(number("chkVATSIM", chkVATSIM.value()));
    visit(number("chkWINDSALOFT", chkWINDSALOFT.value()));
    visit(number("chkDEST", chkDEST.value()));
    visit(text("txtMETARRANGE", txtMETARRANGE));
    visit(number("chkDISABLEMSG", chkDISABLEMSG.value()));
    visit(text("txtMETARINPUT", txtMETARINPUT));
    visit(text("txtMETARREQstr", txtMETARREQstr));
    visit(text("txtMETARstr", txtMETARstr));
    visit(text("txtTESTFD", txtTESTFD));
    visit(text("lblTEMPID", lblTEMPID));
    visit(text("lblTEMPdist", lblTEMPdist));
    visit(number("Timer1", Timer1.enabled.value()));
    visit(number("tempClosestfrmPUB", tempClosestfrmPUB));
}

}  // namespace stratocue::ui
