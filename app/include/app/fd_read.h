#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/program_state.h"
#include "fdwinds/fd_select.h"
#include "fdwinds/fd_winds.h"
#include "stations/station_tables.h"
#include "ui/form_slot.h"
#include "ui/frm_main.h"
#include "ui/frm_status.h"
#include "web/http_transfer.h"
#include "web/server_addresses.h"

namespace stratocue::app {

// The forecast model's last row, with the address and hour it answered: a refresh that
// would ask again for the same place and hour (the second refresh of a tick in which the
// station changed with "Update FD on new station" checked) takes it instead.
struct GfsAnswerMemo {
    std::string url;
    std::string hour;
    fdwinds::FdWinds winds;
};

// What FD_Read reads and writes.
struct FdReadContext {
    ui::FormSlot<ui::FrmMain>& frmMain;
    ui::FormSlot<ui::FrmStatus>& frmStatus;
    ProgramState& state;
    const stations::StationTables& stations;
    web::HttpTransfer& Inet1;
    const ServerAddresses& servers;
    fdwinds::FdWinds& winds;
    // The winds-aloft writer, called with the chosen row and the index FD_Read received.
    std::function<void(std::int16_t& row, std::int16_t& index)> FD_Set;
    // The computer's clock: the forecast model's hour is the current UTC hour.
    std::function<std::chrono::system_clock::time_point()> utcNow = &std::chrono::system_clock::now;
    // The model's last answer, kept between refreshes; none kept when null.
    GfsAnswerMemo* modelMemo = nullptr;
};

// One winds-aloft refresh: with an FD station within range of the aircraft, fetches and
// decodes all seven pages and chooses the station; without one, or when that fails or
// ends with no station in range, asks the forecast model once for a "GFS" row at the
// aircraft's position. Shows the row's summary in txtTESTFD and writes its winds when the
// aircraft is high enough, the row in range and nothing forced. Every failure shows
// "Download Timeout or Error"; a failure before the decoding keeps the previous winds.
// Nothing escapes.
void FD_Read(FdReadContext& context, std::int16_t& index);

}  // namespace stratocue::app
