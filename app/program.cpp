#include "app/program.h"

#include <string>

#include "app/settings_file.h"
#include "app/version_text.h"
#include "eventlog/event_texts.h"
#include "stations/stations_load.h"

namespace stratocue::app {

Program::Program(Environment environment)
    : servers(loadServerAddresses(environment.workingFolder)),
      link(environment.ipc),
      environment_(std::move(environment)) {
    if (environment_.randomSource == nullptr) ownRandom_ = inject::makeClockSeededRandom();
    if (!environment_.clock) environment_.clock = [] { return std::chrono::steady_clock::now(); };
    random_ = environment_.randomSource != nullptr ? environment_.randomSource : ownRandom_.get();
    log_ = environment_.eventLog != nullptr ? environment_.eventLog : &silentLog_;
    weatherRamp_.tellEventsTo([this](const std::string& event) { log_->record(event); });
    frmMain.setHooks([this](ui::FrmMain& form) { wireMain(form); }, [this](ui::FrmMain&) { frmMain_Unload(); });
    frmStatus.setHooks([this](ui::FrmStatus& form) { wireStatus(form); },
                       [this](ui::FrmStatus&) { frmStatus_Unload(); });
    frmSplash.setHooks([this](ui::FrmSplash& form) { wireSplash(form); }, {});
}

Program::~Program() {
    // The windows' handlers point back here; take them down without running the program's
    // shutdown twice.
    frmMain.setHooks({}, {});
    frmStatus.setHooks({}, {});
    frmSplash.setHooks({}, {});
}

void Program::wireMain(ui::FrmMain& form) {
    form.butOK.setHandler(asEvent([this] { butOK_Click(); }));
    form.butRUNTIME.setHandler(asEvent([this] { butRUNTIME_Click(); }));
    form.butUPDATEMETAR.setHandler(asEvent([this] { butUPDATEMETAR_Click(); }));
    form.butGET.setHandler(asEvent([this] {
        auto context = metarContext();
        app::butGET_Click(context);
    }));
    form.chkDEST.setHandler(asEvent([this] {
        auto context = metarContext();
        app::chkDEST_Click(context);
    }));
    form.txtMETARRANGE.setHandler(asEvent([this] {
        auto context = metarContext();
        app::txtMETARRANGE_Change(context);
    }));
    form.butUSWINDS.setHandler(asEvent([this] { FD_Read(frmMain().tempClosestfrmPUB); }));
    form.Timer1.setHandler(asEvent([this] { Timer1_Timer(); }));
    form.Timer1.holdWith(environment_.messageBoxes.timerHold());
}

void Program::wireStatus(ui::FrmStatus& form) {
    form.butCLOSESTATUS.setHandler(asEvent([this] { frmStatus().Hide(); }));
}

void Program::wireSplash(ui::FrmSplash& form) {
    form.SplashTimer.setHandler(asEvent([this] { SplashTimer_Timer(); }));
    form.SplashTimer.holdWith(environment_.messageBoxes.timerHold());
    form.keyPress.setHandler(asEvent([this] { splashDismissed(); }));
    form.Frame1.setHandler(asEvent([this] { splashDismissed(); }));
}

namespace {

// Counts the program's events on the stack for one scope, however the scope is left.
class EventScope {
public:
    explicit EventScope(int& depth) noexcept : depth_(depth) { ++depth_; }
    EventScope(const EventScope&) = delete;
    EventScope& operator=(const EventScope&) = delete;
    EventScope(EventScope&&) = delete;
    EventScope& operator=(EventScope&&) = delete;
    ~EventScope() { --depth_; }

private:
    int& depth_;
};

}  // namespace

void Program::runEvent(const std::function<void()>& handler) {
    {
        const EventScope scope(eventDepth_);
        handler();
    }
    endIfRequested();
}

std::function<void()> Program::asEvent(std::function<void()> handler) {
    return [this, handler = std::move(handler)] { runEvent(handler); };
}

void Program::endOnSignal() {
    endRequested_ = true;
    // The fetch raises once control is back in it; its caller then ends its work quietly.
    if (environment_.Inet1.StillExecuting()) environment_.Inet1.Cancel();
    endIfRequested();
}

void Program::endIfRequested() {
    // Code of an event still on the stack (waiting for a page or a message box) would go on
    // against a closed link and destroyed windows: the end waits until it has returned.
    if (!endRequested_ || eventDepth_ > 0 || environment_.Inet1.StillExecuting()) return;
    endRequested_ = false;
    butOK_Click();
}

void Program::Main() {
    runEvent([this] { startUp(); });
}

void Program::startUp() {
    weatherRamp_.forgetWritten();  // the first weather goes in at once
    log_->record(eventlog::startText());
    link.Link_Init();
    std::int32_t code = 0;
    if (link.Link_Open(0, code)) {
        log_->record("link opened: " + simlink::ResultTexts(code));
        frmMain().caption.set(frmMain().caption.value() + simlink::ResultTexts(code));
        frmStatus().lblSim.set(simlink::SimNames(link.state().SimId));
        frmStatus().lblVer.set(versionText(link.state().ServerVersion));
        frmMain().Timer1.enabled.set(1);
    } else {
        frmMain().caption.set(frmMain().caption.value() + "Can't connect: " + simlink::ResultTexts(code));
        log_->record("link not opened: " + simlink::ResultTexts(code));
        environment_.messageBoxes.show("Can't connect to FS2002 and/or FSUIPC");
        state.startFailed = true;
    }

    if (!state.startFailed) {
        state = ProgramState{};  // every shared value starts afresh with the station tables
        const auto tellFailure = [this](std::string_view text) {
            log_->record("failure: " + std::string(text));
            environment_.messageBoxes.show(text);
        };
        const bool loaded = stations::Stations_Load(stations, stations::StationLoadActions{
                                                                  environment_.workingFolder,
                                                                  tellFailure,
                                                                  [this] { link.Link_Close(); },
                                                                  [this] {
                                                                      frmMain.destroy();
                                                                      frmSplash.destroy();
                                                                  },
                                                              });
        if (!loaded) state.startFailed = true;
    }
    if (!state.startFailed && environment_.settingsFolder) {
        applySettings(loadSettings(*environment_.settingsFolder), frmMain());
    }

    frmSplash().Show();
    frmSplash().SplashTimer.enabled.set(1);

    if (state.startFailed) {
        link.Link_Close();
        destroyAllWindows();
    }
}

bool Program::anyWindowLeft() const { return frmMain.exists() || frmStatus.exists() || frmSplash.exists(); }

void Program::destroyAllWindows() {
    frmMain.destroy();
    frmSplash.destroy();
    frmStatus.destroy();
}

void Program::butOK_Click() {
    if (environment_.Inet1.StillExecuting()) {
        environment_.messageBoxes.show("Please wait for last data download request to complete");
        return;
    }
    keepSettings();
    link.Link_Close();
    destroyAllWindows();
}

void Program::closeMainWindow() {
    runEvent([this] { frmMainCloseBox(); });
}

void Program::frmMainCloseBox() {
    if (!frmMain.exists()) return;
    // Closing while a page is still on its way would leave the download's caller running
    // against a closed link and destroyed windows, so the close waits for it instead.
    if (environment_.Inet1.StillExecuting()) {
        environment_.messageBoxes.show("Please wait for downloads to complete before exiting");
        return;
    }
    keepSettings();
    frmMain.destroy();
}

void Program::keepSettings() {
    // A start that failed read no settings, and its windows hold only the defaults.
    if (state.startFailed || !frmMain.exists() || !environment_.settingsFolder) return;
    // A folder that cannot be written keeps the file it has; the program ends all the same.
    (void)saveSettings(*environment_.settingsFolder, frmMain());
}

void Program::frmMain_Unload() {
    link.Link_Close();
    log_->record("end");
    frmStatus.destroy();
    frmSplash.destroy();
}

void Program::SplashTimer_Timer() {
    frmSplash().Hide();
    frmSplash().SplashTimer.enabled.set(0);
    frmMain().Show();
}

void Program::splashDismissed() {
    frmSplash.destroy();
    // Without this the main window would stay hidden with no way for the user to reach it.
    if (frmMain.exists()) frmMain().Show();
}

void Program::butRUNTIME_Click() { frmStatus().Show(); }

void Program::frmStatus_Unload() { state.refreshNow = true; }

void Program::butUPDATEMETAR_Click() { state.metarTicks = state.metarPeriodTicks; }

}  // namespace stratocue::app
