#include "entry/windows_console.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace stratocue::entry {
namespace {

// Whether the handle leads to a file, pipe or console (a GUI program without redirection
// has none).
bool connected(DWORD standardHandle) {
    const HANDLE handle = GetStdHandle(standardHandle);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

bool standardErrorIsConnected() { return connected(STD_ERROR_HANDLE); }

ParentConsole::ParentConsole(WithoutParent withoutParent) {
    // Read before attaching: attaching may hand the console's handles to the empty slots.
    const bool outputRedirected = connected(STD_OUTPUT_HANDLE);
    const bool errorsRedirected = connected(STD_ERROR_HANDLE);
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);
    attached_ = AttachConsole(ATTACH_PARENT_PROCESS) != FALSE;
    if (!attached_ && withoutParent == WithoutParent::OpenOwn) {
        attached_ = AllocConsole() != FALSE;
        // The new console takes over the standard handles; redirected ones stay redirected.
        if (outputRedirected) SetStdHandle(STD_OUTPUT_HANDLE, output);
        if (errorsRedirected) SetStdHandle(STD_ERROR_HANDLE, errors);
    }
    if (attached_) {
        FILE* reopened = nullptr;
        if (!outputRedirected) reopened = std::freopen("CONOUT$", "w", stdout);
        if (!errorsRedirected) reopened = std::freopen("CONOUT$", "w", stderr);
        static_cast<void>(reopened);
        std::cout.clear();
        std::cerr.clear();
    }
    errorsReachSomeone_ = errorsRedirected || attached_;
    // A process started as a GUI program may have been told to ignore Ctrl+C (as by a new
    // process group); the headless mode ends on it, so it takes Ctrl+C again.
    SetConsoleCtrlHandler(nullptr, FALSE);
}

ParentConsole::~ParentConsole() {
    std::cout.flush();
    if (previousOutputCodePage_ != 0) SetConsoleOutputCP(previousOutputCodePage_);
    if (attached_) FreeConsole();
}

void ParentConsole::useUtf8Output() {
    const UINT current = GetConsoleOutputCP();  // 0 without a console
    if (current == 0 || current == CP_UTF8) return;
    if (SetConsoleOutputCP(CP_UTF8)) previousOutputCodePage_ = current;
}

void reportFatalError(std::string_view text, bool toStandardError) {
    const std::string message(text);
    if (toStandardError) {
        std::cerr << message << std::endl;
        return;
    }
    MessageBoxA(nullptr, message.c_str(), "Stratocue", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

}  // namespace stratocue::entry
