#include "standins/sim/sim_server.h"

#include <poll.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <optional>

#include "simlink/posix_socket.h"
#include "simlink/posix_wire.h"
#include "standins/sim/shared_block.h"

namespace stratocue::standins {

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kFrameReadTime = std::chrono::milliseconds(2000);
constexpr auto kSlowReplyDelay = std::chrono::milliseconds(2500);
constexpr int kListenBacklog = 16;

const sockaddr* asSocketAddress(const sockaddr_un& address) { return reinterpret_cast<const sockaddr*>(&address); }

// True when some server accepts connections at `address` already.
bool someoneListens(const sockaddr_un& address) {
    const simlink::FileDescriptor probe(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    return probe.valid() && ::connect(probe.get(), asSocketAddress(address), sizeof(address)) == 0;
}

Clock::time_point stopTime(const SimOptions& options) {
    return options.runSeconds ? Clock::now() + std::chrono::seconds(*options.runSeconds) : Clock::time_point::max();
}

// The poll time-out until `stopAt`: -1 (none) without a run-time limit.
int pollTimeoutMs(Clock::time_point stopAt) {
    return stopAt == Clock::time_point::max() ? -1 : simlink::millisecondsUntil(stopAt);
}

}  // namespace

SimServer::SimServer(SimOptions options, std::vector<FlightPoint> flight, std::ostream* log)
    : options_(options), session_(std::move(options), std::move(flight), log), stopAt_(stopTime(options_)) {}

SimServer::~SimServer() {
    if (socketBound_) {
        ::unlink(socketPath_.c_str());
    }
}

int SimServer::run() {
    if (!setUp()) {
        return 1;
    }
    while (!stopping_) {
        std::vector<pollfd> watched{{signalFd_.get(), POLLIN, 0}, {listenFd_.get(), POLLIN, 0}};
        for (const simlink::FileDescriptor& connection : heldConnections_) {
            watched.push_back({connection.get(), POLLIN, 0});
        }
        const int ready = ::poll(watched.data(), watched.size(), pollTimeoutMs(stopAt_));
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            std::cerr << "standin-sim: poll failed: " << std::strerror(errno) << '\n';
            return 1;
        }
        if (ready == 0 || watched[0].revents != 0) {
            break;  // the run time is over, or a stop signal came
        }
        std::vector<short> heldEvents;
        for (std::size_t i = 2; i < watched.size(); ++i) {
            heldEvents.push_back(watched[i].revents);
        }
        dropFinishedHeldConnections(heldEvents);
        if ((watched[1].revents & POLLIN) != 0) {
            acceptClient();
        }
    }
    return 0;
}

bool SimServer::setUp() {
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    // Stop signals arrive through a descriptor that the loop polls; no handler runs.
    if (::sigprocmask(SIG_BLOCK, &stopSignals, nullptr) == 0) {
        signalFd_.reset(::signalfd(-1, &stopSignals, SFD_CLOEXEC | SFD_NONBLOCK));
    }
    if (!signalFd_.valid()) {
        std::cerr << "standin-sim: cannot watch signals: " << std::strerror(errno) << '\n';
        return false;
    }
    std::signal(SIGPIPE, SIG_IGN);

    socketPath_ = simlink::ipcSocketPath(options_.socketDir, options_.windowClass);
    const std::optional<sockaddr_un> address = simlink::unixSocketAddress(socketPath_);
    if (!address) {
        std::cerr << "standin-sim: socket path too long: " << socketPath_ << '\n';
        return false;
    }
    struct stat existing {};
    if (::lstat(socketPath_.c_str(), &existing) == 0) {
        if (someoneListens(*address)) {
            std::cerr << "standin-sim: another server is listening on " << socketPath_ << '\n';
            return false;
        }
        ::unlink(socketPath_.c_str());  // left behind by a server that did not stop cleanly
    }
    listenFd_.reset(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!listenFd_.valid() || ::bind(listenFd_.get(), asSocketAddress(*address), sizeof(*address)) != 0) {
        std::cerr << "standin-sim: cannot listen on " << socketPath_ << ": " << std::strerror(errno) << '\n';
        return false;
    }
    socketBound_ = true;
    if (::listen(listenFd_.get(), kListenBacklog) != 0) {
        std::cerr << "standin-sim: cannot listen on " << socketPath_ << ": " << std::strerror(errno) << '\n';
        return false;
    }
    std::cout << "standin-sim: listening on " << socketPath_ << std::endl;
    return true;
}

void SimServer::acceptClient() {
    simlink::FileDescriptor connection(::accept4(listenFd_.get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (connection.valid()) {
        serveRequest(std::move(connection));
    }
}

void SimServer::dropFinishedHeldConnections(std::span<const short> events) {
    std::vector<simlink::FileDescriptor> stillHeld;
    for (std::size_t i = 0; i < events.size(); ++i) {
        simlink::FileDescriptor& connection = heldConnections_[i];
        std::array<std::byte, 64> ignored{};
        const bool finished =
            events[i] != 0 && ::recv(connection.get(), ignored.data(), ignored.size(), MSG_DONTWAIT) <= 0;
        if (!finished) {
            stillHeld.push_back(std::move(connection));
        }
    }
    heldConnections_ = std::move(stillHeld);  // the finished ones close here
}

void SimServer::serveRequest(simlink::FileDescriptor connection) {
    const Clock::time_point deadline = Clock::now() + kFrameReadTime;
    std::vector<std::byte> frame(simlink::kIpcFrameHeaderBytes);
    // A connection that ends before a whole frame is a client looking for the window.
    if (!readExactly(connection.get(), frame, deadline)) {
        return;
    }
    const std::optional<std::size_t> nameBytes = simlink::ipcAtomNameBytes(frame);
    if (!nameBytes) {
        return;
    }
    frame.resize(simlink::kIpcFrameHeaderBytes + *nameBytes);
    const std::optional<simlink::IpcRequestFrame> request =
        readExactly(connection.get(), std::span(frame).subspan(simlink::kIpcFrameHeaderBytes), deadline)
            ? simlink::decodeIpcRequestFrame(frame)
            : std::nullopt;
    if (!request) {
        return;
    }

    std::uint32_t reply = kReplyRefused;
    {
        const SharedBlock block(request->atomName);
        reply = session_.serve(block.bytes());
    }
    switch (options_.fault) {
        case SimFault::NoAnswer:
            heldConnections_.push_back(std::move(connection));
            return;
        case SimFault::Slow:
            if (waitReadable(-1, Clock::now() + kSlowReplyDelay) == Wait::Stop) {
                return;
            }
            break;
        case SimFault::Reply:  // the session gave the configured reply
        case SimFault::None:
            break;
    }
    const auto replyBytes = simlink::encodeIpcReply(reply);
    ::send(connection.get(), replyBytes.data(), replyBytes.size(), MSG_NOSIGNAL);
}

SimServer::Wait SimServer::waitReadable(int fd, Clock::time_point deadline) {
    for (;;) {
        std::array<pollfd, 2> watched{pollfd{signalFd_.get(), POLLIN, 0}, pollfd{fd, POLLIN, 0}};
        const int ready = ::poll(watched.data(), fd >= 0 ? 2 : 1, simlink::millisecondsUntil(deadline));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0) {
            return Wait::TimedOut;
        }
        if (watched[0].revents != 0) {
            stopping_ = true;
            return Wait::Stop;
        }
        if (ready == 0) {
            return Wait::TimedOut;
        }
        return Wait::Ready;
    }
}

bool SimServer::readExactly(int fd, std::span<std::byte> bytes, Clock::time_point deadline) {
    while (!bytes.empty()) {
        if (waitReadable(fd, deadline) != Wait::Ready) {
            return false;
        }
        const ssize_t received = ::recv(fd, bytes.data(), bytes.size(), MSG_DONTWAIT);
        if (received == 0 || (received < 0 && errno != EAGAIN && errno != EINTR)) {
            return false;
        }
        if (received > 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(received));
        }
    }
    return true;
}

}  // namespace stratocue::standins
