// The link's services on Windows. All of the link's Windows calls live here.
#include "simlink/win32_platform.h"

#include <windows.h>

#include <string>

namespace stratocue::simlink {

namespace {

HWND toWindow(WindowHandle window) { return reinterpret_cast<HWND>(window); }
HANDLE toHandle(MappingHandle mapping) { return reinterpret_cast<HANDLE>(mapping); }

// Runs one system call with the last error cleared first, so that `lastError` holds what
// this call set (many calls leave it untouched on success) and never an earlier value.
template <class Call>
auto tracked(std::uint32_t& lastError, Call call) {
    ::SetLastError(ERROR_SUCCESS);
    const auto result = call();
    lastError = ::GetLastError();
    return result;
}

}  // namespace

WindowHandle Win32IpcPlatform::findWindow(std::string_view className) {
    const std::string name(className);  // the system wants a zero-ended name
    const HWND window = tracked(lastError_, [&] { return ::FindWindowExA(nullptr, nullptr, name.c_str(), nullptr); });
    return reinterpret_cast<WindowHandle>(window);
}

bool Win32IpcPlatform::isWindow(WindowHandle window) {
    return tracked(lastError_, [&] { return ::IsWindow(toWindow(window)); }) != FALSE;
}

bool Win32IpcPlatform::answering(WindowHandle window) {
    // A window Windows already calls hung fails at once; one not yet so marked (the first
    // 5 s of a hang) holds this probe for its short time-out only.
    DWORD_PTR result = 0;
    return tracked(lastError_, [&] {
               return ::SendMessageTimeoutA(toWindow(window), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kProbeTimeoutMs,
                                            &result);
           }) != 0;
}

std::uint32_t Win32IpcPlatform::registerWindowMessage(std::string_view name) {
    const std::string messageName(name);
    return tracked(lastError_, [&] { return ::RegisterWindowMessageA(messageName.c_str()); });
}

std::uint32_t Win32IpcPlatform::currentProcessId() { return ::GetCurrentProcessId(); }

Atom Win32IpcPlatform::addAtom(std::string_view name) {
    const std::string atomName(name);
    return tracked(lastError_, [&] { return ::GlobalAddAtomA(atomName.c_str()); });
}

void Win32IpcPlatform::deleteAtom(Atom atom) {
    tracked(lastError_, [&] { return ::GlobalDeleteAtom(atom); });
}

MappingHandle Win32IpcPlatform::createFileMapping(std::string_view name, std::uint32_t sizeBytes) {
    // On success the last error is ERROR_ALREADY_EXISTS when the name was taken already.
    const std::string mappingName(name);
    const HANDLE mapping = tracked(lastError_, [&] {
        return ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeBytes, mappingName.c_str());
    });
    return reinterpret_cast<MappingHandle>(mapping);
}

std::span<std::byte> Win32IpcPlatform::mapView(MappingHandle mapping) {
    void* const base = tracked(lastError_, [&] { return ::MapViewOfFile(toHandle(mapping), FILE_MAP_WRITE, 0, 0, 0); });
    if (base == nullptr) {
        return {};
    }
    // The view covers the whole mapping, rounded up to whole pages; its region says how far.
    MEMORY_BASIC_INFORMATION region{};
    if (tracked(lastError_, [&] { return ::VirtualQuery(base, &region, sizeof(region)); }) == 0) {
        ::UnmapViewOfFile(base);
        return {};
    }
    return {static_cast<std::byte*>(base), region.RegionSize};
}

void Win32IpcPlatform::unmapView(std::span<std::byte> view) {
    tracked(lastError_, [&] { return ::UnmapViewOfFile(view.data()); });
}

void Win32IpcPlatform::closeHandle(MappingHandle mapping) {
    tracked(lastError_, [&] { return ::CloseHandle(toHandle(mapping)); });
}

std::uint32_t Win32IpcPlatform::lastError() { return lastError_; }

bool Win32IpcPlatform::sendMessageTimeout(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                          std::intptr_t lParam, std::uint32_t timeoutMs, std::uint32_t& reply) {
    DWORD_PTR result = 0;
    const LRESULT sent = tracked(lastError_, [&] {
        return ::SendMessageTimeoutA(toWindow(window), message, wParam, lParam, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                                     timeoutMs, &result);
    });
    if (sent == 0) {
        // Windows XP and later report a time-out as ERROR_TIMEOUT, earlier systems as 0,
        // which is what the link takes for a time-out.
        if (lastError_ == ERROR_TIMEOUT) {
            lastError_ = ERROR_SUCCESS;
        }
        return false;
    }
    reply = static_cast<std::uint32_t>(result);
    return true;
}

void Win32IpcPlatform::sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

}  // namespace stratocue::simlink
