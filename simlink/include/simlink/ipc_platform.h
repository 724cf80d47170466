#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace stratocue::simlink {

using WindowHandle = std::uintptr_t;   // 0 = none
using MappingHandle = std::uintptr_t;  // 0 = none
using Atom = std::uint16_t;            // 0 = none

// The operating-system services the link needs, one call for each Windows service it
// names, so that the win32 platform is a thin forwarder and the others (posix, the test
// fake) behave the same way from the link's point of view.
class IpcPlatform {
public:
    virtual ~IpcPlatform() = default;

    static constexpr std::uint32_t kErrorAlreadyExists = 183;

    // FindWindowExA(nullptr, nullptr, className, nullptr): the top-level window of that
    // class, 0 when there is none.
    virtual WindowHandle findWindow(std::string_view className) = 0;
    // IsWindow: whether a window found earlier still exists, answered without waiting for
    // it. A platform that cannot tell says it does, so the link keeps retrying its sends.
    virtual bool isWindow(WindowHandle window) { return window != 0; }
    // Whether the window's thread answers a message now, asked in a way that cannot hold
    // the caller longer than kProbeTimeoutMs (SendMessageTimeoutA(WM_NULL) with
    // SMTO_ABORTIFHUNG). A platform that cannot tell says it answers while it exists.
    virtual bool answering(WindowHandle window) { return isWindow(window); }
    static constexpr std::uint32_t kProbeTimeoutMs = 50;
    // RegisterWindowMessageA: a message number for the name, 0 on failure.
    virtual std::uint32_t registerWindowMessage(std::string_view name) = 0;
    virtual std::uint32_t currentProcessId() = 0;
    // GlobalAddAtomA / GlobalDeleteAtom.
    virtual Atom addAtom(std::string_view name) = 0;
    virtual void deleteAtom(Atom atom) = 0;
    // CreateFileMappingA backed by the paging file, read-write: 0 on failure. When a
    // mapping of that name already exists, a handle is returned and lastError() reports
    // kErrorAlreadyExists.
    virtual MappingHandle createFileMapping(std::string_view name, std::uint32_t sizeBytes) = 0;
    // MapViewOfFile(FILE_MAP_WRITE) of the whole mapping; empty on failure.
    virtual std::span<std::byte> mapView(MappingHandle mapping) = 0;
    virtual void unmapView(std::span<std::byte> view) = 0;
    virtual void closeHandle(MappingHandle mapping) = 0;
    // GetLastError of the last call above.
    virtual std::uint32_t lastError() = 0;
    // SendMessageTimeoutA with SMTO_BLOCK | SMTO_ABORTIFHUNG: false when the send failed or
    // timed out (at once when the window's thread has stopped answering); otherwise true
    // with the window procedure's result in `reply`.
    virtual bool sendMessageTimeout(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam, std::uint32_t timeoutMs, std::uint32_t& reply) = 0;
    virtual void sleep(std::uint32_t milliseconds) = 0;
};

}  // namespace stratocue::simlink
