#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "simlink/link.h"
#include "simlink/posix_platform.h"
#include "simlink/posix_socket.h"
#include "simlink/posix_wire.h"
#include "tests/simlink/ipc_platform_contract.h"
#include "tests/support/temp_folder.h"

namespace stratocue::simlink {
namespace {

// A mapping name no other test process uses.
std::string uniqueMappingName(std::string_view purpose) {
    return "stratocue-test:" + std::string(purpose) + ":" + std::to_string(::getpid());
}

bool sharedMemoryExists(const std::string& mappingName) {
    const int fd = ::shm_open(("/" + mappingName).c_str(), O_RDONLY, 0);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

// Sets an environment variable for one scope and puts back what was there before.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        const char* old = std::getenv(name);
        if (old != nullptr) old_ = old;
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(PosixPlatform, SocketFolderIsASetting) {
    struct Case {
        const char* name;
        const char* value;  // null: not set
        std::string folder;
    };
    const Case cases[] = {
        {"NotSet", nullptr, "/tmp"},
        {"Empty", "", "/tmp"},
        {"Set", "/run/user/1000/stratocue", "/run/user/1000/stratocue"},
    };
    for (const Case& c : cases) {
        const ScopedEnvironment environment("STRATOCUE_LINK_DIR", c.value);
        EXPECT_EQ(linkSocketFolder(), c.folder) << c.name;
    }
}

TEST(PosixPlatform, DefaultPlatformLooksInTheSocketFolder) {
    const test_support::TempFolder folder;
    const ScopedEnvironment environment("STRATOCUE_LINK_DIR", folder.path().c_str());
    // A listening socket where the setting says: the window is found there.
    const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(server, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = ipcSocketPath(folder.path().string(), kServerClass);
    ASSERT_LT(path.size(), sizeof(address.sun_path));
    path.copy(address.sun_path, path.size());
    ASSERT_EQ(::bind(server, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::listen(server, 4), 0);
    {
        PosixIpcPlatform platform;
        EXPECT_NE(platform.findWindow(kServerClass), 0U);
    }
    ::close(server);
}

TEST(PosixPlatform, NoSocketMeansNoWindowWithTheReason) {
    const test_support::TempFolder folder;
    PosixIpcPlatform platform(folder.path().string());
    EXPECT_EQ(platform.findWindow(kServerClass), 0U);
    EXPECT_EQ(platform.lastError(), static_cast<std::uint32_t>(ENOENT));
}

TEST(PosixPlatform, AtomsComeFromTheObjectsTableAndAreFreedAfterTheirLastDelete) {
    PosixIpcPlatform platform;
    const Atom first = platform.addAtom("one");
    const Atom second = platform.addAtom("two");
    EXPECT_EQ(first, 0xC000);
    EXPECT_EQ(second, 0xC001);
    EXPECT_EQ(platform.addAtom("one"), first);  // counted, like the system's atoms
    platform.deleteAtom(first);
    platform.deleteAtom(first);
    EXPECT_EQ(platform.addAtom("three"), first);  // freed after its last delete
}

TEST(PosixPlatform, MappingNamesThatCannotBeSharedMemoryNamesFail) {
    PosixIpcPlatform platform;
    EXPECT_EQ(platform.createFileMapping("a/b", 16), 0U);
    EXPECT_NE(platform.lastError(), 0U);
}

TEST(PosixPlatform, ASecondPlatformSeesTheMappingAsExistingAndOnlyItsCreatorRemovesIt) {
    const std::string name = uniqueMappingName("mapping");
    PosixIpcPlatform creator;
    const MappingHandle created = creator.createFileMapping(name, static_cast<std::uint32_t>(kBlockBytes));
    ASSERT_NE(created, 0U);
    PosixIpcPlatform second;
    const MappingHandle existing = second.createFileMapping(name, static_cast<std::uint32_t>(kBlockBytes));
    EXPECT_NE(existing, 0U);
    EXPECT_EQ(second.lastError(), IpcPlatform::kErrorAlreadyExists);
    second.closeHandle(existing);
    EXPECT_TRUE(sharedMemoryExists(name));  // not its creator
    creator.closeHandle(created);
    EXPECT_FALSE(sharedMemoryExists(name));
}

// A server "window": a listening socket served by a thread of its own, answering every
// request frame with one reply, or holding it unanswered while hung.
class SocketServer {
public:
    SocketServer(const std::string& path, std::uint32_t reply, bool hung) : path_(path), reply_(reply), hung_(hung) {
        listener_.reset(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        const std::optional<sockaddr_un> address = unixSocketAddress(path);
        if (!address || ::bind(listener_.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof(*address)) != 0 ||
            ::listen(listener_.get(), 16) != 0 || ::pipe2(stopPipe_.data(), O_CLOEXEC) != 0) {
            throw std::runtime_error("cannot listen at " + path);
        }
        thread_ = std::thread([this] { serve(); });
    }
    SocketServer(const SocketServer&) = delete;
    SocketServer& operator=(const SocketServer&) = delete;
    ~SocketServer() {
        (void)::write(stopPipe_[1], "x", 1);
        thread_.join();
        ::close(stopPipe_[0]);
        ::close(stopPipe_[1]);
        ::unlink(path_.c_str());
    }

    [[nodiscard]] std::string atomNameSeen() {
        const std::lock_guard lock(mutex_);
        return atomNameSeen_;
    }
    [[nodiscard]] int framesSeen() {
        const std::lock_guard lock(mutex_);
        return framesSeen_;
    }

private:
    void serve() {
        std::vector<FileDescriptor> held;
        for (;;) {
            std::array<pollfd, 2> watched{pollfd{stopPipe_[0], POLLIN, 0}, pollfd{listener_.get(), POLLIN, 0}};
            if (::poll(watched.data(), watched.size(), -1) < 0 && errno != EINTR) return;
            if (watched[0].revents != 0) return;
            if (watched[1].revents == 0) continue;
            FileDescriptor connection(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
            std::vector<std::byte> frame(kIpcFrameHeaderBytes);
            // A connection that ends before a whole frame is a client looking for the window.
            if (!receive(connection.get(), frame)) continue;
            const std::optional<std::size_t> nameBytes = ipcAtomNameBytes(frame);
            if (!nameBytes) continue;
            frame.resize(kIpcFrameHeaderBytes + *nameBytes);
            if (!receive(connection.get(), std::span(frame).subspan(kIpcFrameHeaderBytes))) continue;
            if (const auto request = decodeIpcRequestFrame(frame)) {
                const std::lock_guard lock(mutex_);
                atomNameSeen_ = request->atomName;
                ++framesSeen_;
            }
            if (hung_) {
                held.push_back(std::move(connection));
                continue;
            }
            const auto replyBytes = encodeIpcReply(reply_);
            (void)::send(connection.get(), replyBytes.data(), replyBytes.size(), MSG_NOSIGNAL);
        }
    }
    static bool receive(int fd, std::span<std::byte> bytes) {
        while (!bytes.empty()) {
            const ssize_t received = ::recv(fd, bytes.data(), bytes.size(), 0);
            if (received <= 0) return false;
            bytes = bytes.subspan(static_cast<std::size_t>(received));
        }
        return true;
    }

    std::string path_;
    std::uint32_t reply_;
    bool hung_;
    FileDescriptor listener_;
    std::array<int, 2> stopPipe_{-1, -1};
    std::mutex mutex_;
    std::string atomNameSeen_;
    int framesSeen_ = 0;
    std::thread thread_;
};

TEST(PosixPlatform, AHungServerTimesOutAtOnceUntilItAnswersOrGoes) {
    const test_support::TempFolder folder;
    PosixIpcPlatform platform(folder.path().string());
    auto server = std::make_unique<SocketServer>(ipcSocketPath(folder.path().string(), kServerClass), 1, true);
    const WindowHandle window = platform.findWindow(kServerClass);
    ASSERT_NE(window, 0U);
    const std::uint32_t message = platform.registerWindowMessage(kMessageName);
    std::uint32_t reply = 0;
    EXPECT_FALSE(platform.sendMessageTimeout(window, message, 0, 0, 50, reply));
    // The first request is still unanswered: the next send does not wait its minute out.
    EXPECT_FALSE(platform.sendMessageTimeout(window, message, 0, 0, 60'000, reply));
    EXPECT_EQ(platform.lastError(), 0U);
    EXPECT_EQ(server->framesSeen(), 1);
    // The server goes, dropping the request it held: the next send tries again and fails.
    server.reset();
    EXPECT_FALSE(platform.sendMessageTimeout(window, message, 0, 0, 60'000, reply));
    EXPECT_NE(platform.lastError(), 0U);
}

class PosixHarness {
public:
    IpcPlatform& platform() { return platform_; }
    [[nodiscard]] std::string serverClass() const { return std::string(kServerClass); }
    void startServer(std::uint32_t reply, bool hung) {
        server_ = std::make_unique<SocketServer>(ipcSocketPath(folder_.path().string(), kServerClass), reply, hung);
    }
    void removeServer() { server_.reset(); }
    [[nodiscard]] std::string atomNameSeen() const { return server_ ? server_->atomNameSeen() : std::string(); }
    [[nodiscard]] static bool mappingExists(const std::string& name) { return sharedMemoryExists(name); }

private:
    test_support::TempFolder folder_;
    PosixIpcPlatform platform_{folder_.path().string()};
    std::unique_ptr<SocketServer> server_;
};

}  // namespace

namespace contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Posix, IpcPlatformContract, PosixHarness);
}  // namespace contract

}  // namespace stratocue::simlink
