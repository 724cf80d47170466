#pragma once

// Small POSIX helpers shared by the link's posix platform and the stand-in simulator's
// server. Only for UNIX builds.

#include <sys/un.h>

#include <chrono>
#include <optional>
#include <string>

namespace stratocue::simlink {

// Owns one descriptor and closes it when it goes; -1 holds none. Moves, never copies.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { reset(); }

    [[nodiscard]] int get() const { return fd_; }
    [[nodiscard]] bool valid() const { return fd_ >= 0; }
    // Closes the descriptor held, if any, and holds `fd` instead.
    void reset(int fd = -1);
    // Gives up the descriptor without closing it.
    [[nodiscard]] int release();

private:
    int fd_ = -1;
};

// Whole milliseconds left until `deadline`, rounded up, for poll(): 0 once it has passed,
// at most 1,000,000.
[[nodiscard]] int millisecondsUntil(std::chrono::steady_clock::time_point deadline);

// The Unix-domain socket address of `path`; nothing when the path is too long for one.
[[nodiscard]] std::optional<sockaddr_un> unixSocketAddress(const std::string& path);

}  // namespace stratocue::simlink
