#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <exception>
#include <string>
#include <utility>

#include "app/program.h"
#include "app/simulator_readings.h"
#include "app/version_text.h"
#include "simlink/link.h"

namespace stratocue::app {
namespace {

// Clears a flag when the tick ends, however it ends.
class TickGuard {
public:
    explicit TickGuard(bool& running) : running_(running) { running_ = true; }
    TickGuard(const TickGuard&) = delete;
    TickGuard& operator=(const TickGuard&) = delete;
    ~TickGuard() { running_ = false; }

private:
    bool& running_;
};

}  // namespace

void Program::Timer1_Timer() {
    // A tick that falls due during any download is skipped: one of an earlier tick, or one
    // started by a button or a box of the main window, whose wait lets the timer fire. So is
    // a tick once the program is ending.
    if (tickRunning_ || environment_.Inet1.StillExecuting() || endRequested_) return;
    {
        const TickGuard guard(tickRunning_);
        ++tickCount_;
        runTick();
    }
    if (afterTick) afterTick();
}

void Program::runTick() {
    try {
        if (state.startFailed) {
            butOK_Click();
            // Once the program has ended, writing labels would only bring windows back.
            if (!frmMain.exists()) return;
        }
        findSimulatorAgain();
        const bool downAtStart = link.exchangeFailure() != 0;
        bool lossLogged = false;
        const auto showNewFailure = [&] {
            if (downAtStart || link.exchangeFailure() == 0) return;
            if (!std::exchange(lossLogged, true)) {
                log_->record("link lost: " + simlink::ResultTexts(link.exchangeFailure()));
            }
            showLinkState(link.exchangeFailure());
        };
        // Zeros from failed readings are no position: such a tick leaves the station, the
        // weather in hand and the altitude bookkeeping as they were, and only counts on.
        if (readSimulatorValues()) {
            showNewFailure();
            afterReadings();
        } else {
            showNewFailure();
            countWhileDown();
        }
        showNewFailure();
        stepWeatherRamp();
    } catch (const std::exception& fault) {
        // A fault ends this tick only; the link and the windows stay usable for the next.
        log_->record(std::string("failure: the tick ended early: ") + fault.what());
    }
}

void Program::stepWeatherRamp() {
    const auto now = environment_.clock();
    const auto longestStep = std::chrono::milliseconds(frmMain().Timer1.intervalMs.value());
    const auto elapsed = lastRampStep_
                             ? std::min<std::chrono::steady_clock::duration>(now - *lastRampStep_, longestStep)
                             : std::chrono::steady_clock::duration::zero();
    lastRampStep_ = now;
    if (link.exchangeFailure() != 0) return;  // the simulator is away; its weather goes back in at once
    weatherRamp_.setSmooth(ui::isChecked(frmMain().chkSMOOTH));
    weatherRamp_.step(elapsed);
}

void Program::findSimulatorAgain() {
    if (link.exchangeFailure() == 0) return;
    if (!link.serverPresent()) {
        showLinkState(simlink::kNoServer);
        return;
    }
    if (link.serverHung()) {
        // Asked without waiting: no reopen, and so no hold, until it answers again.
        showLinkState(link.exchangeFailure());
        return;
    }
    link.Link_Close();
    std::int32_t code = 0;
    if (link.Link_Open(0, code)) {
        frmStatus().lblSim.set(simlink::SimNames(link.state().SimId));
        frmStatus().lblVer.set(versionText(link.state().ServerVersion));
        weatherToReapply_ = true;
        log_->record("link back: " + simlink::ResultTexts(code));
    }
    showLinkState(code);
}

void Program::showLinkState(std::int32_t code) {
    const std::string linkState =
        code == simlink::kOk ? simlink::ResultTexts(code) : "Can't connect: " + simlink::ResultTexts(code);
    frmMain().caption.set(std::string(ui::FrmMain::kDesignCaption) + linkState);
}

bool Program::readSimulatorValues() {
    aircraftLatitude_ = 0.0;
    aircraftLongitude_ = 0.0;
    int positionValuesRead = 0;
    for (const SimulatorReading& reading : simulatorReadings()) {
        std::array<std::byte, 4> raw{};
        const auto destination = std::span<std::byte>(raw).first(static_cast<std::size_t>(reading.value.sizeBytes));
        std::int32_t code = 0;
        std::string text;
        if (link.exchangeFailure() != 0) {
            // A failed exchange ends the tick's exchanges; the rest show its result.
            text = "Processing: " + simlink::ResultTexts(link.exchangeFailure());
        } else if (!link.Link_Read(reading.value.offset, reading.value.sizeBytes, destination, code)) {
            text = "Reading: " + simlink::ResultTexts(code);
        } else if (!link.Link_Process(code)) {
            text = "Processing: " + simlink::ResultTexts(code);
        } else {
            text = readingText(reading.kind, raw);
            if (reading.kind == ReadingKind::Latitude || reading.kind == ReadingKind::Longitude ||
                reading.kind == ReadingKind::Altitude32) {
                ++positionValuesRead;
            }
            if (reading.kind == ReadingKind::Latitude) aircraftLatitude_ = latitudeRadians(simlink::readLe32(raw));
            if (reading.kind == ReadingKind::Longitude) aircraftLongitude_ = longitudeRadians(simlink::readLe32(raw));
        }
        (frmStatus().*reading.label).set(text);
    }
    return positionValuesRead == 3;
}

}  // namespace stratocue::app
