// The win32 platform against the system's own services, in one process: the link platform
// contract and what only the system's atom table shows.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "simlink/link.h"
#include "simlink/win32_platform.h"
#include "tests/simlink/ipc_platform_contract.h"

namespace stratocue::simlink {
namespace {

// A name no other test process uses.
std::string uniqueName(std::string_view purpose) {
    return "stratocue-test:" + std::string(purpose) + ":" + std::to_string(::GetCurrentProcessId());
}

// A top-level window of class `className` on a thread of its own whose procedure answers
// every message of `message` with `reply` (never, while hung), noting the name of the atom
// the message carries.
class AnsweringWindow {
public:
    AnsweringWindow(std::string className, std::uint32_t message, LRESULT reply, bool holdUntilReleased)
        : className_(std::move(className)),
          message_(message),
          reply_(reply),
          hold_(holdUntilReleased),
          release_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        std::promise<HWND> created;
        std::future<HWND> window = created.get_future();
        thread_ = std::thread([this, &created] { serve(created); });
        window_ = window.get();
    }
    AnsweringWindow(const AnsweringWindow&) = delete;
    AnsweringWindow& operator=(const AnsweringWindow&) = delete;
    ~AnsweringWindow() {
        release();
        if (window_ != nullptr) {
            ::PostMessageA(window_, WM_CLOSE, 0, 0);
        }
        thread_.join();
        ::CloseHandle(release_);
    }

    [[nodiscard]] HWND window() const { return window_; }
    void release() { ::SetEvent(release_); }
    [[nodiscard]] std::string atomNameSeen() const {
        const std::lock_guard lock(mutex_);
        return atomNameSeen_;
    }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
        }
        auto* self = reinterpret_cast<AnsweringWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self != nullptr && message == self->message_) {
            std::array<char, 64> name{};
            const UINT length =
                ::GlobalGetAtomNameA(static_cast<ATOM>(wParam), name.data(), static_cast<int>(name.size()));
            {
                const std::lock_guard lock(self->mutex_);
                self->atomNameSeen_.assign(name.data(), length);
            }
            if (self->hold_) {
                ::WaitForSingleObject(self->release_, INFINITE);
            }
            return self->reply_;
        }
        if (message == WM_CLOSE) {
            ::DestroyWindow(window);
            return 0;
        }
        if (message == WM_DESTROY) {
            ::PostQuitMessage(0);
            return 0;
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }

    void serve(std::promise<HWND>& created) {
        WNDCLASSA description{};
        description.lpfnWndProc = procedure;
        description.hInstance = ::GetModuleHandleA(nullptr);
        description.lpszClassName = className_.c_str();
        ::RegisterClassA(&description);
        const HWND window = ::CreateWindowExA(0, className_.c_str(), "", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                                              description.hInstance, this);
        created.set_value(window);
        if (window == nullptr) {
            return;
        }
        MSG message{};
        while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
            ::DispatchMessageA(&message);
        }
        ::UnregisterClassA(className_.c_str(), description.hInstance);
    }

    std::string className_;
    std::uint32_t message_;
    LRESULT reply_;
    bool hold_;
    HANDLE release_;
    HWND window_ = nullptr;
    mutable std::mutex mutex_;
    std::string atomNameSeen_;
    std::thread thread_;
};

TEST(Win32Platform, AtomsAreTheSystemsAndGoWithTheirLastDelete) {
    Win32IpcPlatform platform;
    const std::string name = mappingName(platform.currentProcessId());
    EXPECT_EQ(platform.currentProcessId(), ::GetCurrentProcessId());
    const Atom atom = platform.addAtom(name);
    ASSERT_GE(atom, 0xC000);
    std::array<char, 64> text{};
    ASSERT_EQ(::GlobalGetAtomNameA(atom, text.data(), static_cast<int>(text.size())), name.size());
    EXPECT_EQ(std::string(text.data()), name);
    EXPECT_EQ(platform.addAtom(name), atom);  // counted
    platform.deleteAtom(atom);
    EXPECT_EQ(::GlobalFindAtomA(name.c_str()), atom);
    platform.deleteAtom(atom);
    EXPECT_EQ(::GlobalFindAtomA(name.c_str()), 0);
}

class Win32Harness {
public:
    IpcPlatform& platform() { return platform_; }
    [[nodiscard]] std::string serverClass() const { return className_; }
    void startServer(std::uint32_t reply, bool hung) {
        server_ =
            std::make_unique<AnsweringWindow>(className_, platform_.registerWindowMessage(kMessageName), reply, hung);
    }
    void removeServer() { server_.reset(); }
    [[nodiscard]] std::string atomNameSeen() const { return server_ ? server_->atomNameSeen() : std::string(); }
    [[nodiscard]] static bool mappingExists(const std::string& name) {
        const HANDLE mapping = ::OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str());
        if (mapping == nullptr) return false;
        ::CloseHandle(mapping);
        return true;
    }

private:
    Win32IpcPlatform platform_;
    std::string className_ = uniqueName("window");
    std::unique_ptr<AnsweringWindow> server_;
};

}  // namespace

namespace contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, IpcPlatformContract, Win32Harness);
}  // namespace contract

}  // namespace stratocue::simlink
