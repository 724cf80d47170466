#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "simlink/link.h"
#include "simlink/posix_platform.h"
#include "simlink/posix_wire.h"
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

TEST(PosixPlatform, NoSocketMeansNoWindow) {
    const test_support::TempFolder folder;
    PosixIpcPlatform platform(folder.path().string());
    EXPECT_EQ(platform.findWindow(kServerClass), 0U);
    EXPECT_NE(platform.lastError(), 0U);
    Link link(platform);
    link.Link_Init();
    std::int32_t code = -1;
    EXPECT_FALSE(link.Link_Open(0, code));
    EXPECT_EQ(code, kNoServer);
}

TEST(PosixPlatform, MessagesAndAtomsComeFromTheObjectsTables) {
    PosixIpcPlatform platform;
    const std::uint32_t message = platform.registerWindowMessage(kMessageName);
    EXPECT_GE(message, 0xC000U);
    EXPECT_EQ(platform.registerWindowMessage(kMessageName), message);
    EXPECT_NE(platform.registerWindowMessage("other"), message);

    const Atom first = platform.addAtom("one");
    const Atom second = platform.addAtom("two");
    EXPECT_EQ(first, 0xC000);
    EXPECT_EQ(second, 0xC001);
    EXPECT_EQ(platform.addAtom("one"), first);  // counted, like the system's atoms
    platform.deleteAtom(first);
    platform.deleteAtom(first);
    EXPECT_EQ(platform.addAtom("three"), first);  // freed after its last delete
}

TEST(PosixPlatform, MappingCreatedOnceAndRemovedByItsCreator) {
    const std::string name = uniqueMappingName("mapping");
    PosixIpcPlatform creator;
    const MappingHandle created = creator.createFileMapping(name, static_cast<std::uint32_t>(kBlockBytes));
    ASSERT_NE(created, 0U);
    EXPECT_EQ(creator.lastError(), 0U);

    PosixIpcPlatform second;
    const MappingHandle existing = second.createFileMapping(name, static_cast<std::uint32_t>(kBlockBytes));
    EXPECT_NE(existing, 0U);
    EXPECT_EQ(second.lastError(), IpcPlatform::kErrorAlreadyExists);

    // Both views show the same memory.
    const std::span<std::byte> creatorView = creator.mapView(created);
    const std::span<std::byte> secondView = second.mapView(existing);
    ASSERT_EQ(creatorView.size(), kBlockBytes);
    ASSERT_EQ(secondView.size(), kBlockBytes);
    writeLe32(creatorView, 100, 0x12345678);
    EXPECT_EQ(readLe32(secondView, 100), 0x12345678);
    second.unmapView(secondView);
    creator.unmapView(creatorView);

    second.closeHandle(existing);
    EXPECT_TRUE(sharedMemoryExists(name));  // not its creator
    creator.closeHandle(created);
    EXPECT_FALSE(sharedMemoryExists(name));
}

TEST(PosixPlatform, BadMappingNamesAndHandlesFail) {
    PosixIpcPlatform platform;
    EXPECT_EQ(platform.createFileMapping("a/b", 16), 0U);
    EXPECT_NE(platform.lastError(), 0U);
    EXPECT_TRUE(platform.mapView(12345).empty());
    EXPECT_NE(platform.lastError(), 0U);
    std::uint32_t reply = 0;
    EXPECT_FALSE(platform.sendMessageTimeout(7, 0xC000, 0, 0, 10, reply));
    EXPECT_NE(platform.lastError(), 0U);
}

}  // namespace
}  // namespace stratocue::simlink
