#include "simulator_thread.h"

#include <pthread.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <stdexcept>
#include <string>
#include <system_error>

#include "simlink/link.h"
#include "simlink/posix_wire.h"

namespace stratocue::benchmarks {
namespace {

constexpr auto kLongestStart = std::chrono::seconds(20);
constexpr auto kStartPollPause = std::chrono::milliseconds(2);

// True when a server accepts a connection on the socket.
bool accepting(const std::filesystem::path& socketPath) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = socketPath.string();
    if (path.size() >= sizeof(address.sun_path)) throw std::runtime_error("socket path too long: " + path);
    path.copy(address.sun_path, path.size());
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe < 0) return false;
    const bool connected = ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(probe);
    return connected;
}

}  // namespace

TemporaryFolder::TemporaryFolder() {
    std::string name = (std::filesystem::temp_directory_path() / "stratocue-bench.XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
    path_ = name;
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

SimulatorThread::SimulatorThread(const std::filesystem::path& socketFolder)
    : socketPath_(simlink::ipcSocketPath(socketFolder.string(), simlink::kServerClass)) {
    standins::SimOptions options;
    options.socketDir = socketFolder.string();
    // Over San Francisco at 3000 m, so the station search and the schedules see a real place.
    const std::vector<standins::FlightPoint> flight{{0, 37.6167, -122.3667, 3000}};
    server_ = std::make_unique<standins::SimServer>(options, flight, nullptr);
    serving_ = std::thread([this] { server_->run(); });
    // The server blocks the stop signal in its thread before it listens, so from here on
    // the signal cannot end the process.
    const auto deadline = std::chrono::steady_clock::now() + kLongestStart;
    while (!accepting(socketPath_)) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::pthread_kill(serving_.native_handle(), SIGTERM);
            serving_.join();
            throw std::runtime_error("the simulator thread does not listen on " + socketPath_.string());
        }
        std::this_thread::sleep_for(kStartPollPause);
    }
}

SimulatorThread::~SimulatorThread() {
    ::pthread_kill(serving_.native_handle(), SIGTERM);
    serving_.join();
}

}  // namespace stratocue::benchmarks
