#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "ui/control.h"
#include "ui/form.h"

namespace stratocue::ui {

// The status window "Runtime Status": what the program last read from the simulator, the
// chosen station and the decoded METAR. Its METAR value labels hold the decoded report
// itself. Client area 5205 x 7380 twips, wider where its values need more room.
class FrmStatus final : public Form {
public:
    static constexpr std::string_view kDesignCaption = "Runtime Status";
    static constexpr int kClientWidthTwips = 5205;
    static constexpr int kClientHeightTwips = 7380;
    static constexpr int kRowPitchTwips = 240;

    FrmStatus() : Form(std::string(kDesignCaption)) {}

    // Left column
    Label lblSim{"."};
    Label lblVer{"."};
    Label lblClock{"."};
    Label lblAltitude{"."};
    Label lblTemp{"."};
    Label lblCLud{"."};
    Label lblCLuc{"."};
    Label lblCLub{"."};
    Label lblCLld{"."};
    Label lblCLlc{"."};
    Label lblCLlb{"."};
    Label lblCLsd{"."};
    Label lblCLsc{"."};
    Label lblCLsb{"."};
    Label lblFSlat{"."};
    Label lblFSlon{"."};
    Label lblTEMPID{"."};
    Label lblTEMPdist{"."};
    // Right column: the decoded METAR
    Label lblMETARdatetime{"."};
    Label lblMETARwinddir{"."};
    Label lblMETARwindspeed{"."};
    Label lblMETARgusting{"."};
    Label lblMETARvis{"."};
    Label lblMETARalt{"."};
    Label lblMETARptype{"."};
    Label lblMETARpint{"."};
    Label lblMETARtemp{"."};
    Label lblMETARdewpoint{"."};
    Label lblMETARtsdensity{"."};
    Label lblMETARc1density{"."};
    Label lblMETARc1ceil{"."};
    Label lblMETARc1base{"."};
    Label lblMETARc2density{"."};
    Label lblMETARc2ceil{"."};
    Label lblMETARc2base{"."};
    Label lblMETARc3density{"."};
    Label lblMETARc3ceil{"."};
    Label lblMETARc3base{"."};
    // The block reserved for AI traffic, which nothing fills
    Label lblaiHslotsize{"."};
    Label lblaiANGLE{"."};
    Label lblaiHslotsused{"."};
    TextBox txtAIDATA{"Reserved for future use\r\n"};

    Button butCLOSESTATUS{"Close"};

    // One row of the two columns: caption and value label on each side (empty = none).
    struct Row {
        int row;
        std::string_view leftCaption;
        Label FrmStatus::*leftValue;
        std::string_view leftName;
        std::string_view rightCaption;
        Label FrmStatus::*rightValue;
        std::string_view rightName;
    };
    static const std::array<Row, 23>& layout();

    // The longest texts a value label of the left and of the right column can show, so that
    // the views give every value the room its longest text needs: the widest number, the
    // longest simulator name, a reading the link could not make, a report that could not be
    // read.
    static std::span<const std::string_view> longestLeftValues();
    static std::span<const std::string_view> longestRightValues();

    void visitControls(const ControlVisitor& visit) const override;
};

}  // namespace stratocue::ui
