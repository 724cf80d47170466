#include "app/fd_read.h"

#include <exception>
#include <numbers>
#include <string>
#include <vector>

#include "app/weather_fetch.h"
#include "common/number_parse.h"
#include "fdwinds/fd_decoder.h"
#include "fdwinds/fd_sources.h"
#include "fdwinds/gfs_winds.h"

namespace stratocue::app {
using namespace fdwinds;
namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

struct AircraftPosition {
    double latitude;   // radians
    double longitude;  // radians
};

// The seven bulletins, decoded and the station chosen. Raises when a fetch or cut fails or
// no station was chosen.
void readBulletins(FdReadContext& context, AircraftPosition aircraft) {
    const std::string joined = FD_JoinCuts(fetchFdStationTables(context.Inet1, *chooseFdSource(context.servers)));
    context.frmMain().txtTESTFD.set("Processing...");

    const std::vector<std::string> tokens = FD_SplitTokens(joined);
    FD_DecodeRows(tokens, context.frmStatus().lblMETARtemp.value(), context.winds);

    const FdSelection selection =
        FD_SelectStation(context.winds, context.stations, aircraft.latitude, aircraft.longitude);
    context.state.fdStationIndex = selection.row;
    context.state.fdValid = selection.inRange;
    if (selection.stationIndex != 0) context.frmMain().tempClosestfrmPUB = selection.stationIndex;
    if (context.state.fdStationIndex == 0) throw std::runtime_error("no winds-aloft station in the bulletins");
}

// The forecast model's one row for the aircraft's position, in range by its nature. Raises
// on every failure, leaving the winds in hand as they were.
void readModel(FdReadContext& context, AircraftPosition aircraft) {
    const std::string url = gfsRequestUrl(gfsServerAddress(context.servers), aircraft.latitude * kDegreesPerRadian,
                                          aircraft.longitude * kDegreesPerRadian);
    const std::string hour = gfsHourText(context.utcNow());
    GfsAnswerMemo* const memo = context.modelMemo;
    const bool askedAlready = memo != nullptr && memo->url == url && memo->hour == hour;
    FdWinds winds = askedAlready ? memo->winds : fetchGfsWinds(context.Inet1, url, hour);
    if (memo != nullptr) *memo = {url, hour, winds};
    context.frmMain().txtTESTFD.set("Processing...");
    context.winds = std::move(winds);
    context.state.fdStationIndex = 1;
    context.state.fdValid = true;
}

}  // namespace

void FD_Read(FdReadContext& context, std::int16_t& index) {
    context.frmMain().txtTESTFD.set("Downloading...");
    try {
        context.Inet1.setRequestTimeout(kFdRequestTimeoutSeconds);
        const ui::FrmStatus& status = context.frmStatus();
        const AircraftPosition aircraft{parseLeadingNumber(status.lblFSlat.value()),
                                        parseLeadingNumber(status.lblFSlon.value())};
        // The bulletins cover North America only: elsewhere they are not asked for at all,
        // and where they give nothing in range the model fills in.
        bool fromBulletins = false;
        if (FD_StationWithinRange(context.stations, aircraft.latitude, aircraft.longitude)) {
            try {
                readBulletins(context, aircraft);
                fromBulletins = context.state.fdValid;
            } catch (const std::exception&) {
                fromBulletins = false;
            }
        }
        if (!fromBulletins) readModel(context, aircraft);

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
