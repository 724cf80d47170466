#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "common/sim_offsets.h"
#include "tests/simlink/fake_link.h"

namespace stratocue::simlink {
namespace {

using standins::FakeFaults;

TEST(LinkProcess, NothingQueuedSendsNothing) {
    FakeLink fake;
    ASSERT_EQ(fake.open(), kOk);
    std::int32_t code = -1;
    EXPECT_FALSE(fake.link.Link_Process(code));
    EXPECT_EQ(code, kNothingQueued);
    EXPECT_EQ(fake.platform.sendCount(), 1);  // the handshake's only
}

TEST(LinkProcess, RetriesUpToElevenSendsWithinTheExchangeBudget) {
    struct Case {
        const char* name;
        int failingSends;
        std::uint32_t sendError;  // 0: the failing sends time out
        bool expectedDone;
        std::int32_t expectedCode;
        int expectedSends;
        std::uint32_t expectedLastTimeoutMs;  // what is left of the budget for the last send
    };
    const Case cases[] = {
        {"FirstSendSucceeds", 0, 0, true, kOk, 1, kSendTimeoutMs},
        {"SucceedsOnSecond", 1, 1460, true, kOk, 2, kSendTimeoutMs},
        {"SucceedsOnTheLastAfterErrors", 10, 1460, true, kOk, 11, kExchangeBudgetMs - 10 * kRetryPauseMs},
        // Timed out once, then answers a probe: one more send in what is left.
        {"SlowOnceThenAnswering", 1, 0, true, kOk, 2,
         kExchangeBudgetMs - kSendTimeoutMs - IpcPlatform::kProbeTimeoutMs - kRetryPauseMs},
        // Timed out and not answering a probe: hung, no further send and no pause.
        {"TimedOutAndHung", 11, 0, false, kTimedOut, 1, kSendTimeoutMs},
        {"AllFailedWithAnError", 11, 1460, false, kSendFailed, 11, kExchangeBudgetMs - 10 * kRetryPauseMs},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        FakeLink fake;
        ASSERT_EQ(fake.open(), kOk);
        const int sendsBefore = fake.platform.sendCount();
        const std::size_t sleepsBefore = fake.platform.sleeps().size();
        fake.platform.faults.failingSends = sendsBefore + test.failingSends;
        fake.platform.faults.sendError = test.sendError;

        auto version = filledBytes<4>(0xAA);
        std::int32_t code = -1;
        ASSERT_TRUE(fake.link.Link_Read(offsets::kServerVersion.offset, 4, version, code));
        EXPECT_EQ(fake.link.Link_Process(code), test.expectedDone);
        EXPECT_EQ(code, test.expectedCode);
        EXPECT_EQ(fake.platform.sendCount() - sendsBefore, test.expectedSends);
        EXPECT_EQ(fake.platform.sendTimeouts().back(), test.expectedLastTimeoutMs);
        const std::vector<std::uint32_t>& sleeps = fake.platform.sleeps();
        const std::vector<std::uint32_t> pauses(sleeps.begin() + static_cast<std::ptrdiff_t>(sleepsBefore),
                                                sleeps.end());
        EXPECT_EQ(pauses, std::vector<std::uint32_t>(static_cast<std::size_t>(test.expectedSends - 1), kRetryPauseMs));
        EXPECT_EQ(readLe32(version), test.expectedDone ? 0x28100004 : readLe32(filledBytes<4>(0xAA)));
        EXPECT_EQ(fake.link.state().nextFree, 0U);
    }
}

TEST(LinkProcess, ReplyOtherThanOneIsBadData) {
    struct Case {
        const char* name;
        std::uint32_t reply;
    };
    const Case cases[] = {{"Zero", 0}, {"Two", 2}, {"AllBits", 0xFFFFFFFF}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        FakeLink fake;
        ASSERT_EQ(fake.open(), kOk);
        fake.platform.faults.reply = test.reply;
        auto version = filledBytes<4>(0xAA);
        std::int32_t code = -1;
        ASSERT_TRUE(fake.link.Link_Read(offsets::kServerVersion.offset, 4, version, code));
        EXPECT_FALSE(fake.link.Link_Process(code));
        EXPECT_EQ(code, kBadData);
        EXPECT_EQ(version, filledBytes<4>(0xAA));
        EXPECT_EQ(fake.link.state().nextFree, 0U);
        // The queue is empty afterwards: the next exchange carries only its own request.
        fake.platform.faults.reply.reset();
        ASSERT_TRUE(fake.link.Link_Read(offsets::kSimulatorWord.offset, 4, version, code));
        EXPECT_TRUE(fake.link.Link_Process(code));
        EXPECT_EQ(fake.platform.exchanges().back().size(), 1U);
        EXPECT_EQ(readLe32(version), static_cast<std::int32_t>(0xFADE0006U));
    }
}

TEST(LinkProcess, MixedReadsAndWritesReachTheirOwnVariables) {
    FakeLink fake;
    ASSERT_EQ(fake.open(), kOk);
    fake.platform.offsets().setByte(offsets::kClock.offset, 14);
    fake.platform.offsets().setByte(0x0239, 5);
    fake.platform.offsets().setByte(0x023A, 9);
    fake.platform.offsets().setLe32(offsets::kAltitudeWhole.offset, 1234);

    auto clock = filledBytes<3>(0xAA);
    auto altitude = filledBytes<8>(0xAA);  // larger than the read: only 4 bytes change
    auto written = filledBytes<2>(0xAA);
    std::array<std::byte, 2> wind{};
    writeLe16(wind, 0, 0x0F0E);
    std::int32_t code = -1;
    ASSERT_TRUE(fake.link.Link_Read(offsets::kClock.offset, 3, clock, code));
    ASSERT_TRUE(fake.link.Link_Write(offsets::kTemperature.offset, 2, wind, code));
    ASSERT_TRUE(fake.link.Link_Read(offsets::kAltitudeWhole.offset, 4, altitude, code));
    ASSERT_TRUE(fake.link.Link_Read(offsets::kLatitude.offset, 4, {}, code));  // discarded
    ASSERT_TRUE(fake.link.Link_Read(offsets::kTemperature.offset, 2, written, code));
    ASSERT_TRUE(fake.link.Link_Process(code));
    EXPECT_EQ(code, kOk);

    EXPECT_EQ(clock, (std::array<std::byte, 3>{std::byte{14}, std::byte{5}, std::byte{9}}));
    EXPECT_EQ(readLe32(altitude), 1234);
    EXPECT_EQ(readLe32(altitude, 4), readLe32(filledBytes<4>(0xAA)));
    EXPECT_EQ(readLe16(written), 0x0F0E);
    EXPECT_EQ(fake.platform.exchanges().back().size(), 5U);
    EXPECT_EQ(fake.platform.writes().back(),
              (standins::FakeWrite{offsets::kTemperature.offset, {std::byte{0x0E}, std::byte{0x0F}}}));
}

TEST(LinkProcess, AFailedExchangeHoldsBackEveryLaterOneUntilTheLinkOpensAgain) {
    struct Case {
        const char* name;
        bool gone;    // the server window disappears; otherwise every send times out
        bool ending;  // the program is asked to end meanwhile
        std::int32_t expectedCode;
        int expectedSends;  // a server that is gone, or a program that ends, does not retry
    };
    const Case cases[] = {
        {"TimedOut", false, false, kTimedOut, 1},
        {"WindowGone", true, false, kSendFailed, 1},
        {"TimedOutWhileEnding", false, true, kTimedOut, 1},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        FakeLink fake;
        ASSERT_EQ(fake.open(), kOk);
        if (test.gone) fake.platform.faults.windows = standins::FakeServerWindows::None;
        if (!test.gone) fake.platform.faults.everySendFails = true;
        fake.link.setGiveUp([ending = test.ending] { return ending; });
        const int sendsBefore = fake.platform.sendCount();
        auto version = filledBytes<4>(0xAA);
        std::int32_t code = -1;
        ASSERT_TRUE(fake.link.Link_Read(offsets::kServerVersion.offset, 4, version, code));
        EXPECT_FALSE(fake.link.Link_Process(code));
        EXPECT_EQ(code, test.expectedCode);
        EXPECT_EQ(fake.platform.sendCount() - sendsBefore, test.expectedSends);
        EXPECT_EQ(fake.link.exchangeFailure(), test.expectedCode);

        // The server is back, but the link asks nothing of it before a new open.
        fake.platform.faults = {};
        ASSERT_TRUE(fake.link.Link_Write(offsets::kTemperature.offset, 2, filledBytes<2>(1), code));
        EXPECT_FALSE(fake.link.Link_Process(code));
        EXPECT_EQ(code, test.expectedCode);
        EXPECT_EQ(fake.platform.sendCount() - sendsBefore, test.expectedSends);
        EXPECT_EQ(fake.link.state().nextFree, 0U);

        EXPECT_TRUE(fake.link.serverPresent());
        fake.link.Link_Close();
        ASSERT_TRUE(fake.link.Link_Open(0, code));
        EXPECT_EQ(fake.link.exchangeFailure(), kOk);
        EXPECT_EQ(fake.platform.lastMappingName(), "FSASMLIB:IPC:1A2B:2");
        ASSERT_TRUE(fake.link.Link_Read(offsets::kServerVersion.offset, 4, version, code));
        EXPECT_TRUE(fake.link.Link_Process(code));
        EXPECT_EQ(readLe32(version), 0x28100004);
    }
}

TEST(LinkProcess, AFailedReopenKeepsTheLinkDown) {
    struct Case {
        const char* name;
        FakeFaults faultsAtReopen;
        std::int32_t expectedOpenCode;
        std::int32_t expectedFailure;   // the reason the link stays down
        std::size_t expectedAtomsKept;  // for a server that may still serve the open's message
    };
    FakeFaults gone;
    gone.windows = standins::FakeServerWindows::None;
    FakeFaults hung;
    hung.everySendFails = true;
    FakeFaults wrongVersion;
    wrongVersion.reply = 0;
    const Case cases[] = {
        {"NoServer", gone, kNoServer, kSendFailed, 0},
        {"StillHung", hung, kTimedOut, kTimedOut, 1},
        {"BadReply", wrongVersion, kBadData, kSendFailed, 0},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        FakeLink fake;
        ASSERT_EQ(fake.open(), kOk);
        fake.platform.faults.windows = standins::FakeServerWindows::None;
        std::int32_t code = -1;
        ASSERT_TRUE(fake.link.Link_Write(offsets::kTemperature.offset, 2, filledBytes<2>(1), code));
        ASSERT_FALSE(fake.link.Link_Process(code));
        EXPECT_FALSE(fake.link.serverPresent());

        fake.platform.faults = test.faultsAtReopen;
        fake.link.Link_Close();
        EXPECT_FALSE(fake.link.Link_Open(0, code));
        EXPECT_EQ(code, test.expectedOpenCode);
        EXPECT_EQ(fake.link.exchangeFailure(), test.expectedFailure);
        EXPECT_EQ(fake.platform.heldAtoms(), test.expectedAtomsKept);
        EXPECT_EQ(fake.platform.heldMappings(), 0U);
    }
}

TEST(LinkProcess, AMessageQueuedBeforeAReopenNeverReachesTheNewMapping) {
    FakeLink fake;
    ASSERT_EQ(fake.open(), kOk);
    const Atom firstAtom = static_cast<Atom>(fake.link.state().atom);
    fake.platform.faults.hung = true;
    std::int32_t code = -1;
    ASSERT_TRUE(fake.link.Link_Write(offsets::kTemperature.offset, 2, filledBytes<2>(1), code));
    ASSERT_FALSE(fake.link.Link_Process(code));  // queued at the hung server
    const std::size_t writesBefore = fake.platform.writes().size();

    // The server comes back and serves what it queued while the link opens anew.
    fake.link.Link_Close();
    fake.platform.faults.hung = false;
    ASSERT_TRUE(fake.link.Link_Open(0, code));
    EXPECT_NE(static_cast<Atom>(fake.link.state().atom), firstAtom);
    const std::vector<std::string>& served = fake.platform.servedAtomNames();
    ASSERT_GE(served.size(), 2U);
    EXPECT_EQ(served[served.size() - 2], mappingName(standins::FakeIpcPlatform::kProcessId, 1));
    EXPECT_EQ(fake.platform.writes().size(), writesBefore + 1);  // the handshake's own write only

    // Freed numbers are handed out again, lowest first, once no server can hold them.
    fake.link.Link_Close();
    ASSERT_TRUE(fake.link.Link_Open(0, code));
    EXPECT_EQ(static_cast<Atom>(fake.link.state().atom), firstAtom);
}

TEST(LinkProcess, PresenceIsTheWindowHeldOrEitherClassFound) {
    struct Case {
        const char* name;
        standins::FakeServerWindows windowsLater;
        bool expectedPresent;
    };
    const Case cases[] = {
        {"ServerStillThere", standins::FakeServerWindows::Both, true},
        {"OnlyTheClientWindow", standins::FakeServerWindows::ClientOnly, true},
        {"NoWindowAtAll", standins::FakeServerWindows::None, false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        FakeLink fake;
        ASSERT_EQ(fake.open(), kOk);
        fake.platform.faults.windows = test.windowsLater;
        const int sendsBefore = fake.platform.sendCount();
        EXPECT_EQ(fake.link.serverPresent(), test.expectedPresent);
        EXPECT_EQ(fake.platform.sendCount(), sendsBefore);  // looking sends nothing
        EXPECT_EQ(fake.platform.isWindowCount(), 1);
    }
}

}  // namespace
}  // namespace stratocue::simlink
