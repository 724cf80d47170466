#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "standins/server/offset_space.h"
#include "standins/server/request_block.h"
#include "standins/sim/flight_path.h"
#include "standins/sim/sim_options.h"

namespace stratocue::standins {

// The stand-in simulator's server: listens on the socket of its window class, serves one
// request at a time from a client's shared block, keeps position and clock up to date and
// logs what clients write. Runs until SIGINT or SIGTERM.
class SimServer {
public:
    // `log` may be null (no log); it must outlive the server.
    SimServer(SimOptions options, std::vector<FlightPoint> flight, std::ostream* log);
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;
    // Closes every connection and removes the socket file.
    ~SimServer();

    // Serves until a stop signal; 0 after a clean stop, 1 when the socket cannot be set up.
    int run();

private:
    enum class Wait { Ready, TimedOut, Stop };

    bool setUp();
    void acceptClient();
    void serveRequest(int connection);
    void dropFinishedHeldConnections(std::span<const short> events);
    Wait waitReadable(int fd, std::chrono::steady_clock::time_point deadline);
    bool readExactly(int fd, std::span<std::byte> bytes, std::chrono::steady_clock::time_point deadline);
    void refreshOffsets();
    void logWrite(const WriteNotice& write);
    [[nodiscard]] double secondsSinceStart() const;

    SimOptions options_;
    std::vector<FlightPoint> flight_;
    std::ostream* log_;
    OffsetSpace space_;
    std::chrono::steady_clock::time_point start_;
    std::int64_t startSecondOfDay_ = 0;
    std::string socketPath_;
    int signalFd_ = -1;
    int listenFd_ = -1;
    bool socketBound_ = false;
    std::vector<int> heldConnections_;  // requests left unanswered on purpose
    bool stopping_ = false;
};

}  // namespace stratocue::standins
