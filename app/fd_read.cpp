#include "app/fd_read.h"

#include <exception>
#include <string>
#include <vector>

#include "app/weather_fetch.h"
#include "common/number_parse.h"
#include "fdwinds/fd_decoder.h"
#include "fdwinds/fd_sources.h"

namespace stratocue::app {
using namespace fdwinds;

void FD_Read(FdReadContext& context, std::int16_t& index) {
    context.frmMain().txtTESTFD.set("Downloading...");
    try {
        context.Inet1.setRequestTimeout(kFdRequestTimeoutSeconds);
        const std::string joined = FD_JoinCuts(fetchFdStationTables(context.Inet1, *chooseFdSource(context.servers)));
        context.frmMain().txtTESTFD.set("Processing...");

        const std::vector<std::string> tokens = FD_SplitTokens(joined);
        FD_DecodeRows(tokens, context.frmStatus().lblMETARtemp.value(), context.winds);

        const ui::FrmStatus& status = context.frmStatus();
        const FdSelection selection =
            FD_SelectStation(context.winds, context.stations, parseLeadingNumber(status.lblFSlat.value()),
                             parseLeadingNumber(status.lblFSlon.value()));
        context.state.fdStationIndex = selection.row;
        context.state.fdValid = selection.inRange;
        if (selection.stationIndex != 0) context.frmMain().tempClosestfrmPUB = selection.stationIndex;
        if (context.state.fdStationIndex == 0) throw std::runtime_error("no winds-aloft station in the bulletins");

        context.frmMain().txtTESTFD.set(FD_DisplayText(context.winds, context.state.fdStationIndex));

        const double altitudeMetres = parseLeadingNumber(context.frmStatus().lblAltitude.value());
        if (altitudeMetres > kFdWriteAltitudeMetres && !context.state.forcedActive && context.state.fdValid) {
            if (context.FD_Set) context.FD_Set(context.state.fdStationIndex, index);
        } else if (context.state.forcedActive) {
            context.frmMain().txtTESTFD.set("(Forced) " + context.frmMain().txtTESTFD.value());
        } else if (!context.state.fdValid) {
            context.frmMain().txtTESTFD.set("US FD winds aloft disabled or beyond range");
        }
    } catch (const std::exception&) {
        context.frmMain().txtTESTFD.set("Download Timeout or Error");
    }
}

}  // namespace stratocue::app
