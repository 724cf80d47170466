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

#include "simlink/posix_wire.h"
#include "standins/sim/shared_block.h"
#include "standins/sim/sim_offsets.h"
#include "standins/sim/write_log.h"

namespace stratocue::standins {

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kFrameReadTime = std::chrono::milliseconds(2000);
constexpr auto kSlowReplyDelay = std::chrono::milliseconds(2500);
constexpr int kListenBacklog = 16;
constexpr std::int64_t kSecondsPerDay = 86400;

int remainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<decltype(left)>(left, 0, 1'000'000));
}

std::optional<sockaddr_un> socketAddress(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) {
        return std::nullopt;
    }
    std::copy(path.begin(), path.end(), address.sun_path);
    return address;
}

const sockaddr* asSocketAddress(const sockaddr_un& address) { return reinterpret_cast<const sockaddr*>(&address); }

// True when some server accepts connections at `address` already.
bool someoneListens(const sockaddr_un& address) {
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe < 0) {
        return false;
    }
    const bool accepted = ::connect(probe, asSocketAddress(address), sizeof(address)) == 0;
    ::close(probe);
    return accepted;
}

std::int64_t utcSecondOfDay() {
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch).count() % kSecondsPerDay;
}

}  // namespace

SimServer::SimServer(SimOptions options, std::vector<FlightPoint> flight, std::ostream* log)
    : options_(std::move(options)), flight_(std::move(flight)), log_(log), start_(Clock::now()) {
    startSecondOfDay_ = options_.clockSecondOfDay.value_or(utcSecondOfDay());
}

SimServer::~SimServer() {
    for (const int connection : heldConnections_) {
        ::close(connection);
    }
    if (listenFd_ >= 0) {
        ::close(listenFd_);
    }
    if (socketBound_) {
        ::unlink(socketPath_.c_str());
    }
    if (signalFd_ >= 0) {
        ::close(signalFd_);
    }
}

int SimServer::run() {
    if (!setUp()) {
        return 1;
    }
    while (!stopping_) {
        std::vector<pollfd> watched{{signalFd_, POLLIN, 0}, {listenFd_, POLLIN, 0}};
        for (const int connection : heldConnections_) {
            watched.push_back({connection, POLLIN, 0});
        }
        if (::poll(watched.data(), watched.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            std::cerr << "standin-sim: poll failed: " << std::strerror(errno) << '\n';
            return 1;
        }
        if (watched[0].revents != 0) {
            break;
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
    if (::sigprocmask(SIG_BLOCK, &stopSignals, nullptr) != 0 ||
        (signalFd_ = ::signalfd(-1, &stopSignals, SFD_CLOEXEC | SFD_NONBLOCK)) < 0) {
        std::cerr << "standin-sim: cannot watch signals: " << std::strerror(errno) << '\n';
        return false;
    }
    std::signal(SIGPIPE, SIG_IGN);

    socketPath_ = simlink::ipcSocketPath(options_.socketDir, options_.windowClass);
    const std::optional<sockaddr_un> address = socketAddress(socketPath_);
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
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listenFd_ < 0 || ::bind(listenFd_, asSocketAddress(*address), sizeof(*address)) != 0) {
        std::cerr << "standin-sim: cannot listen on " << socketPath_ << ": " << std::strerror(errno) << '\n';
        return false;
    }
    socketBound_ = true;
    if (::listen(listenFd_, kListenBacklog) != 0) {
        std::cerr << "standin-sim: cannot listen on " << socketPath_ << ": " << std::strerror(errno) << '\n';
        return false;
    }
    std::cout << "standin-sim: listening on " << socketPath_ << std::endl;
    return true;
}

void SimServer::acceptClient() {
    const int connection = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection >= 0) {
        serveRequest(connection);
    }
}

void SimServer::dropFinishedHeldConnections(std::span<const short> events) {
    std::vector<int> stillHeld;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const int connection = heldConnections_[i];
        std::array<std::byte, 64> ignored{};
        const bool finished = events[i] != 0 && ::recv(connection, ignored.data(), ignored.size(), MSG_DONTWAIT) <= 0;
        if (finished) {
            ::close(connection);
        } else {
            stillHeld.push_back(connection);
        }
    }
    heldConnections_ = std::move(stillHeld);
}

void SimServer::serveRequest(int connection) {
    const Clock::time_point deadline = Clock::now() + kFrameReadTime;
    std::vector<std::byte> frame(simlink::kIpcFrameHeaderBytes);
    // A connection that ends before a whole frame is a client looking for the window.
    if (!readExactly(connection, frame, deadline)) {
        ::close(connection);
        return;
    }
    const std::optional<std::size_t> nameBytes = simlink::ipcAtomNameBytes(frame);
    if (!nameBytes) {
        ::close(connection);
        return;
    }
    frame.resize(simlink::kIpcFrameHeaderBytes + *nameBytes);
    const std::optional<simlink::IpcRequestFrame> request =
        readExactly(connection, std::span(frame).subspan(simlink::kIpcFrameHeaderBytes), deadline)
            ? simlink::decodeIpcRequestFrame(frame)
            : std::nullopt;
    if (!request) {
        ::close(connection);
        return;
    }

    refreshOffsets();
    std::uint32_t reply = kReplyRefused;
    {
        const SharedBlock block(request->atomName);
        if (!block.bytes().empty()) {
            reply = processRequestBlock(block.bytes(), space_, [this](const WriteNotice& write) { logWrite(write); });
        }
    }
    switch (options_.fault) {
        case SimFault::NoAnswer:
            heldConnections_.push_back(connection);
            return;
        case SimFault::Slow:
            if (waitReadable(-1, Clock::now() + kSlowReplyDelay) == Wait::Stop) {
                ::close(connection);
                return;
            }
            break;
        case SimFault::Reply:
            reply = options_.faultReply;
            break;
        case SimFault::None:
            break;
    }
    const auto replyBytes = simlink::encodeIpcReply(reply);
    ::send(connection, replyBytes.data(), replyBytes.size(), MSG_NOSIGNAL);
    ::close(connection);
}

SimServer::Wait SimServer::waitReadable(int fd, Clock::time_point deadline) {
    for (;;) {
        std::array<pollfd, 2> watched{pollfd{signalFd_, POLLIN, 0}, pollfd{fd, POLLIN, 0}};
        const int ready = ::poll(watched.data(), fd >= 0 ? 2 : 1, remainingMs(deadline));
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

void SimServer::refreshOffsets() {
    const double elapsedSeconds = secondsSinceStart();
    space_.setLe32(kServerVersionOffset, options_.versionWord);
    space_.setLe32(kSimulatorWordOffset, options_.simulatorWord);
    if (!flight_.empty()) {
        writePosition(space_, positionAt(flight_, elapsedSeconds));
    }
    writeClock(space_, startSecondOfDay_ + static_cast<std::int64_t>(elapsedSeconds));
}

void SimServer::logWrite(const WriteNotice& write) {
    if (log_ == nullptr) {
        return;
    }
    const double elapsedSeconds = secondsSinceStart();
    *log_ << writeLogLine(elapsedSeconds, write.offset, write.bytes) << '\n';
    if (const std::optional<std::string> message = onScreenMessage(space_, write)) {
        *log_ << messageLogLine(elapsedSeconds, *message) << '\n';
    }
    log_->flush();
}

double SimServer::secondsSinceStart() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }

}  // namespace stratocue::standins
