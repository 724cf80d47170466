#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <vector>

#include "standins/sim/flight_path.h"
#include "standins/sim/sim_options.h"
#include "standins/sim/sim_session.h"

namespace stratocue::standins {

// The stand-in simulator's Windows server: a hidden top-level window of the options' class
// that answers the link's registered message. The message's wParam is the client's atom,
// whose name is the name of the client's file mapping; the block in that mapping goes to the
// session (sim_session.h) and the window procedure's result is the reply. Runs until the
// window gets WM_CLOSE, the console gets Ctrl+C or Ctrl+Break or is closed, or the run
// time of the options is over.
class SimWindowServer {
public:
    // `log` may be null (no log); it must outlive the server.
    SimWindowServer(SimOptions options, std::vector<FlightPoint> flight, std::ostream* log);
    SimWindowServer(const SimWindowServer&) = delete;
    SimWindowServer& operator=(const SimWindowServer&) = delete;
    // Destroys the window and unregisters its class.
    ~SimWindowServer();

    // Serves until stopped; 0 after a clean stop, 1 when the window cannot be set up
    // (among others when a window of its class exists already).
    int run();

    // The window procedure's work; called only by the procedure of this server's window.
    [[nodiscard]] std::intptr_t handleMessage(void* window, std::uint32_t message, std::uintptr_t wParam,
                                              std::intptr_t lParam);

private:
    using Clock = std::chrono::steady_clock;

    bool setUp();
    // Dispatches messages, sent ones included, until the deadline, a stop request or the end
    // of the run time. Runs nested when a request is held (the slow and no-answer faults), so
    // that later requests, WM_CLOSE and Ctrl+C are still seen meanwhile.
    void pumpUntil(Clock::time_point deadline);
    [[nodiscard]] std::uint32_t serveRequest(std::uintptr_t atom);

    SimOptions options_;
    SimSession session_;
    Clock::time_point stopAt_;  // time_point::max() = no run-time limit
    void* stopEvent_ = nullptr;
    void* window_ = nullptr;
    bool classRegistered_ = false;
    std::uint32_t ipcMessage_ = 0;
    bool stopping_ = false;
};

}  // namespace stratocue::standins
