#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "simlink/ipc_platform.h"
#include "simlink/posix_socket.h"

namespace stratocue::simlink {

// The folder of the servers' sockets on this machine: the environment variable
// STRATOCUE_LINK_DIR when it is set and not empty, else /tmp (as standin-sim's --socket-dir).
[[nodiscard]] std::string linkSocketFolder();

// The link's services on Linux. A server "window" of class C is the Unix-domain socket
// "<socketFolder>/stratocue-C.sock"; a message is one connection carrying one request frame
// (posix_wire.h) and answered by a 4-byte reply; a mapping is a POSIX shared-memory object
// named "/" + the mapping name (its ':' kept). Atoms and registered messages live in this
// object's own tables; each send carries the atom's name, since the server cannot look it up.
// Not for use by more than one thread at a time.
class PosixIpcPlatform final : public IpcPlatform {
public:
    explicit PosixIpcPlatform(std::string socketFolder = linkSocketFolder());
    PosixIpcPlatform(const PosixIpcPlatform&) = delete;
    PosixIpcPlatform& operator=(const PosixIpcPlatform&) = delete;
    // Unmaps the views and closes the mappings still held; unlinks those it created.
    ~PosixIpcPlatform() override;

    // A non-zero handle for the class when its socket accepts a connection; 0 otherwise.
    WindowHandle findWindow(std::string_view className) override;
    // Whether the socket of the window's class still accepts a connection; never waits.
    bool isWindow(WindowHandle window) override;
    // Whether the socket still accepts a connection and the server has answered (or
    // dropped) the send that timed out, if one did; polls without waiting.
    bool answering(WindowHandle window) override;
    // 0xC000 + the name's place in this object's table.
    std::uint32_t registerWindowMessage(std::string_view name) override;
    std::uint32_t currentProcessId() override;
    // Atoms from 0xC000 up, counted per name like the system's; 0 when the table is full.
    Atom addAtom(std::string_view name) override;
    void deleteAtom(Atom atom) override;
    // shm_open with O_EXCL; an existing object is opened instead, with lastError 183.
    MappingHandle createFileMapping(std::string_view name, std::uint32_t sizeBytes) override;
    std::span<std::byte> mapView(MappingHandle mapping) override;
    void unmapView(std::span<std::byte> view) override;
    // Closes the object; unlinks its name only when this object created it.
    void closeHandle(MappingHandle mapping) override;
    std::uint32_t lastError() override;
    // Connects, sends one frame and waits up to timeoutMs for the reply. A time-out gives
    // false with lastError 0; a connection or I/O failure false with lastError = errno.
    // A connection that timed out is kept until the server answers or drops it; until
    // then the server counts as hung and each send to it times out at once, as Windows
    // does for a window whose thread has stopped answering.
    bool sendMessageTimeout(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                            std::uint32_t timeoutMs, std::uint32_t& reply) override;
    void sleep(std::uint32_t milliseconds) override;

private:
    struct Mapping {
        int fd = -1;
        std::uint32_t sizeBytes = 0;
        std::string sharedMemoryName;
        bool created = false;
    };
    struct AtomEntry {
        std::string name;
        int references = 0;
    };

    std::string socketFolder_;
    std::vector<std::string> windowClasses_;  // window handle = place + 1
    std::vector<std::string> messageNames_;   // message number = 0xC000 + place
    std::map<Atom, AtomEntry> atoms_;
    std::map<MappingHandle, Mapping> mappings_;
    std::map<std::byte*, std::size_t> views_;
    std::map<WindowHandle, FileDescriptor> unanswered_;  // a timed-out send per window
    MappingHandle nextMapping_ = 1;
    std::uint32_t lastError_ = 0;
};

}  // namespace stratocue::simlink
