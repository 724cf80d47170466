#include "simlink/posix_socket.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace stratocue::simlink {

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
}

void FileDescriptor::reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
}

int FileDescriptor::release() {
    const int held = fd_;
    fd_ = -1;
    return held;
}

int millisecondsUntil(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    return static_cast<int>(std::clamp<decltype(left)>(left, 0, 1'000'000));
}

std::optional<sockaddr_un> unixSocketAddress(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) return std::nullopt;
    std::copy(path.begin(), path.end(), address.sun_path);
    return address;
}

}  // namespace stratocue::simlink
