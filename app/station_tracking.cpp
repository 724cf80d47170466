// The second half of every tick: the station to use, the weather re-applied on large
// altitude changes, and the METAR and winds-aloft refresh schedules.

#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "app/metar_report_labels.h"
#include "app/program.h"
#include "app/station_search.h"
#include "common/ansi_text.h"
#include "common/number_format.h"
#include "common/number_parse.h"
#include "common/rounding.h"
#include "common/units.h"
#include "eventlog/event_texts.h"
#include "fdwinds/fd_decoder.h"
#include "inject/fd_set.h"
#include "inject/metar_set.h"
#include "inject/written_values.h"

namespace stratocue::app {
namespace {

using inject::kSurfaceLayerMetres;                               // T1: 2500 ft above the station
constexpr double kWindsAloftStep = 3000 / units::kFeetPerMetre;  // T2: 3000 ft
constexpr double kSurfaceStep = 1000;
constexpr std::int16_t kTicksPerMinute = 12;
constexpr double kLongestMetarInterval = 60;
constexpr double kLongestFdInterval = 120;
constexpr std::int16_t kRefreshBoth = 9999;

// The interval box's whole minutes, replaced by the default (with a leading blank) when
// outside 1..longest; returns the period in ticks.
std::int16_t periodTicks(ui::TextBox& box, std::int16_t defaultMinutes, double longestMinutes) {
    const double minutes = std::floor(parseLeadingNumber(box.value()));
    if (minutes < 1 || minutes > longestMinutes) box.set(formatShortest(defaultMinutes));
    return checkedInteger<std::int16_t>(std::floor(parseLeadingNumber(box.value())) * kTicksPerMinute);
}

// The aircraft's position as the log tells it: to a tenth of a degree, no closer.
std::string logPosition(double latitudeRadians, double longitudeRadians) {
    constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
    return eventlog::positionText(latitudeRadians * kDegreesPerRadian, longitudeRadians * kDegreesPerRadian);
}

}  // namespace

void Program::afterReadings() {
    forceCheck();
    const StationChoice choice = findStation(stations, aircraftLatitude_, aircraftLongitude_, state.forcedId,
                                             state.forcedRange, state.forcedActive, frmMain().tempClosestfrmPUB);
    std::int16_t closestIndex = choice.closestIndex;
    showChosenStation(closestIndex, choice.closestDistance);

    const double altitudeMetres = parseLeadingNumber(frmStatus().lblAltitude.value());
    // Having taken the altitude, the re-application leaves the altitude cases nothing to do.
    if (weatherToReapply_) reapplyWeather(closestIndex, altitudeMetres);
    const std::int16_t elevationMetres = stationElevation(reportStation(closestIndex));
    surfaceAltitudeCase(closestIndex, altitudeMetres, elevationMetres);
    windsAloftAltitudeCase(closestIndex, altitudeMetres, elevationMetres);
    const bool stationChanged = metarSchedule(closestIndex);
    windsAloftSchedule(closestIndex, stationChanged);
}

void Program::countWhileDown() {
    // Held at the top rather than overflowing in a long outage: a due refresh stays due.
    const auto countOn = [](std::int16_t& ticks) {
        if (ticks < std::numeric_limits<std::int16_t>::max()) ++ticks;
    };
    countOn(state.metarTicks);
    countOn(state.fdTicks);
}

void Program::forceCheck() {
    ui::FrmMain& main = frmMain();
    // Unchecking runs the box's click handler, which ends the forcing.
    if (ui::isChecked(main.chkDEST) && main.txtMETARRANGE.value().empty()) main.chkDEST.set(0);
}

void Program::showChosenStation(std::int16_t closestIndex, double closestDistance) {
    ui::FrmMain& main = frmMain();
    main.lblTEMPID.set(stations.StationList.at(static_cast<std::size_t>(closestIndex)).id);
    main.lblTEMPdist.set(replaceAll(formatNumber(closestDistance, "0.0"), ",", "."));
    frmStatus().lblTEMPID.set(main.lblTEMPID.value());
    frmStatus().lblTEMPdist.set(main.lblTEMPdist.value());
}

std::int16_t Program::reportStation(std::int16_t closestIndex) const {
    return state.metarNeighbourIndex != 0 ? state.metarNeighbourIndex : closestIndex;
}

std::int16_t Program::stationElevation(std::int16_t index) const {
    return stations.StationList.at(static_cast<std::size_t>(index)).elevation;
}

void Program::takeAltitude(double altitudeMetres) { state.lastSetAltitude = roundTo<std::int16_t>(altitudeMetres); }

bool Program::surfaceLayerCase(std::int16_t& closestIndex, double altitudeMetres, std::int16_t elevationMetres) {
    if (altitudeMetres - elevationMetres >= kSurfaceLayerMetres) return false;
    // Once, on descending through 2500 ft above the station.
    const auto lastAboveStation = checkedInteger<std::int16_t>(state.lastSetAltitude - elevationMetres);
    if (lastAboveStation >= kSurfaceLayerMetres && altitudeMetres - elevationMetres <= kSurfaceLayerMetres) {
        METAR_Set(closestIndex);
        takeAltitude(altitudeMetres);
    }
    return true;
}

void Program::surfaceAltitudeCase(std::int16_t& closestIndex, double altitudeMetres, std::int16_t elevationMetres) {
    if (!ui::isChecked(frmMain().chkWINDSALOFT) || !(!state.fdValid || state.forcedActive)) return;
    if (surfaceLayerCase(closestIndex, altitudeMetres, elevationMetres)) return;
    if (state.lastSetAltitude - altitudeMetres > kSurfaceStep) {
        takeAltitude(altitudeMetres);
        state.altitudeSet = true;
        METAR_Set(closestIndex);
    }
    if (altitudeMetres - state.lastSetAltitude > kSurfaceStep) {
        takeAltitude(altitudeMetres);
        state.altitudeSet = true;
        METAR_Set(closestIndex);
    }
}

void Program::windsAloftAltitudeCase(std::int16_t& closestIndex, double altitudeMetres, std::int16_t elevationMetres) {
    if (!state.fdValid || state.forcedActive) return;
    if (surfaceLayerCase(closestIndex, altitudeMetres, elevationMetres)) return;
    const auto reapply = [&] {
        takeAltitude(altitudeMetres);
        FD_Set(state.fdStationIndex, closestIndex);
        state.altitudeSet = true;
        METAR_Set(closestIndex);
    };
    if (state.lastSetAltitude - altitudeMetres > kWindsAloftStep) reapply();
    if (altitudeMetres - state.lastSetAltitude > kWindsAloftStep) reapply();
}

bool Program::metarSchedule(std::int16_t& closestIndex) {
    ui::FrmMain& main = frmMain();
    state.metarPeriodTicks = periodTicks(main.txtREPEATMETAR, state.metarIntervalDefault, kLongestMetarInterval);

    bool stationChanged = false;
    if (ui::isChecked(main.chkUPDATEONSTATION) && main.lblTEMPID.value() != state.lastStationId) {
        state.metarTicks = state.metarPeriodTicks;
        state.lastStationId = main.lblTEMPID.value();
        stationChanged = true;
    }
    if (state.refreshNow) state.fdTicks = kRefreshBoth;
    if (state.refreshNow || state.metarTicks >= state.metarPeriodTicks) {
        // Only a real report is applied; without one the weather in hand stays.
        const MetarReadResult read = METAR_Read(closestIndex);
        if (read.usable) state.metarNeighbourIndex = read.stationIndex == closestIndex ? 0 : read.stationIndex;
        if (read.usable && frmMain().txtMETARstr.value() != state.lastMetarText) {
            state.lastMetarText = frmMain().txtMETARstr.value();
            state.altitudeSet = false;
            METAR_Set(closestIndex);
        }
        state.refreshNow = false;
        state.metarTicks = 0;
    }
    state.metarTicks = checkedInteger<std::int16_t>(state.metarTicks + 1);
    return stationChanged;
}

void Program::windsAloftSchedule(std::int16_t& closestIndex, bool stationChanged) {
    ui::FrmMain& main = frmMain();
    state.fdPeriodTicks = periodTicks(main.txtREPEATFD, state.fdIntervalDefault, kLongestFdInterval);
    state.fdTicks = checkedInteger<std::int16_t>(state.fdTicks + 1);
    if (ui::isChecked(main.chkUPDATEFDONSTATION) && (main.lblTEMPID.value() != state.lastStationId || stationChanged)) {
        state.fdTicks = state.fdPeriodTicks;
        state.lastStationId = main.lblTEMPID.value();
        FD_Read(closestIndex);
    }
    if (state.fdTicks >= state.fdPeriodTicks) {
        state.fdTicks = 0;
        FD_Read(closestIndex);
        METAR_Set(closestIndex);
    }
}

void Program::reapplyWeather(std::int16_t& closestIndex, double altitudeMetres) {
    weatherToReapply_ = false;
    weatherRamp_.forgetWritten();  // the simulator starts from its own weather: ours goes back at once
    takeAltitude(altitudeMetres);
    if (state.lastMetarText == ProgramState{}.lastMetarText) return;  // none in hand: the schedule fetches it
    if (state.fdValid && !state.forcedActive) FD_Set(state.fdStationIndex, closestIndex);
    state.altitudeSet = false;
    METAR_Set(closestIndex);
}

MetarRequestContext Program::metarContext() {
    return {frmMain,           frmStatus,          state,
            stations,          environment_.Inet1, servers,
            aircraftLatitude_, aircraftLongitude_, [this] { return endRequested_; }};
}

FdReadContext Program::fdContext() {
    FdReadContext context{frmMain,
                          frmStatus,
                          state,
                          stations,
                          environment_.Inet1,
                          servers,
                          FdWinds,
                          [this](std::int16_t& row, std::int16_t& index) { FD_Set(row, index); }};
    context.modelMemo = &gfsMemo_;
    return context;
}

// Once the program is ending (its download cancelled), the workers do nothing: no new
// download, no fallback weather written into the simulator.
MetarReadResult Program::METAR_Read(std::int16_t& tempIndex) {
    if (endRequested_) return {};
    auto context = metarContext();
    const MetarReadResult read = app::METAR_Read(context, tempIndex);
    // The worker shows what went wrong in place of a report; the request itself is in the log.
    if (!read.usable) {
        log_->record("failure: no METAR for station " + frmMain().lblTEMPID.value() + ": " +
                     frmMain().txtMETARstr.value());
    }
    return read;
}

// Writes the report in hand, with its text for the message and its station's elevation.
// Until a real report has been applied there is nothing to write, whoever asks; nor while
// the status window, which holds the decoded report, has lost it.
void Program::METAR_Set(std::int16_t& tempIndex) {
    if (endRequested_ || !metarInHand(state)) return;
    metar::MetarReport report = readMetarReport(frmStatus());
    if (report.alt == metar::MetarReport{}.alt) return;
    const inject::SurfaceWriteSettings settings{ui::isChecked(frmMain().chkWINDSALOFT),
                                                ui::isChecked(frmMain().chkDISABLEMSG),
                                                state.lastMetarText,
                                                frmStatus().lblAltitude.value(),
                                                stationElevation(reportStation(tempIndex)),
                                                state.forcedActive,
                                                state.fdValid};
    weatherRamp_.setSmooth(ui::isChecked(frmMain().chkSMOOTH));
    inject::METAR_Set(weatherRamp_, report, state.altitudeSet, settings, *random_);
    log_->record("report applied" + std::string(state.altitudeSet ? " for a new altitude" : "") + ", station " +
                 stations.StationList.at(static_cast<std::size_t>(reportStation(tempIndex))).id + " at " +
                 logPosition(aircraftLatitude_, aircraftLongitude_) + ": " + state.lastMetarText);
    showMetarReport(frmStatus(), report);  // "360" becomes "359", commas in alt points
}

void Program::FD_Read(std::int16_t& index) {
    if (endRequested_) return;
    auto context = fdContext();
    app::FD_Read(context, index);
    if (frmMain().txtTESTFD.value() == "Download Timeout or Error") {
        log_->record("failure: no winds aloft: " + frmMain().txtTESTFD.value());
    }
}

void Program::FD_Set(std::int16_t& row, std::int16_t& /*index*/) {
    if (endRequested_) return;
    const inject::WindsAloftWriteSettings settings{ui::isChecked(frmMain().chkDISABLEMSG),
                                                   frmStatus().lblAltitude.value()};
    weatherRamp_.setSmooth(ui::isChecked(frmMain().chkSMOOTH));
    inject::FD_Set(weatherRamp_, FdWinds, row, readMetarReport(frmStatus()), settings);
    if (row >= 1 && row <= FdWinds.rowCount) {
        log_->record("winds row applied at " + logPosition(aircraftLatitude_, aircraftLongitude_) + ": " +
                     fdwinds::FD_DisplayText(FdWinds, row));
    }
}

}  // namespace stratocue::app
