#include "fdwinds/fd_read.h"

#include <exception>
#include <string>
#include <vector>

#include "common/number_parse.h"
#include "fdwinds/fd_decoder.h"
#include "stations/station_distance.h"

namespace stratocue::fdwinds {
namespace {

constexpr double kStartingDistance = 99999999.0;

// The row of the last bulletin line carrying `stationId`, 0 when none does.
std::int16_t lastRowOf(const FdWinds& winds, std::string_view stationId) {
    if (stationId.size() <= 1) return 0;
    std::int16_t found = 0;
    for (std::int16_t row = 1; row <= winds.rowCount; ++row) {
        if (winds.rowId[static_cast<std::size_t>(row)] == stationId) found = row;
    }
    return found;
}

std::string fetchPage(ui::HttpTransfer& transfer, const std::string& url) {
    return ui::pageTextFromBody(transfer.OpenUrl(url));
}

}  // namespace

FdSelection FD_SelectStation(const FdWinds& winds, const stations::StationTables& stations,
                             double aircraftLatitude, double aircraftLongitude) {
    FdSelection selection;
    double best = kStartingDistance;
    for (std::int32_t j = 1; j <= stations.FdStationCount; ++j) {
        const stations::Station& station = stations.FdStationList[static_cast<std::size_t>(j)];
        const double distance =
            stations::stationDistance(aircraftLatitude, aircraftLongitude, station.latitude, station.longitude);
        if (!(distance < best)) continue;
        const std::int16_t row = lastRowOf(winds, station.id);
        if (row == 0) continue;  // a nearer station missing from the bulletins never blocks a farther one
        selection.row = row;
        selection.stationIndex = static_cast<std::int16_t>(j);
        best = distance;
    }
    selection.inRange = selection.row != 0 && best <= kFdRangeLimit;
    return selection;
}

void FD_Read(FdReadContext& context, std::int16_t& index) {
    context.frmMain().txtTESTFD.set("Downloading...");
    try {
        context.Inet1.setRequestTimeout(kFdRequestTimeoutSeconds);
        std::vector<std::string> cuts;
        for (const std::string_view path : FdRegionPages) {
            cuts.push_back(FD_CutBulletin(fetchPage(context.Inet1, context.servers.fdwinds + std::string(path))));
        }
        const std::string joined = FD_JoinCuts(cuts);
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

}  // namespace stratocue::fdwinds
