#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/control.h"
#include "ui/form.h"

namespace stratocue::ui {

// The main window: settings, commands, the current METAR and winds-aloft texts, the active
// station. Every control carries its design-time content; client area 5985 x 4680 twips.
class FrmMain final : public Form {
public:
    static constexpr std::string_view kDesignCaption = "Stratocue 2002 ";
    static constexpr int kClientWidthTwips = 5985;
    static constexpr int kClientHeightTwips = 4680;  // the smoothing row (5) takes 270 of it

    FrmMain() : Form(std::string(kDesignCaption)) {}

    // Row 1
    TextBox txtREPEATMETAR{""};
    TextBox txtREPEATFD{""};
    // Row 2
    CheckBox chkUPDATEONSTATION{1};
    CheckBox chkUPDATEFDONSTATION{0};
    // Row 3
    CheckBox chkVATSIM{0};
    CheckBox chkWINDSALOFT{1};
    // Row 4
    CheckBox chkDEST{0};
    TextBox txtMETARRANGE{"60"};
    CheckBox chkDISABLEMSG{0};
    // Row 5: ramp the weather's changes instead of writing them at once
    CheckBox chkSMOOTH{0};
    // Rows 6 and 7: custom METAR
    TextBox txtMETARINPUT{""};
    Button butGET{"Get Custom METAR"};
    TextBox txtMETARREQstr{"Enter METAR ID above\r\n"};
    // Rows 8 and 9: current METAR
    Button butUPDATEMETAR{"Refresh METAR"};
    TextBox txtMETARstr{"Loading...\r\n"};
    // Rows 10 and 11: winds aloft
    Button butUSWINDS{"Refresh Winds Aloft"};
    TextBox txtTESTFD{"Loading...\r\n"};
    // Row 12
    Label lblTEMPID{"."};
    Label lblTEMPdist{"."};
    // Row 13
    Button butOK{"End Program"};
    Button butRUNTIME{"Runtime Status"};

    Timer Timer1{5000, false};

    // Index of the station last chosen: by the METAR station search (into the METAR
    // station list) or by the winds-aloft selection (into the FD station list).
    std::int16_t tempClosestfrmPUB = 0;

    // The unchanging labels beside the controls.
    static constexpr StaticLabel Label6{"Label6", "METAR Update Interval:"};
    static constexpr StaticLabel Label7{"Label7", "FD Update Interval:"};
    static constexpr StaticLabel Label8{"Label8", "Update METAR on new station"};
    static constexpr StaticLabel lblfdst{"lblfdst", "Update FD on new station"};
    static constexpr StaticLabel Label5{"Label5", "VATSIM METARs"};
    static constexpr StaticLabel Label35{"Label35", "Winds Aloft Simulation"};
    static constexpr StaticLabel Label38{"Label38", "Force Custom ID"};
    static constexpr StaticLabel Label40{"Label40", "@"};
    static constexpr StaticLabel Label3{"Label3", "nm"};
    static constexpr StaticLabel Label2{"Label2", "Disable WX Messages"};
    static constexpr StaticLabel lblSMOOTH{"lblSMOOTH", "Smooth weather changes"};
    static constexpr StaticLabel Label34{"Label34", "Custom METAR"};
    static constexpr StaticLabel Label39{"Label39", "ID:"};
    static constexpr StaticLabel Label33{"Label33", "Current METAR"};
    static constexpr StaticLabel Label9{"Label9", "Current FD Winds Aloft"};
    static constexpr StaticLabel Label4{"Label4", "Active Station:"};
    static constexpr StaticLabel Label14{"Label14", "Distance to Station:"};
    static constexpr StaticLabel Label1{"Label1", "v1.5"};

    // How a control shows on screen: a one-line text box, a text box of several lines, a
    // check box, a label whose caption the program sets, a command button.
    enum class ControlKind { TextLine, TextArea, Toggle, ValueLabel, PushButton };

    // One control of the window: its name, kind and design row (1 to 13), the member that
    // holds it (`text` for text boxes, text areas and labels, `check` or `button` for the
    // others) and the unchanging label that names it, if one does.
    struct ControlEntry {
        std::string_view name;
        ControlKind kind;
        int row;
        Control<std::string> FrmMain::*text = nullptr;
        CheckBox FrmMain::*check = nullptr;
        Button FrmMain::*button = nullptr;
        const StaticLabel* caption = nullptr;
    };
    // The controls in design order, which is also the order of visitControls.
    static const std::array<ControlEntry, 21>& controls();

    void visitControls(const ControlVisitor& visit) const override;
};

}  // namespace stratocue::ui
