// The link's services on Linux: Unix-domain sockets for the server window and its
// message, POSIX shared memory for the mapping. All of the program's Linux calls live here.
#include "simlink/posix_platform.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "simlink/posix_socket.h"
#include "simlink/posix_wire.h"

namespace stratocue::simlink {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kFirstTableNumber = 0xC000;
constexpr std::uint32_t kErrorInvalidWindowHandle = 1400;

enum class Outcome { Done, TimedOut, Failed };

// Waits until `fd` shows `events` or the deadline passes.
Outcome waitFor(int fd, short events, Clock::time_point deadline, int& error) {
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, millisecondsUntil(deadline));
        if (ready > 0) {
            return Outcome::Done;  // errors and hang-ups show in the next read or write
        }
        if (ready == 0) {
            return Outcome::TimedOut;
        }
        if (errno != EINTR) {
            error = errno;
            return Outcome::Failed;
        }
    }
}

// Connects a non-blocking stream socket to the Unix-domain socket at `path`.
Outcome connectTo(int fd, const std::string& path, Clock::time_point deadline, int& error) {
    const std::optional<sockaddr_un> address = unixSocketAddress(path);
    if (!address) {
        error = ENAMETOOLONG;
        return Outcome::Failed;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof(*address)) == 0) {
        return Outcome::Done;
    }
    if (errno != EINPROGRESS && errno != EINTR) {
        error = errno;
        return Outcome::Failed;
    }
    const Outcome waited = waitFor(fd, POLLOUT, deadline, error);
    if (waited != Outcome::Done) {
        return waited;
    }
    int socketError = 0;
    socklen_t length = sizeof(socketError);
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &socketError, &length) != 0 || socketError != 0) {
        error = socketError != 0 ? socketError : errno;
        return Outcome::Failed;
    }
    return Outcome::Done;
}

Outcome sendAll(int fd, std::span<const std::byte> bytes, Clock::time_point deadline, int& error) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(sent));
            continue;
        }
        if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            error = errno;
            return Outcome::Failed;
        }
        const Outcome waited = waitFor(fd, POLLOUT, deadline, error);
        if (waited != Outcome::Done) {
            return waited;
        }
    }
    return Outcome::Done;
}

Outcome receiveExactly(int fd, std::span<std::byte> bytes, Clock::time_point deadline, int& error) {
    while (!bytes.empty()) {
        const ssize_t received = ::recv(fd, bytes.data(), bytes.size(), 0);
        if (received > 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(received));
            continue;
        }
        if (received == 0) {
            error = ECONNRESET;  // the server hung up before answering
            return Outcome::Failed;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            error = errno;
            return Outcome::Failed;
        }
        const Outcome waited = waitFor(fd, POLLIN, deadline, error);
        if (waited != Outcome::Done) {
            return waited;
        }
    }
    return Outcome::Done;
}

int openStreamSocket() { return ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0); }

// Whether a server listens at `path`: one connection attempt that never waits (a Unix-domain
// connect completes or fails at once). A full backlog still means a server is there.
bool listening(const std::string& path, std::uint32_t& lastError) {
    const FileDescriptor probe(openStreamSocket());
    if (probe.get() < 0) {
        lastError = static_cast<std::uint32_t>(errno);
        return false;
    }
    int error = 0;
    const Outcome connected = connectTo(probe.get(), path, Clock::now(), error);
    if (connected == Outcome::Failed && error != EAGAIN) {
        lastError = static_cast<std::uint32_t>(error);
        return false;
    }
    lastError = 0;
    return true;
}

// Whether the server has answered, or dropped, a connection it left waiting.
bool answeredOrDropped(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, 0) != 0;
}

}  // namespace

std::string linkSocketFolder() {
    const char* folder = std::getenv("STRATOCUE_LINK_DIR");
    return folder != nullptr && *folder != '\0' ? std::string(folder) : std::string("/tmp");
}

PosixIpcPlatform::PosixIpcPlatform(std::string socketFolder) : socketFolder_(std::move(socketFolder)) {}

PosixIpcPlatform::~PosixIpcPlatform() {
    for (const auto& [base, sizeBytes] : views_) {
        ::munmap(base, sizeBytes);
    }
    for (const auto& [handle, mapping] : mappings_) {
        ::close(mapping.fd);
        if (mapping.created) {
            ::shm_unlink(mapping.sharedMemoryName.c_str());
        }
    }
}

WindowHandle PosixIpcPlatform::findWindow(std::string_view className) {
    if (!listening(ipcSocketPath(socketFolder_, className), lastError_)) {
        return 0;
    }
    const auto known = std::find(windowClasses_.begin(), windowClasses_.end(), className);
    if (known != windowClasses_.end()) {
        return static_cast<WindowHandle>(known - windowClasses_.begin()) + 1;
    }
    windowClasses_.emplace_back(className);
    return windowClasses_.size();
}

bool PosixIpcPlatform::isWindow(WindowHandle window) {
    if (window == 0 || window > windowClasses_.size()) {
        lastError_ = kErrorInvalidWindowHandle;
        return false;
    }
    return listening(ipcSocketPath(socketFolder_, windowClasses_[window - 1]), lastError_);
}

bool PosixIpcPlatform::answering(WindowHandle window) {
    if (!isWindow(window)) return false;
    const auto waiting = unanswered_.find(window);
    if (waiting == unanswered_.end()) return true;
    if (!answeredOrDropped(waiting->second.get())) return false;
    unanswered_.erase(waiting);
    return true;
}

std::uint32_t PosixIpcPlatform::registerWindowMessage(std::string_view name) {
    lastError_ = 0;
    auto known = std::find(messageNames_.begin(), messageNames_.end(), name);
    if (known == messageNames_.end()) {
        messageNames_.emplace_back(name);
        known = messageNames_.end() - 1;
    }
    return kFirstTableNumber + static_cast<std::uint32_t>(known - messageNames_.begin());
}

std::uint32_t PosixIpcPlatform::currentProcessId() { return static_cast<std::uint32_t>(::getpid()); }

Atom PosixIpcPlatform::addAtom(std::string_view name) {
    for (auto& [atom, entry] : atoms_) {
        if (entry.name == name) {
            ++entry.references;
            lastError_ = 0;
            return atom;
        }
    }
    for (std::uint32_t number = kFirstTableNumber; number <= 0xFFFF; ++number) {
        const auto atom = static_cast<Atom>(number);
        if (atoms_.find(atom) == atoms_.end()) {
            atoms_.emplace(atom, AtomEntry{std::string(name), 1});
            lastError_ = 0;
            return atom;
        }
    }
    lastError_ = static_cast<std::uint32_t>(ENOSPC);
    return 0;
}

void PosixIpcPlatform::deleteAtom(Atom atom) {
    const auto entry = atoms_.find(atom);
    if (entry != atoms_.end() && --entry->second.references == 0) {
        atoms_.erase(entry);
    }
    lastError_ = 0;
}

MappingHandle PosixIpcPlatform::createFileMapping(std::string_view name, std::uint32_t sizeBytes) {
    const std::optional<std::string> sharedMemoryName = ipcSharedMemoryName(name);
    if (!sharedMemoryName) {
        lastError_ = static_cast<std::uint32_t>(EINVAL);
        return 0;
    }
    Mapping mapping{-1, sizeBytes, *sharedMemoryName, true};
    mapping.fd = ::shm_open(sharedMemoryName->c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (mapping.fd < 0 && errno == EEXIST) {
        mapping.created = false;
        mapping.fd = ::shm_open(sharedMemoryName->c_str(), O_RDWR | O_CLOEXEC, 0);
    }
    if (mapping.fd < 0) {
        lastError_ = static_cast<std::uint32_t>(errno);
        return 0;
    }
    if (mapping.created && ::ftruncate(mapping.fd, static_cast<off_t>(sizeBytes)) != 0) {
        lastError_ = static_cast<std::uint32_t>(errno);
        ::close(mapping.fd);
        ::shm_unlink(sharedMemoryName->c_str());
        return 0;
    }
    const MappingHandle handle = nextMapping_++;
    const bool created = mapping.created;
    mappings_.emplace(handle, std::move(mapping));
    lastError_ = created ? 0 : kErrorAlreadyExists;
    return handle;
}

std::span<std::byte> PosixIpcPlatform::mapView(MappingHandle mapping) {
    const auto found = mappings_.find(mapping);
    if (found == mappings_.end()) {
        lastError_ = static_cast<std::uint32_t>(EBADF);
        return {};
    }
    const Mapping& entry = found->second;
    struct stat status {};
    if (::fstat(entry.fd, &status) != 0) {
        lastError_ = static_cast<std::uint32_t>(errno);
        return {};
    }
    if (status.st_size < static_cast<off_t>(entry.sizeBytes) || entry.sizeBytes == 0) {
        lastError_ = static_cast<std::uint32_t>(EINVAL);  // touching past its end would fault
        return {};
    }
    void* base = ::mmap(nullptr, entry.sizeBytes, PROT_READ | PROT_WRITE, MAP_SHARED, entry.fd, 0);
    if (base == MAP_FAILED) {
        lastError_ = static_cast<std::uint32_t>(errno);
        return {};
    }
    lastError_ = 0;
    const std::span<std::byte> view(static_cast<std::byte*>(base), entry.sizeBytes);
    views_.emplace(view.data(), view.size());
    return view;
}

void PosixIpcPlatform::unmapView(std::span<std::byte> view) {
    const auto found = views_.find(view.data());
    if (found == views_.end()) {
        lastError_ = static_cast<std::uint32_t>(EINVAL);
        return;
    }
    ::munmap(found->first, found->second);
    views_.erase(found);
    lastError_ = 0;
}

void PosixIpcPlatform::closeHandle(MappingHandle mapping) {
    const auto found = mappings_.find(mapping);
    if (found == mappings_.end()) {
        lastError_ = static_cast<std::uint32_t>(EBADF);
        return;
    }
    ::close(found->second.fd);
    if (found->second.created) {
        ::shm_unlink(found->second.sharedMemoryName.c_str());
    }
    mappings_.erase(found);
    lastError_ = 0;
}

std::uint32_t PosixIpcPlatform::lastError() { return lastError_; }

bool PosixIpcPlatform::sendMessageTimeout(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                          std::intptr_t lParam, std::uint32_t timeoutMs, std::uint32_t& reply) {
    if (window == 0 || window > windowClasses_.size()) {
        lastError_ = kErrorInvalidWindowHandle;
        return false;
    }
    if (const auto waiting = unanswered_.find(window); waiting != unanswered_.end()) {
        if (!answeredOrDropped(waiting->second.get())) {
            lastError_ = 0;  // still hung: timed out at once
            return false;
        }
        unanswered_.erase(waiting);
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    IpcRequestFrame frame{message, static_cast<std::uint64_t>(wParam), static_cast<std::int64_t>(lParam), {}};
    if (const auto atom = atoms_.find(static_cast<Atom>(wParam)); atom != atoms_.end()) {
        frame.atomName = atom->second.name;
    }

    FileDescriptor connection(openStreamSocket());
    if (connection.get() < 0) {
        lastError_ = static_cast<std::uint32_t>(errno);
        return false;
    }
    int error = 0;
    std::array<std::byte, kIpcReplyBytes> replyBytes{};
    Outcome outcome =
        connectTo(connection.get(), ipcSocketPath(socketFolder_, windowClasses_[window - 1]), deadline, error);
    if (outcome == Outcome::Done) {
        outcome = sendAll(connection.get(), encodeIpcRequestFrame(frame), deadline, error);
    }
    if (outcome == Outcome::Done) {
        outcome = receiveExactly(connection.get(), replyBytes, deadline, error);
    }
    switch (outcome) {
        case Outcome::Done:
            reply = decodeIpcReply(replyBytes);
            lastError_ = 0;
            return true;
        case Outcome::TimedOut:
            unanswered_.insert_or_assign(window, std::move(connection));
            lastError_ = 0;
            return false;
        case Outcome::Failed:
            break;
    }
    lastError_ = error != 0 ? static_cast<std::uint32_t>(error) : static_cast<std::uint32_t>(EIO);
    return false;
}

void PosixIpcPlatform::sleep(std::uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace stratocue::simlink
