#pragma once

#include <cstdint>
#include <functional>

#include "app/program_state.h"
#include "stations/station_tables.h"
#include "ui/form_slot.h"
#include "ui/frm_main.h"
#include "ui/frm_status.h"
#include "web/http_transfer.h"
#include "web/server_addresses.h"

namespace stratocue::app {

// What the METAR downloads read and write: the windows, the program state, the station
// list, the transfer component and the server addresses; the aircraft position (radians)
// for the stations around it, and whether the program is ending (no further request then).
struct MetarRequestContext {
    ui::FormSlot<ui::FrmMain>& frmMain;
    ui::FormSlot<ui::FrmStatus>& frmStatus;
    ProgramState& state;
    const stations::StationTables& stations;
    web::HttpTransfer& Inet1;
    const ServerAddresses& servers;
    double aircraftLatitude = 0.0;
    double aircraftLongitude = 0.0;
    std::function<bool()> ending = [] { return false; };
};

// What one METAR refresh brought.
struct MetarReadResult {
    bool usable = false;            // a decoded report is in txtMETARstr and the status window
    std::int16_t stationIndex = 0;  // the StationList entry whose report it is
};

// True once the schedule has applied a real report: lastMetarText holds one.
[[nodiscard]] bool metarInHand(const ProgramState& state);

// Fetches and decodes the current report of StationList entry `tempIndex`; when it has none,
// the report of the nearest of up to 5 other stations within 50 of the aircraft (never for a
// forced station). Asks the service "VATSIM METARs" selects and, when that one fails, the
// other. A report: its text in txtMETARstr, its fields in the status window, usable. None,
// every service failed, or a report that cannot be decoded: the status window's date reads
// "UNAVAIL" or "PARSE ERROR", the other fields stay, txtMETARstr says what happened and which
// report stays in hand; not usable. Nothing escapes.
[[nodiscard]] MetarReadResult METAR_Read(MetarRequestContext& context, const std::int16_t& tempIndex);

// "Get Custom METAR": fetches the report of the typed identifier and shows it undecoded
// in txtMETARREQstr; with "Force Custom ID" checked it makes the station the forced one.
// Asks the other service when the selected one fails. Nothing escapes.
void butGET_Click(MetarRequestContext& context);

// "Force Custom ID" changed: checked runs the custom request, unchecked ends the forcing.
void chkDEST_Click(MetarRequestContext& context);

// The range box changed: runs the custom request again.
void txtMETARRANGE_Change(MetarRequestContext& context);

}  // namespace stratocue::app
