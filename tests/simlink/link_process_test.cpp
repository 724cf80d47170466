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

TEST(LinkProcess, RetriesUpToElevenSends) {
    struct Case {
        const char* name;
        int failingSends;
        std::uint32_t sendError;
        bool expectedDone;
        std::int32_t expectedCode;
    };
    const Case cases[] = {
        {"FirstSendSucceeds", 0, 0, true, kOk},
        {"SucceedsOnSecond", 1, 1460, true, kOk},
        {"SucceedsOnTheLast", 10, 0, true, kOk},
        {"AllTimedOut", 11, 0, false, kTimedOut},
        {"AllFailedWithAnError", 11, 1460, false, kSendFailed},
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
        const int sends = std::min(test.failingSends + 1, kSendAttempts);
        EXPECT_EQ(fake.platform.sendCount() - sendsBefore, sends);
        const std::vector<std::uint32_t>& sleeps = fake.platform.sleeps();
        const std::vector<std::uint32_t> pauses(sleeps.begin() + static_cast<std::ptrdiff_t>(sleepsBefore),
                                                sleeps.end());
        EXPECT_EQ(pauses, std::vector<std::uint32_t>(static_cast<std::size_t>(sends - 1), kRetryPauseMs));
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
        {"TimedOut", false, false, kTimedOut, kSendAttempts},
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
        std::int32_t expectedFailure;  // the reason the link stays down
    };
    FakeFaults gone;
    gone.windows = standins::FakeServerWindows::None;
    FakeFaults hung;
    hung.everySendFails = true;
    FakeFaults wrongVersion;
    wrongVersion.reply = 0;
    const Case cases[] = {
        {"NoServer", gone, kNoServer, kSendFailed},
        {"StillHung", hung, kTimedOut, kTimedOut},
        {"BadReply", wrongVersion, kBadData, kSendFailed},
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
        EXPECT_EQ(fake.platform.heldAtoms(), 0U);
        EXPECT_EQ(fake.platform.heldMappings(), 0U);
    }
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
