#pragma once

// What every link platform promises the link, written once and run on each platform (the
// posix one, the win32 one under Wine, the in-process fake). Each platform's test file
// gives a harness with:
//   IpcPlatform& platform();
//   std::string serverClass();              a window class no other test uses
//   void startServer(std::uint32_t reply, bool hung);
//                                           a server window of that class answering every
//                                           message with `reply`, or never when hung
//   void removeServer();                    the server window is gone
//   std::string atomNameSeen();             the atom's name the server read from the last message
//   bool mappingExists(const std::string&); whether the system still holds that mapping
#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "simlink/ipc_platform.h"
#include "simlink/link.h"

namespace stratocue::simlink::contract {

// Forwards to a platform under test, with the server classes the link looks for taken to
// the harness's own class and the pauses skipped, so that the link runs against it as is.
class ServerClassRedirect final : public IpcPlatform {
public:
    ServerClassRedirect(IpcPlatform& platform, std::string serverClass)
        : platform_(platform), serverClass_(std::move(serverClass)) {}

    WindowHandle findWindow(std::string_view className) override {
        return className == kServerClass ? platform_.findWindow(serverClass_) : 0;
    }
    bool isWindow(WindowHandle window) override { return platform_.isWindow(window); }
    bool answering(WindowHandle window) override { return platform_.answering(window); }
    std::uint32_t registerWindowMessage(std::string_view name) override {
        return platform_.registerWindowMessage(name);
    }
    std::uint32_t currentProcessId() override { return platform_.currentProcessId(); }
    Atom addAtom(std::string_view name) override { return platform_.addAtom(name); }
    void deleteAtom(Atom atom) override { platform_.deleteAtom(atom); }
    MappingHandle createFileMapping(std::string_view name, std::uint32_t sizeBytes) override {
        return platform_.createFileMapping(name, sizeBytes);
    }
    std::span<std::byte> mapView(MappingHandle mapping) override { return platform_.mapView(mapping); }
    void unmapView(std::span<std::byte> view) override { platform_.unmapView(view); }
    void closeHandle(MappingHandle mapping) override { platform_.closeHandle(mapping); }
    std::uint32_t lastError() override { return platform_.lastError(); }
    bool sendMessageTimeout(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                            std::uint32_t timeoutMs, std::uint32_t& reply) override {
        return platform_.sendMessageTimeout(window, message, wParam, lParam, timeoutMs, reply);
    }
    void sleep(std::uint32_t) override {}

private:
    IpcPlatform& platform_;
    std::string serverClass_;
};

constexpr std::uint32_t kInvalidWindowHandleError = 1400;
constexpr std::uint32_t kShortTimeoutMs = 50;

template <class Harness>
class IpcPlatformContract : public ::testing::Test {
protected:
    Harness harness;
    IpcPlatform& platform_ = harness.platform();

    // A name no other test process uses.
    [[nodiscard]] std::string uniqueName(std::string_view purpose) {
        return "stratocue-test:" + std::string(purpose) + ":" + std::to_string(platform_.currentProcessId());
    }

    // What a client holds while it sends: an atom naming its block, and the block (empty).
    class ClientBlock {
    public:
        ClientBlock(IpcPlatform& platform, const std::string& name)
            : platform_(platform),
              atom_(platform.addAtom(name)),
              mapping_(platform.createFileMapping(name, static_cast<std::uint32_t>(kBlockBytes))),
              view_(platform.mapView(mapping_)) {}
        ClientBlock(const ClientBlock&) = delete;
        ClientBlock& operator=(const ClientBlock&) = delete;
        ~ClientBlock() {
            if (!view_.empty()) platform_.unmapView(view_);
            if (mapping_ != 0) platform_.closeHandle(mapping_);
            if (atom_ != 0) platform_.deleteAtom(atom_);
        }
        [[nodiscard]] Atom atom() const { return atom_; }

    private:
        IpcPlatform& platform_;
        Atom atom_;
        MappingHandle mapping_;
        std::span<std::byte> view_;
    };

    // Starts the harness's server and gives its window as the platform finds it.
    WindowHandle startedServerWindow(std::uint32_t reply, bool hung) {
        harness.startServer(reply, hung);
        return platform_.findWindow(harness.serverClass());
    }

    struct SendOutcome {
        bool sent = false;
        std::uint32_t lastError = 0;  // right after the send
    };
    // One send of the link's message to `window` carrying a client's block.
    SendOutcome sendOnce(WindowHandle window, std::uint32_t timeoutMs, std::uint32_t& reply) {
        const ClientBlock block(platform_, uniqueName("block"));
        const bool sent = platform_.sendMessageTimeout(window, platform_.registerWindowMessage(kMessageName),
                                                       block.atom(), 0, timeoutMs, reply);
        return {sent, platform_.lastError()};
    }
};

TYPED_TEST_SUITE_P(IpcPlatformContract);

TYPED_TEST_P(IpcPlatformContract, WindowsAreFoundByTheirClassOnlyWhileTheyExist) {
    IpcPlatform& platform = this->platform_;
    EXPECT_EQ(platform.findWindow(this->harness.serverClass()), 0U);
    const WindowHandle window = this->startedServerWindow(1, false);
    ASSERT_NE(window, 0U);
    EXPECT_TRUE(platform.isWindow(window));
    this->harness.removeServer();
    EXPECT_FALSE(platform.isWindow(window));
    EXPECT_EQ(platform.findWindow(this->harness.serverClass()), 0U);
}

TYPED_TEST_P(IpcPlatformContract, NoServerWindowMeansTheLinkCannotOpen) {
    ServerClassRedirect redirect(this->platform_, this->harness.serverClass());
    Link link(redirect);
    link.Link_Init();
    std::int32_t code = -1;
    EXPECT_FALSE(link.Link_Open(0, code));
    EXPECT_EQ(code, kNoServer);
}

TYPED_TEST_P(IpcPlatformContract, MessagesAreRegisteredOncePerName) {
    IpcPlatform& platform = this->platform_;
    const std::uint32_t message = platform.registerWindowMessage(kMessageName);
    EXPECT_GE(message, 0xC000U);
    EXPECT_EQ(platform.registerWindowMessage(kMessageName), message);
    EXPECT_NE(platform.registerWindowMessage(this->uniqueName("other")), message);
}

TYPED_TEST_P(IpcPlatformContract, AtomsAreCountedPerName) {
    IpcPlatform& platform = this->platform_;
    const std::string name = this->uniqueName("atom");
    const Atom atom = platform.addAtom(name);
    ASSERT_GE(atom, 0xC000);
    EXPECT_NE(platform.addAtom(this->uniqueName("other-atom")), atom);
    EXPECT_EQ(platform.addAtom(name), atom);
    platform.deleteAtom(atom);
    EXPECT_EQ(platform.addAtom(name), atom);  // one reference was still held
    platform.deleteAtom(atom);
    platform.deleteAtom(atom);
}

TYPED_TEST_P(IpcPlatformContract, MappingCreatedOnceThenReportedAsExistingAndSharedUntilTheLastClose) {
    IpcPlatform& platform = this->platform_;
    const std::string name = this->uniqueName("mapping");
    const MappingHandle created = platform.createFileMapping(name, static_cast<std::uint32_t>(kBlockBytes));
    ASSERT_NE(created, 0U);
    EXPECT_EQ(platform.lastError(), 0U);
    const MappingHandle existing = platform.createFileMapping(name, static_cast<std::uint32_t>(kBlockBytes));
    ASSERT_NE(existing, 0U);
    EXPECT_EQ(platform.lastError(), IpcPlatform::kErrorAlreadyExists);

    // Both views show the same memory.
    const std::span<std::byte> createdView = platform.mapView(created);
    const std::span<std::byte> existingView = platform.mapView(existing);
    ASSERT_GE(createdView.size(), kBlockBytes);
    ASSERT_GE(existingView.size(), kBlockBytes);
    writeLe32(createdView, 100, 0x12345678);
    EXPECT_EQ(readLe32(existingView, 100), 0x12345678);
    platform.unmapView(existingView);
    platform.unmapView(createdView);

    platform.closeHandle(existing);
    EXPECT_TRUE(this->harness.mappingExists(name));
    platform.closeHandle(created);
    EXPECT_FALSE(this->harness.mappingExists(name));
}

TYPED_TEST_P(IpcPlatformContract, BadHandlesFail) {
    IpcPlatform& platform = this->platform_;
    EXPECT_TRUE(platform.mapView(0x12345).empty());
    EXPECT_NE(platform.lastError(), 0U);
    std::uint32_t reply = 0;
    EXPECT_FALSE(platform.sendMessageTimeout(0x12345, 0xC000, 0, 0, kShortTimeoutMs, reply));
    EXPECT_EQ(platform.lastError(), kInvalidWindowHandleError);
}

TYPED_TEST_P(IpcPlatformContract, SendGivesTheServersReply) {
    const WindowHandle window = this->startedServerWindow(7, false);
    ASSERT_NE(window, 0U);
    std::uint32_t reply = 0;
    const auto outcome = this->sendOnce(window, kSendTimeoutMs, reply);
    EXPECT_TRUE(outcome.sent);
    EXPECT_EQ(outcome.lastError, 0U);
    EXPECT_EQ(reply, 7U);
    EXPECT_TRUE(this->platform_.answering(window));
}

TYPED_TEST_P(IpcPlatformContract, TimedOutSendReportsNoError) {
    const WindowHandle window = this->startedServerWindow(1, true);
    ASSERT_NE(window, 0U);
    std::uint32_t reply = 99;
    const auto outcome = this->sendOnce(window, kShortTimeoutMs, reply);
    EXPECT_FALSE(outcome.sent);
    EXPECT_EQ(outcome.lastError, 0U);
    EXPECT_EQ(reply, 99U);
}

TYPED_TEST_P(IpcPlatformContract, SendToAServerThatIsGoneFailsWithAnError) {
    IpcPlatform& platform = this->platform_;
    const WindowHandle window = this->startedServerWindow(1, false);
    ASSERT_NE(window, 0U);
    this->harness.removeServer();
    std::uint32_t reply = 99;
    const auto outcome = this->sendOnce(window, kSendTimeoutMs, reply);
    EXPECT_FALSE(outcome.sent);
    EXPECT_NE(outcome.lastError, 0U);
    EXPECT_FALSE(platform.isWindow(window));
}

TYPED_TEST_P(IpcPlatformContract, AHungServerIsStillPresent) {
    IpcPlatform& platform = this->platform_;
    const WindowHandle window = this->startedServerWindow(1, true);
    ASSERT_NE(window, 0U);
    std::uint32_t reply = 0;
    ASSERT_FALSE(this->sendOnce(window, kShortTimeoutMs, reply).sent);
    // Looking for the server, or asking whether it answers, never waits for it (a wait
    // here would never end).
    EXPECT_TRUE(platform.isWindow(window));
    EXPECT_FALSE(platform.answering(window));
    EXPECT_EQ(platform.findWindow(this->harness.serverClass()), window);
}

TYPED_TEST_P(IpcPlatformContract, EachOpenNamesItsAtomAndMappingWithTheNextCount) {
    this->harness.startServer(1, false);
    ServerClassRedirect redirect(this->platform_, this->harness.serverClass());
    Link link(redirect);
    link.Link_Init();
    for (std::uint32_t open = 1; open <= 3; ++open) {
        std::int32_t code = -1;
        (void)link.Link_Open(0, code);  // a server without the offsets is the wrong version
        EXPECT_EQ(this->harness.atomNameSeen(), mappingName(this->platform_.currentProcessId(), open)) << open;
        link.Link_Close();
        EXPECT_FALSE(this->harness.mappingExists(mappingName(this->platform_.currentProcessId(), open))) << open;
    }
}

REGISTER_TYPED_TEST_SUITE_P(IpcPlatformContract, WindowsAreFoundByTheirClassOnlyWhileTheyExist,
                            NoServerWindowMeansTheLinkCannotOpen, MessagesAreRegisteredOncePerName,
                            AtomsAreCountedPerName, MappingCreatedOnceThenReportedAsExistingAndSharedUntilTheLastClose,
                            BadHandlesFail, SendGivesTheServersReply, TimedOutSendReportsNoError,
                            SendToAServerThatIsGoneFailsWithAnError, AHungServerIsStillPresent,
                            EachOpenNamesItsAtomAndMappingWithTheNextCount);

}  // namespace stratocue::simlink::contract
