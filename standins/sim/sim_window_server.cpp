// standin-sim.exe's transport: the hidden server window, its message loop and the three
// ways to stop it (WM_CLOSE, a console event, the run time).
#include "standins/sim/sim_window_server.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <iostream>
#include <string>
#include <utility>

#include "simlink/link.h"
#include "standins/sim/shared_block.h"

namespace stratocue::standins {

namespace {

constexpr auto kSlowReplyDelay = std::chrono::milliseconds(2500);

// The console's stop handler runs on a thread of its own and gets no context; it finds the
// server through an event named after the process.
std::string stopEventName(DWORD processId) { return "stratocue-standin-sim-stop-" + std::to_string(processId); }

BOOL WINAPI onConsoleStop(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
        return FALSE;
    }
    const HANDLE stop = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, stopEventName(::GetCurrentProcessId()).c_str());
    if (stop != nullptr) {
        ::SetEvent(stop);
        ::CloseHandle(stop);
    }
    return TRUE;
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* server = reinterpret_cast<SimWindowServer*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (server == nullptr) {
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    return server->handleMessage(window, message, wParam, lParam);
}

}  // namespace

SimWindowServer::SimWindowServer(SimOptions options, std::vector<FlightPoint> flight, std::ostream* log)
    : options_(options),
      session_(std::move(options), std::move(flight), log),
      stopAt_(options_.runSeconds ? Clock::now() + std::chrono::seconds(*options_.runSeconds)
                                  : Clock::time_point::max()) {}

SimWindowServer::~SimWindowServer() {
    if (window_ != nullptr) {
        ::SetWindowLongPtrA(static_cast<HWND>(window_), GWLP_USERDATA, 0);
        ::DestroyWindow(static_cast<HWND>(window_));
    }
    if (classRegistered_) {
        ::UnregisterClassA(options_.windowClass.c_str(), ::GetModuleHandleA(nullptr));
    }
    ::SetConsoleCtrlHandler(onConsoleStop, FALSE);
    if (stopEvent_ != nullptr) {
        ::CloseHandle(stopEvent_);
    }
}

int SimWindowServer::run() {
    if (!setUp()) {
        return 1;
    }
    pumpUntil(stopAt_);
    return 0;
}

bool SimWindowServer::setUp() {
    stopEvent_ = ::CreateEventA(nullptr, TRUE, FALSE, stopEventName(::GetCurrentProcessId()).c_str());
    if (stopEvent_ == nullptr || !::SetConsoleCtrlHandler(onConsoleStop, TRUE)) {
        std::cerr << "standin-sim: cannot watch for Ctrl+C: error " << ::GetLastError() << '\n';
        return false;
    }
    const std::string& windowClass = options_.windowClass;
    if (::FindWindowExA(nullptr, nullptr, windowClass.c_str(), nullptr) != nullptr) {
        std::cerr << "standin-sim: another server has a window of class " << windowClass << '\n';
        return false;
    }
    ipcMessage_ = ::RegisterWindowMessageA(std::string(simlink::kMessageName).c_str());
    if (ipcMessage_ == 0) {
        std::cerr << "standin-sim: cannot register the message: error " << ::GetLastError() << '\n';
        return false;
    }

    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA description{};
    description.lpfnWndProc = windowProcedure;
    description.hInstance = instance;
    description.lpszClassName = windowClass.c_str();
    classRegistered_ = ::RegisterClassA(&description) != 0;
    if (!classRegistered_) {
        std::cerr << "standin-sim: cannot register window class " << windowClass << ": error " << ::GetLastError()
                  << '\n';
        return false;
    }
    // Top-level and never shown: a message-only window would be invisible to FindWindowExA.
    window_ = ::CreateWindowExA(0, windowClass.c_str(), "standin-sim", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                                instance, this);
    if (window_ == nullptr) {
        std::cerr << "standin-sim: cannot create the window: error " << ::GetLastError() << '\n';
        return false;
    }
    std::cout << "standin-sim: serving window class " << windowClass << std::endl;
    return true;
}

std::intptr_t SimWindowServer::handleMessage(void* window, std::uint32_t message, std::uintptr_t wParam,
                                             std::intptr_t lParam) {
    if (message == ipcMessage_ && ipcMessage_ != 0) {
        const std::uint32_t reply = serveRequest(wParam);
        switch (options_.fault) {
            case SimFault::NoAnswer:
                pumpUntil(Clock::time_point::max());  // held until the server stops
                return 0;
            case SimFault::Slow:
                pumpUntil(std::min(Clock::now() + kSlowReplyDelay, stopAt_));
                break;
            case SimFault::Reply:  // the session gave the configured reply
            case SimFault::None:
                break;
        }
        return reply;
    }
    if (message == WM_CLOSE) {
        stopping_ = true;  // the window goes when the outermost message loop ends
        return 0;
    }
    return ::DefWindowProcA(static_cast<HWND>(window), message, wParam, lParam);
}

std::uint32_t SimWindowServer::serveRequest(std::uintptr_t atom) {
    std::array<char, 256> name{};
    const UINT length = ::GlobalGetAtomNameA(static_cast<ATOM>(atom), name.data(), static_cast<int>(name.size()));
    if (length == 0) {
        return session_.serve({});
    }
    const SharedBlock block(std::string_view(name.data(), length));
    return session_.serve(block.bytes());
}

void SimWindowServer::pumpUntil(Clock::time_point deadline) {
    deadline = std::min(deadline, stopAt_);
    const HANDLE stop = stopEvent_;
    while (!stopping_) {
        MSG message{};
        while (!stopping_ && ::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        if (stopping_) {
            return;
        }
        DWORD waitMs = INFINITE;
        if (deadline != Clock::time_point::max()) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) {
                return;
            }
            waitMs = static_cast<DWORD>(std::min<decltype(left)>(left, INFINITE - 1));
        }
        const DWORD woke = ::MsgWaitForMultipleObjectsEx(1, &stop, waitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0) {
            stopping_ = true;
        }
    }
}

}  // namespace stratocue::standins
