#pragma once

#include <cstdint>

#include "app/program_state.h"
#include "stations/station_tables.h"
#include "ui/form_slot.h"
#include "ui/frm_main.h"
#include "ui/frm_status.h"
#include "web/http_transfer.h"
#include "web/server_addresses.h"

namespace stratocue::app {

// What the METAR downloads read and write: the windows, the program state, the station
// list, the transfer component and the server addresses.
struct MetarRequestContext {
    ui::FormSlot<ui::FrmMain>& frmMain;
    ui::FormSlot<ui::FrmStatus>& frmStatus;
    ProgramState& state;
    const stations::StationTables& stations;
    web::HttpTransfer& Inet1;
    const ServerAddresses& servers;
};

// Fetches and decodes the report of StationList entry `tempIndex` from the source chosen
// by "VATSIM METARs"; the report text goes to txtMETARstr and the decoded fields to the
// status window. No report in the page: datetime "UNAVAIL", alt "1013". Every fault ends
// in "PARSE ERROR" and the fallback report text; nothing escapes.
void METAR_Read(MetarRequestContext& context, const std::int16_t& tempIndex);

// "Get Custom METAR": fetches the report of the typed identifier and shows it undecoded
// in txtMETARREQstr; with "Force Custom ID" checked it makes the station the forced one.
// Nothing escapes.
void butGET_Click(MetarRequestContext& context);

// "Force Custom ID" changed: checked runs the custom request, unchecked ends the forcing.
void chkDEST_Click(MetarRequestContext& context);

// The range box changed: runs the custom request again.
void txtMETARRANGE_Change(MetarRequestContext& context);

}  // namespace stratocue::app
