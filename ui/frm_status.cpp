#include "ui/frm_status.h"

namespace stratocue::ui {
namespace {

// A number with every digit (a position in degrees, an altitude, a distance).
constexpr std::string_view kWidestNumber = "-179.999999";

constexpr std::array<std::string_view, 8> kLongestLeftValues{
    kWidestNumber,
    "FSYETANOTHER",  // the longest simulator name
    // A reading the link could not queue or exchange: the result texts it can give there.
    "Reading: Call cannot execute, link not Open",
    "Reading: IPC request contains bad data",
    "Processing: Call cannot execute, link not Open",
    "Processing: IPC timed out all retries",
    "Processing: IPC sendmessage failed all retries",
    "Processing: IPC request contains bad data",
};

constexpr std::array<std::string_view, 3> kLongestRightValues{kWidestNumber, "PARSE ERROR", "UNAVAIL"};

}  // namespace

std::span<const std::string_view> FrmStatus::longestLeftValues() { return kLongestLeftValues; }

std::span<const std::string_view> FrmStatus::longestRightValues() { return kLongestRightValues; }

const std::array<FrmStatus::Row, 23>& FrmStatus::layout() {
    using F = FrmStatus;
    static const std::array<Row, 23> rows{{
        {1, "FS Version", &F::lblSim, "lblSim", "METAR Date/Time", &F::lblMETARdatetime, "lblMETARdatetime"},
        {2, "FSUIPC Version:", &F::lblVer, "lblVer", "METAR Wind Dir", &F::lblMETARwinddir, "lblMETARwinddir"},
        {3, "FS Clock:", &F::lblClock, "lblClock", "METAR Wind Speed", &F::lblMETARwindspeed, "lblMETARwindspeed"},
        {4, "FS Altitude:", &F::lblAltitude, "lblAltitude", "METAR Gusting To", &F::lblMETARgusting, "lblMETARgusting"},
        {5, "FS Temp", &F::lblTemp, "lblTemp", "METAR Visibility", &F::lblMETARvis, "lblMETARvis"},
        {6, "Clouds Upper Density", &F::lblCLud, "lblCLud", "METAR Altimeter Setting", &F::lblMETARalt, "lblMETARalt"},
        {7, "Clouds Upper Ceil", &F::lblCLuc, "lblCLuc", "METAR Precip Type", &F::lblMETARptype, "lblMETARptype"},
        {8, "Clouds Upper Base", &F::lblCLub, "lblCLub", "METAR Precip Intensity", &F::lblMETARpint, "lblMETARpint"},
        {9, "Clouds Lower Density", &F::lblCLld, "lblCLld", "METAR Temperature", &F::lblMETARtemp, "lblMETARtemp"},
        {10, "Clouds Lower Ceil", &F::lblCLlc, "lblCLlc", "METAR Dew Point", &F::lblMETARdewpoint, "lblMETARdewpoint"},
        {11, "Clouds Lower Base", &F::lblCLlb, "lblCLlb", "METAR TStorm Density", &F::lblMETARtsdensity,
         "lblMETARtsdensity"},
        {12, "Clouds Storm Density", &F::lblCLsd, "lblCLsd", "METAR Clouds 1 Density", &F::lblMETARc1density,
         "lblMETARc1density"},
        {13, "Clouds Storm Ceil", &F::lblCLsc, "lblCLsc", "COMP Clouds 1 Ceiling", &F::lblMETARc1ceil,
         "lblMETARc1ceil"},
        {14, "Clouds Storm Base", &F::lblCLsb, "lblCLsb", "METAR Clouds 1 Base", &F::lblMETARc1base, "lblMETARc1base"},
        {15, "Lat Rads", &F::lblFSlat, "lblFSlat", "METAR Clouds 2 Density", &F::lblMETARc2density,
         "lblMETARc2density"},
        {16, "Lon Rads", &F::lblFSlon, "lblFSlon", "COMP Clouds 2 Ceiling", &F::lblMETARc2ceil, "lblMETARc2ceil"},
        {17, "", nullptr, "", "METAR Clouds 2 Base", &F::lblMETARc2base, "lblMETARc2base"},
        {18, "", nullptr, "", "METAR Clouds 3 Density", &F::lblMETARc3density, "lblMETARc3density"},
        {19, "Closest METAR Station", &F::lblTEMPID, "lblTEMPID", "COMP Clouds 3 Ceiling", &F::lblMETARc3ceil,
         "lblMETARc3ceil"},
        {20, "Distance to Station", &F::lblTEMPdist, "lblTEMPdist", "METAR Clouds 3 Base", &F::lblMETARc3base,
         "lblMETARc3base"},
        {22, "AI Data Slot Size", &F::lblaiHslotsize, "lblaiHslotsize", "AI Closest Inverse Bearing", &F::lblaiANGLE,
         "lblaiANGLE"},
        {23, "AI Data Slots In Use", &F::lblaiHslotsused, "lblaiHslotsused", "", nullptr, ""},
        {24, "AI Data", nullptr, "", "", nullptr, ""},
    }};
    return rows;
}

void FrmStatus::visitControls(const ControlVisitor& visit) const {
    for (const Row& row : layout()) {
        if (row.leftValue != nullptr) visit({row.leftName, (this->*row.leftValue).value(), false});
    }
    for (const Row& row : layout()) {
        if (row.rightValue != nullptr) visit({row.rightName, (this->*row.rightValue).value(), false});
    }
    visit({"txtAIDATA", txtAIDATA.value(), false});
}

}  // namespace stratocue::ui
