// The win32 platform against the system's own services, in one process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <future>
#include <string>
#include <thread>

#include "simlink/link.h"
#include "simlink/win32_platform.h"

namespace stratocue::simlink {
namespace {

// A name no other test process uses.
std::string uniqueName(std::string_view purpose) {
    return "stratocue-test:" + std::string(purpose) + ":" + std::to_string(::GetCurrentProcessId());
}

// A top-level window on a thread of its own whose procedure answers every message of
// `message` with `reply`, after `release` is set when `holdUntilReleased` is true.
class AnsweringWindow {
public:
    AnsweringWindow(std::uint32_t message, LRESULT reply, bool holdUntilReleased)
        : className_(uniqueName("window")),
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
    [[nodiscard]] const std::string& className() const { return className_; }
    void release() { ::SetEvent(release_); }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
        }
        const auto* self = reinterpret_cast<const AnsweringWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self != nullptr && message == self->message_) {
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
    std::thread thread_;
};

TEST(Win32Platform, WindowsAreFoundByTheirClass) {
    Win32IpcPlatform platform;
    EXPECT_EQ(platform.findWindow(uniqueName("no-such-class")), 0U);
    const AnsweringWindow server(WM_USER, 1, false);
    ASSERT_NE(server.window(), nullptr);
    EXPECT_EQ(platform.findWindow(server.className()), reinterpret_cast<WindowHandle>(server.window()));
}

TEST(Win32Platform, MessagesAndAtomsAreTheSystems) {
    Win32IpcPlatform platform;
    const std::uint32_t message = platform.registerWindowMessage(kMessageName);
    EXPECT_GE(message, 0xC000U);
    EXPECT_EQ(platform.registerWindowMessage(kMessageName), message);
    EXPECT_NE(platform.registerWindowMessage(uniqueName("other")), message);

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

TEST(Win32Platform, MappingCreatedOnceThenReportedAsExisting) {
    const std::string name = uniqueName("mapping");
    Win32IpcPlatform creator;
    const MappingHandle created = creator.createFileMapping(name, static_cast<std::uint32_t>(kBlockBytes));
    ASSERT_NE(created, 0U);
    EXPECT_EQ(creator.lastError(), 0U);

    Win32IpcPlatform second;
    const MappingHandle existing = second.createFileMapping(name, static_cast<std::uint32_t>(kBlockBytes));
    EXPECT_NE(existing, 0U);
    EXPECT_EQ(second.lastError(), IpcPlatform::kErrorAlreadyExists);

    // Both views show the same memory.
    const std::span<std::byte> creatorView = creator.mapView(created);
    const std::span<std::byte> secondView = second.mapView(existing);
    ASSERT_GE(creatorView.size(), kBlockBytes);
    ASSERT_GE(secondView.size(), kBlockBytes);
    writeLe32(creatorView, 100, 0x12345678);
    EXPECT_EQ(readLe32(secondView, 100), 0x12345678);
    second.unmapView(secondView);
    creator.unmapView(creatorView);
    second.closeHandle(existing);
    creator.closeHandle(created);

    // With the last handle closed the name is free again.
    EXPECT_EQ(::OpenFileMappingA(FILE_MAP_WRITE, FALSE, name.c_str()), nullptr);
}

TEST(Win32Platform, BadHandlesFail) {
    Win32IpcPlatform platform;
    EXPECT_TRUE(platform.mapView(0x12345).empty());
    EXPECT_NE(platform.lastError(), 0U);
    std::uint32_t reply = 0;
    EXPECT_FALSE(platform.sendMessageTimeout(0x12345, 0xC000, 0, 0, 10, reply));
    EXPECT_EQ(platform.lastError(), static_cast<std::uint32_t>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST(Win32Platform, SendGivesTheWindowProceduresResult) {
    Win32IpcPlatform platform;
    const std::uint32_t message = platform.registerWindowMessage(kMessageName);
    const AnsweringWindow server(message, 7, false);
    ASSERT_NE(server.window(), nullptr);
    std::uint32_t reply = 0;
    ASSERT_TRUE(platform.sendMessageTimeout(reinterpret_cast<WindowHandle>(server.window()), message, 0xC123, 0,
                                            kSendTimeoutMs, reply));
    EXPECT_EQ(reply, 7U);
    EXPECT_EQ(platform.lastError(), 0U);
}

TEST(Win32Platform, TimedOutSendReportsNoError) {
    Win32IpcPlatform platform;
    const std::uint32_t message = platform.registerWindowMessage(kMessageName);
    AnsweringWindow server(message, 1, true);
    ASSERT_NE(server.window(), nullptr);
    std::uint32_t reply = 99;
    EXPECT_FALSE(
        platform.sendMessageTimeout(reinterpret_cast<WindowHandle>(server.window()), message, 0, 0, 50, reply));
    EXPECT_EQ(platform.lastError(), 0U);  // the system said ERROR_TIMEOUT
    EXPECT_EQ(reply, 99U);
    server.release();
}

}  // namespace
}  // namespace stratocue::simlink
