#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "simlink/posix_socket.h"
#include "standins/sim/flight_path.h"
#include "standins/sim/sim_options.h"
#include "standins/sim/sim_session.h"

namespace stratocue::standins {

// The stand-in simulator's Linux server: listens on the socket of its window class and hands
// each request's shared block to its session (sim_session.h), one request at a time. Runs
// until SIGINT or SIGTERM, or until the run time of the options is over.
class SimServer {
public:
    // `log` may be null (no log); it must outlive the server.
    SimServer(SimOptions options, std::vector<FlightPoint> flight, std::ostream* log);
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;
    // Removes the socket file; the members close every connection.
    ~SimServer();

    // Serves until a stop signal or the end of the run time; 0 after a clean stop, 1 when the
    // socket cannot be set up.
    int run();

private:
    enum class Wait { Ready, TimedOut, Stop };

    bool setUp();
    void acceptClient();
    void serveRequest(simlink::FileDescriptor connection);
    void dropFinishedHeldConnections(std::span<const short> events);
    Wait waitReadable(int fd, std::chrono::steady_clock::time_point deadline);
    bool readExactly(int fd, std::span<std::byte> bytes, std::chrono::steady_clock::time_point deadline);

    SimOptions options_;
    SimSession session_;
    std::chrono::steady_clock::time_point stopAt_;  // time_point::max() = no run-time limit
    std::string socketPath_;
    simlink::FileDescriptor signalFd_;
    simlink::FileDescriptor listenFd_;
    bool socketBound_ = false;
    std::vector<simlink::FileDescriptor> heldConnections_;  // requests left unanswered on purpose
    bool stopping_ = false;
};

}  // namespace stratocue::standins
