#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "app/fd_read.h"
#include "app/metar_requests.h"
#include "app/program_state.h"
#include "eventlog/event_log.h"
#include "fdwinds/fd_winds.h"
#include "inject/random_source.h"
#include "inject/weather_ramp.h"
#include "simlink/ipc_platform.h"
#include "simlink/link.h"
#include "stations/station_tables.h"
#include "ui/form_slot.h"
#include "ui/frm_main.h"
#include "ui/frm_splash.h"
#include "ui/frm_status.h"
#include "ui/message_box.h"
#include "web/http_transfer.h"
#include "web/server_addresses.h"

namespace stratocue::app {

// What the program needs from its surroundings: the simulator link's platform, the HTTP
// transfer component, modal message boxes, and the folder holding the station files.
struct Environment {
    simlink::IpcPlatform& ipc;
    web::HttpTransfer& Inet1;
    ui::MessageBoxes& messageBoxes;
    std::filesystem::path workingFolder;
    // Random numbers for the weather writers; a clock-seeded generator when not given.
    inject::RandomSource* randomSource = nullptr;
    // The real time that paces smoothed weather changes; the steady clock when not given.
    std::function<std::chrono::steady_clock::time_point()> clock = nullptr;
    // The folder whose stratocue.ini keeps the main window's settings between runs (the
    // program's own: the station files' folder); none, as in the tests: always the defaults.
    std::optional<std::filesystem::path> settingsFolder = std::nullopt;
    // Where the program tells what it fetched, applied and failed; nothing is kept when not
    // given.
    eventlog::EventLog* eventLog = nullptr;
};

// The running program: its state, its three windows and the link, with the start-up, the
// shutdown paths, the window events and the main cycle. The program (Qt or headless) and
// the tests drive it through the windows' events.
class Program {
public:
    explicit Program(Environment environment);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program();

    // Start-up: opens the link, loads the station files, shows the splash window; on
    // failure tells the user and takes every window down again.
    void Main();

    // True while any of the three windows exists; the process ends when none is left.
    [[nodiscard]] bool anyWindowLeft() const;

    // The user closes the main window with its close box. Refused, with a message, while a
    // transfer runs; otherwise the window is destroyed and the program shuts down.
    void closeMainWindow();

    // The program is asked to end (SIGINT, SIGTERM): a running transfer is cancelled, and
    // the End Program action runs as soon as the program's code has returned to the event
    // loop (at once when it is idle), so the link is always closed. Until then nothing new
    // starts: no tick, no download, no write into the simulator.
    void endOnSignal();

    // Runs at the end of every tick of the main cycle (the headless program prints then).
    std::function<void()> afterTick;
    // The program's log: every part may add an event line to it.
    [[nodiscard]] eventlog::EventLog& eventLog() { return *log_; }
    // How many ticks of the main cycle have run.
    [[nodiscard]] int tickCount() const { return tickCount_; }

    // The aircraft position of the last tick, in radians.
    [[nodiscard]] double aircraftLatitude() const { return aircraftLatitude_; }
    [[nodiscard]] double aircraftLongitude() const { return aircraftLongitude_; }

    ProgramState state;
    stations::StationTables stations;
    fdwinds::FdWinds FdWinds;
    ServerAddresses servers;
    simlink::Link link;
    ui::FormSlot<ui::FrmMain> frmMain;
    ui::FormSlot<ui::FrmStatus> frmStatus;
    ui::FormSlot<ui::FrmSplash> frmSplash;

private:
    void wireMain(ui::FrmMain& form);
    void wireStatus(ui::FrmStatus& form);
    void wireSplash(ui::FrmSplash& form);
    // Runs one event of the windows (or the start-up); a requested end follows once the
    // outermost event has returned.
    void runEvent(const std::function<void()>& handler);
    [[nodiscard]] std::function<void()> asEvent(std::function<void()> handler);
    void endIfRequested();

    // Start-up and shutdown
    void startUp();
    void frmMainCloseBox();
    void butOK_Click();
    // The main window's settings saved beside the station files, for the next start.
    void keepSettings();
    void frmMain_Unload();
    void destroyAllWindows();
    // Splash hand-over
    void SplashTimer_Timer();
    void splashDismissed();
    // Status window
    void butRUNTIME_Click();
    void frmStatus_Unload();
    void butUPDATEMETAR_Click();
    // Main cycle
    void Timer1_Timer();
    void runTick();
    // After a failed exchange: when a server is there again, opens the link anew quietly
    // and shows the outcome in the main window's caption.
    void findSimulatorAgain();
    void showLinkState(std::int32_t code);
    // Reads and shows the fourteen values; true when the position and the altitude were read.
    [[nodiscard]] bool readSimulatorValues();
    void afterReadings();
    // A tick without a position: the refresh counters go on, so that a refresh falling due
    // meanwhile runs in the first tick with a position.
    void countWhileDown();
    // Station tracking and the refresh schedules
    void forceCheck();
    void showChosenStation(std::int16_t closestIndex, double closestDistance);
    // Below 2500 ft above the station: applies the surface weather once, on descending
    // through that height, and gives true; above it, false and nothing done.
    [[nodiscard]] bool surfaceLayerCase(std::int16_t& closestIndex, double altitudeMetres,
                                        std::int16_t elevationMetres);
    void surfaceAltitudeCase(std::int16_t& closestIndex, double altitudeMetres, std::int16_t elevationMetres);
    void windsAloftAltitudeCase(std::int16_t& closestIndex, double altitudeMetres, std::int16_t elevationMetres);
    [[nodiscard]] bool metarSchedule(std::int16_t& closestIndex);
    void windsAloftSchedule(std::int16_t& closestIndex, bool stationChanged);
    // A simulator found again starts with its own weather: takes the altitude, then the
    // METAR and winds aloft in hand go back in once; with the altitude taken, no altitude
    // case fires in that tick.
    void reapplyWeather(std::int16_t& closestIndex, double altitudeMetres);
    // The end of a tick: smoothed weather changes move on by the real time since the last
    // tick, at most one timer interval, so ticks that were skipped only delay them.
    void stepWeatherRamp();
    void takeAltitude(double altitudeMetres);
    [[nodiscard]] std::int16_t stationElevation(std::int16_t index) const;
    // The station whose report is in use: the neighbour that gave it, else the chosen one.
    [[nodiscard]] std::int16_t reportStation(std::int16_t closestIndex) const;
    // The workers, with what they read from the windows
    [[nodiscard]] MetarRequestContext metarContext();
    [[nodiscard]] FdReadContext fdContext();
    [[nodiscard]] MetarReadResult METAR_Read(std::int16_t& tempIndex);
    void METAR_Set(std::int16_t& tempIndex);
    void FD_Read(std::int16_t& index);
    void FD_Set(std::int16_t& row, std::int16_t& index);

    Environment environment_;
    // The forecast model's last answer, so that a refresh never asks twice for one place and hour.
    GfsAnswerMemo gfsMemo_;
    std::unique_ptr<inject::RandomSource> ownRandom_;
    inject::RandomSource* random_ = nullptr;
    eventlog::SilentEventLog silentLog_;
    eventlog::EventLog* log_ = nullptr;
    bool tickRunning_ = false;
    int eventDepth_ = 0;
    bool endRequested_ = false;
    int tickCount_ = 0;
    bool weatherToReapply_ = false;
    inject::WeatherRamp weatherRamp_{link};
    std::optional<std::chrono::steady_clock::time_point> lastRampStep_;
    double aircraftLatitude_ = 0.0;
    double aircraftLongitude_ = 0.0;
};

}  // namespace stratocue::app
