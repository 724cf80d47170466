#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "simlink/ipc_platform.h"

namespace stratocue::simlink {

// The link's services on Windows: each call forwards to the Windows service of the same
// name. The one translation: a send that timed out reports lastError 0, as every platform
// of the link does, so that the link tells a time-out (code 11) from a failed send (code 12).
// Holds nothing of its own; the link releases what it obtained.
class Win32IpcPlatform final : public IpcPlatform {
public:
    Win32IpcPlatform() = default;
    Win32IpcPlatform(const Win32IpcPlatform&) = delete;
    Win32IpcPlatform& operator=(const Win32IpcPlatform&) = delete;
    ~Win32IpcPlatform() override = default;

    // FindWindowExA(nullptr, nullptr, className, nullptr).
    WindowHandle findWindow(std::string_view className) override;
    // IsWindow.
    bool isWindow(WindowHandle window) override;
    // SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kProbeTimeoutMs) succeeded.
    bool answering(WindowHandle window) override;
    // RegisterWindowMessageA.
    std::uint32_t registerWindowMessage(std::string_view name) override;
    // GetCurrentProcessId.
    std::uint32_t currentProcessId() override;
    // GlobalAddAtomA / GlobalDeleteAtom.
    Atom addAtom(std::string_view name) override;
    void deleteAtom(Atom atom) override;
    // CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeBytes, name).
    MappingHandle createFileMapping(std::string_view name, std::uint32_t sizeBytes) override;
    // MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0); the span covers the mapped region.
    std::span<std::byte> mapView(MappingHandle mapping) override;
    // UnmapViewOfFile / CloseHandle.
    void unmapView(std::span<std::byte> view) override;
    void closeHandle(MappingHandle mapping) override;
    // GetLastError as it stood right after the last call above.
    std::uint32_t lastError() override;
    // SendMessageTimeoutA(window, message, wParam, lParam, SMTO_BLOCK | SMTO_ABORTIFHUNG,
    // timeoutMs, &reply): a window whose thread has stopped answering fails at once.
    bool sendMessageTimeout(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                            std::uint32_t timeoutMs, std::uint32_t& reply) override;
    // Sleep.
    void sleep(std::uint32_t milliseconds) override;

private:
    std::uint32_t lastError_ = 0;
};

}  // namespace stratocue::simlink
