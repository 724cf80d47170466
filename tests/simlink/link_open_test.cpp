#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/sim_offsets.h"
#include "tests/simlink/fake_link.h"

namespace stratocue::simlink {
namespace {

using standins::FakeIpcPlatform;
using standins::FakeServerWindows;
using standins::RequestRecord;

// The three requests of one handshake pass, as the server receives them.
const std::vector<RequestRecord> kHandshakePass = {
    {1, offsets::kServerVersion.offset, 4, 16},
    {1, offsets::kSimulatorWord.offset, 4, 36},
    {2, offsets::kLibraryVersion.offset, 2, 52},
};

TEST(LinkOpen, HealthyServerOpensInOnePass) {
    FakeLink fake;
    EXPECT_EQ(fake.open(), kOk);
    EXPECT_TRUE(fake.link.isOpen());
    EXPECT_EQ(fake.link.state().ServerVersion, 0x28100004);
    EXPECT_EQ(fake.link.state().SimId, 6);
    EXPECT_EQ(SimNames(fake.link.state().SimId), "FS2002");
    ASSERT_EQ(fake.platform.exchanges().size(), 1U);
    EXPECT_EQ(fake.platform.exchanges()[0], kHandshakePass);
    EXPECT_EQ(fake.platform.writes(),
              (std::vector<standins::FakeWrite>{{offsets::kLibraryVersion.offset, {std::byte{0}, std::byte{0}}}}));
    EXPECT_EQ(fake.platform.sleeps(), std::vector<std::uint32_t>{100});
    EXPECT_EQ(fake.platform.lastAtomName(), "FSASMLIB:IPC:1A2B:1");
    EXPECT_EQ(fake.platform.lastMappingName(), "FSASMLIB:IPC:1A2B:1");
    EXPECT_EQ(fake.link.state().nextFree, 0U);
}

struct OpenCase {
    const char* name;
    std::function<void(FakeIpcPlatform&)> arrange;
    std::int32_t requestedSimulator;
    std::int32_t expectedCode;
    int expectedSends;
};

TEST(LinkOpen, EachFailureGivesItsCodeAndReleasesEverything) {
    const OpenCase cases[] = {
        {"NoServerWindow", [](FakeIpcPlatform& p) { p.faults.windows = FakeServerWindows::None; }, 0, kNoServer, 0},
        {"RegisterFails", [](FakeIpcPlatform& p) { p.faults.registerFails = true; }, 0, kRegisterFailed, 0},
        {"AtomFails", [](FakeIpcPlatform& p) { p.faults.atomFails = true; }, 0, kAtomFailed, 0},
        {"MappingFails", [](FakeIpcPlatform& p) { p.faults.mappingFails = true; }, 0, kMappingFailed, 0},
        {"MappingAlreadyExists", [](FakeIpcPlatform& p) { p.faults.mappingExists = true; }, 0, kMappingFailed, 0},
        {"ViewFails", [](FakeIpcPlatform& p) { p.faults.viewFails = true; }, 0, kViewFailed, 0},
        {"VersionOneBelowLowest", [](FakeIpcPlatform& p) { p.setVersionWord(0x19980004); }, 0, kWrongVersion, 1},
        {"VersionOneBelowLowestViaClient",
         [](FakeIpcPlatform& p) {
             p.faults.windows = FakeServerWindows::ClientOnly;
             p.setVersionWord(0x19980004);
         },
         0, kClientWithoutSimulator, 1},
        {"NegativeVersionWord", [](FakeIpcPlatform& p) { p.setVersionWord(-1); }, 0, kWrongVersion, 1},
        {"UpperHalfNotFade", [](FakeIpcPlatform& p) { p.setSimulatorWord(0x0ADE0006); }, 0, kWrongVersion, 1},
        {"UpperHalfNotFadeViaClient",
         [](FakeIpcPlatform& p) {
             p.faults.windows = FakeServerWindows::ClientOnly;
             p.setSimulatorWord(static_cast<std::int32_t>(0xFADF0006U));
         },
         0, kClientWithoutSimulator, 1},
        {"ZerosForFivePasses", [](FakeIpcPlatform& p) { p.setVersionWord(0); }, 0, kWrongVersion, 5},
        {"SimulatorWordZeroForFivePasses", [](FakeIpcPlatform& p) { p.setSimulatorWord(0); }, 0, kWrongVersion, 5},
        {"OtherSimulatorRequested", [](FakeIpcPlatform&) {}, 8, kWrongSimulator, 1},
        {"EverySendTimesOut", [](FakeIpcPlatform& p) { p.faults.everySendFails = true; }, 0, kTimedOut, 1},
        {"EverySendFails",
         [](FakeIpcPlatform& p) {
             p.faults.everySendFails = true;
             p.faults.sendError = 1460;
         },
         0, kSendFailed, 11},
        {"ReplyNotOne", [](FakeIpcPlatform& p) { p.faults.reply = 0; }, 0, kBadData, 1},
    };
    for (const OpenCase& test : cases) {
        SCOPED_TRACE(test.name);
        FakeLink fake;
        test.arrange(fake.platform);
        fake.link.Link_Init();
        std::int32_t code = -1;
        EXPECT_FALSE(fake.link.Link_Open(test.requestedSimulator, code));
        EXPECT_EQ(code, test.expectedCode);
        EXPECT_FALSE(fake.link.isOpen());
        EXPECT_EQ(fake.link.state().atom, 0);
        EXPECT_EQ(fake.link.state().mapping, 0U);
        EXPECT_EQ(fake.link.state().nextFree, 0U);
        // A server that timed out may still serve the open's message: its atom is kept.
        EXPECT_EQ(fake.platform.heldAtoms(), test.expectedCode == kTimedOut ? 1U : 0U);
        EXPECT_EQ(fake.platform.heldMappings(), 0U);
        EXPECT_EQ(fake.platform.heldViews(), 0U);
        EXPECT_EQ(fake.platform.sendCount(), test.expectedSends);
    }
}

TEST(LinkOpen, AcceptedServerWords) {
    struct Case {
        const char* name;
        std::int32_t versionWord;
        std::int32_t simulatorWord;
        std::int32_t requestedSimulator;
        FakeServerWindows windows;
        std::int32_t expectedSimId;
    };
    const Case cases[] = {
        {"LowestVersionPasses", 0x19980005, static_cast<std::int32_t>(0xFADE0006U), 0, FakeServerWindows::Both, 6},
        {"RequestedSimulatorMatches", 0x28100004, static_cast<std::int32_t>(0xFADE0006U), 6, FakeServerWindows::Both,
         6},
        {"AnySimulatorNumberForZero", 0x28100004, static_cast<std::int32_t>(0xFADE0063U), 0, FakeServerWindows::Both,
         0x63},
        {"ViaClientWindow", 0x28100004, static_cast<std::int32_t>(0xFADE0001U), 0, FakeServerWindows::ClientOnly, 1},
        {"SimulatorNumberWithSignBit", 0x28100004, static_cast<std::int32_t>(0xFADEFFFFU), 0, FakeServerWindows::Both,
         0xFFFF},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        FakeLink fake;
        fake.platform.setVersionWord(test.versionWord);
        fake.platform.setSimulatorWord(test.simulatorWord);
        fake.platform.faults.windows = test.windows;
        std::int32_t code = -1;
        EXPECT_TRUE(fake.link.Link_Open(test.requestedSimulator, code));
        EXPECT_EQ(code, kOk);
        EXPECT_EQ(fake.link.state().ServerVersion, test.versionWord);
        EXPECT_EQ(fake.link.state().SimId, test.expectedSimId);
    }
}

TEST(LinkOpen, ServerStillStartingTakesAnotherPass) {
    FakeLink fake;
    fake.platform.setVersionWord(0);
    int served = 0;
    fake.platform.faults.tamper = [&](std::span<std::byte>) {
        if (++served == 1) {
            fake.platform.setVersionWord(0x28100004);  // ready for the second pass
        }
    };
    EXPECT_EQ(fake.open(), kOk);
    EXPECT_EQ(fake.platform.sendCount(), 2);
    EXPECT_EQ(fake.platform.exchanges()[1], kHandshakePass);
    EXPECT_EQ(fake.platform.sleeps(), (std::vector<std::uint32_t>{100, 100}));
}

TEST(LinkOpen, SecondOpenLeavesTheLinkOpenButClearsTheWords) {
    FakeLink fake;
    ASSERT_EQ(fake.open(), kOk);
    const LinkState before = fake.link.state();
    std::int32_t code = -1;
    EXPECT_FALSE(fake.link.Link_Open(0, code));
    EXPECT_EQ(code, kAlreadyOpen);
    EXPECT_TRUE(fake.link.isOpen());
    EXPECT_EQ(fake.link.state().ServerVersion, 0);
    EXPECT_EQ(fake.link.state().SimId, 0);
    EXPECT_EQ(fake.link.state().atom, before.atom);
    EXPECT_EQ(fake.link.state().mapping, before.mapping);
    EXPECT_EQ(fake.link.state().view.data(), before.view.data());
    EXPECT_EQ(fake.platform.sendCount(), 1);
}

TEST(LinkClose, HarmlessTwiceAndBeforeOpen) {
    struct Case {
        const char* name;
        bool openFirst;
        int closes;
    };
    const Case cases[] = {{"BeforeAnyOpen", false, 1}, {"TwiceBeforeOpen", false, 2}, {"TwiceAfterOpen", true, 2}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        FakeLink fake;
        fake.link.Link_Init();
        if (test.openFirst) {
            std::int32_t code = -1;
            ASSERT_TRUE(fake.link.Link_Open(0, code));
        }
        for (int i = 0; i < test.closes; ++i) {
            fake.link.Link_Close();
        }
        EXPECT_FALSE(fake.link.isOpen());
        EXPECT_EQ(fake.link.state().serverWindow, 0U);
        EXPECT_EQ(fake.link.state().ipcMessage, 0U);
        EXPECT_EQ(fake.platform.heldAtoms(), 0U);
        EXPECT_EQ(fake.platform.heldMappings(), 0U);
        EXPECT_EQ(fake.platform.heldViews(), 0U);
        // The words read at open stay for the start-up's display.
        EXPECT_EQ(fake.link.state().ServerVersion, test.openFirst ? 0x28100004 : 0);
        EXPECT_EQ(fake.link.state().SimId, test.openFirst ? 6 : 0);
    }
}

TEST(LinkClose, ReopenAfterCloseWorks) {
    FakeLink fake;
    ASSERT_EQ(fake.open(), kOk);
    fake.link.Link_Close();
    std::int32_t code = -1;
    EXPECT_TRUE(fake.link.Link_Open(0, code));
    EXPECT_EQ(code, kOk);
    EXPECT_EQ(fake.platform.heldAtoms(), 1U);
}

TEST(LinkOpen, EachOpenCountsInTheNameUntilItWouldOverflowTheServersField) {
    struct Case {
        const char* name;
        std::uint32_t processId;
        std::vector<std::string> expectedNames;  // of the opens in turn
    };
    const Case cases[] = {
        {"ShortId", 0x1A2B, {"FSASMLIB:IPC:1A2B:1", "FSASMLIB:IPC:1A2B:2", "FSASMLIB:IPC:1A2B:3"}},
        {"LongestId",
         0xFFFFFFFF,
         {"FSASMLIB:IPC:FFFFFFFF:1", "FSASMLIB:IPC:FFFFFFFF:2", "FSASMLIB:IPC:FFFFFFFF:3", "FSASMLIB:IPC:FFFFFFFF:4",
          "FSASMLIB:IPC:FFFFFFFF:5", "FSASMLIB:IPC:FFFFFFFF:6", "FSASMLIB:IPC:FFFFFFFF:7", "FSASMLIB:IPC:FFFFFFFF:8",
          "FSASMLIB:IPC:FFFFFFFF:9", "FSASMLIB:IPC:FFFFFFFF:1"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        FakeLink fake;
        fake.platform.setProcessId(test.processId);
        for (const std::string& expected : test.expectedNames) {
            ASSERT_EQ(fake.open(), kOk);
            EXPECT_EQ(fake.platform.lastMappingName(), expected);
            EXPECT_LT(expected.size(), kMappingNameFieldBytes);
            fake.link.Link_Close();
        }
    }
}

}  // namespace
}  // namespace stratocue::simlink
