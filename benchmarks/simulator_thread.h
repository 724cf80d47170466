#pragma once

#include <filesystem>
#include <memory>
#include <thread>

#include "standins/sim/sim_server.h"

namespace stratocue::benchmarks {

// A private folder under the system's temporary folder, removed with everything in it.
class TemporaryFolder {
public:
    TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    ~TemporaryFolder();

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The stand-in simulator's server on a thread of its own, listening in `socketFolder` and
// holding the aircraft over San Francisco. Constructed, it accepts connections; destroyed,
// it has stopped (by the stop signal it waits for, sent to its thread alone).
class SimulatorThread {
public:
    explicit SimulatorThread(const std::filesystem::path& socketFolder);
    SimulatorThread(const SimulatorThread&) = delete;
    SimulatorThread& operator=(const SimulatorThread&) = delete;
    ~SimulatorThread();

    // The socket that stands for the simulator's window.
    [[nodiscard]] const std::filesystem::path& socketPath() const { return socketPath_; }

private:
    std::filesystem::path socketPath_;
    std::unique_ptr<standins::SimServer> server_;
    std::thread serving_;
};

}  // namespace stratocue::benchmarks
