#pragma once

// What standin-sim promises on every platform, run on each platform's transport (a socket
// on Linux, a window on Windows): started as its own process it answers the real link,
// logs what it receives, gives its faults' codes (a late or missing answer times the link
// out), serves clients with 64-bit addresses and ends by itself.
//
// A stand-in type `Sim` for the suite provides:
//   Sim(const TempFolder& folder, std::vector<std::string> options)   starts standin-sim
//   bool waitUntilServing(std::string_view windowClass)   its announcement and its server
//   int stop()            ends it as the user does; the exit status, -1 when it did not end
//   int waitForExit()     waits for it to end by itself; the same
//   bool serverGone()     no trace of its server is left (socket file, window)
//   static std::unique_ptr<simlink::IpcPlatform> client(const TempFolder& folder)

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/version_text.h"
#include "common/sim_offsets.h"
#include "common/units.h"
#include "simlink/ipc_platform.h"
#include "simlink/link.h"
#include "simlink/little_endian.h"
#include "tests/support/temp_folder.h"

namespace stratocue::standins {

inline std::vector<nlohmann::json> readLogLines(const std::filesystem::path& path) {
    std::vector<nlohmann::json> lines;
    std::ifstream log(path);
    for (std::string line; std::getline(log, line);) {
        lines.push_back(nlohmann::json::parse(line));
    }
    return lines;
}

// A write line of the log as "offset size data".
inline std::string writeLine(const nlohmann::json& line) {
    return line["offset"].get<std::string>() + " " + std::to_string(line["size"].get<int>()) + " " +
           line["data"].get<std::string>();
}

inline std::int32_t openCode(simlink::Link& link) {
    link.Link_Init();
    std::int32_t code = -1;
    link.Link_Open(0, code);
    return code;
}

// A client built for 64-bit addresses, as far as the test needs one: it lays out its own
// block of 64-bit read records through the same platform calls the link makes.
class Client64 {
public:
    explicit Client64(simlink::IpcPlatform& platform) : platform_(platform) {
        window_ = platform_.findWindow(simlink::kServerClass);
        message_ = platform_.registerWindowMessage(simlink::kMessageName);
        const std::string name = simlink::mappingName(platform_.currentProcessId());
        atom_ = platform_.addAtom(name);
        mapping_ = platform_.createFileMapping(name, static_cast<std::uint32_t>(simlink::kBlockBytes));
        if (mapping_ != 0) view_ = platform_.mapView(mapping_);
    }
    Client64(const Client64&) = delete;
    Client64& operator=(const Client64&) = delete;
    ~Client64() {
        if (!view_.empty()) platform_.unmapView(view_);
        if (mapping_ != 0) platform_.closeHandle(mapping_);
        if (atom_ != 0) platform_.deleteAtom(atom_);
    }

    [[nodiscard]] bool ready() const { return window_ != 0 && message_ != 0 && atom_ != 0 && !view_.empty(); }

    // Queues a read: type 4, offset, size, a 64-bit destination, then the data area.
    std::size_t read(std::uint32_t offset, std::uint32_t size) {
        const std::size_t dataAt = next_ + 20;
        simlink::writeLeU32(view_, next_, 4);
        simlink::writeLeU32(view_, next_ + 4, offset);
        simlink::writeLeU32(view_, next_ + 8, size);
        simlink::writeLeU64(view_, next_ + 12, 0x00007FF600000000 + dataAt);
        next_ = dataAt + size;
        return dataAt;
    }
    void write(std::uint32_t offset, std::span<const std::byte> data) {
        simlink::writeLeU32(view_, next_, 2);
        simlink::writeLeU32(view_, next_ + 4, offset);
        simlink::writeLeU32(view_, next_ + 8, static_cast<std::uint32_t>(data.size()));
        std::copy(data.begin(), data.end(), view_.begin() + static_cast<std::ptrdiff_t>(next_ + 12));
        next_ += 12 + data.size();
    }
    // Ends the block and sends it once; the server's reply, or nothing when the send failed.
    std::optional<std::uint32_t> process() {
        simlink::writeLeU32(view_, next_, 0);
        next_ = 0;
        std::uint32_t reply = 0;
        if (!platform_.sendMessageTimeout(window_, message_, atom_, 0, simlink::kSendTimeoutMs, reply)) return {};
        return reply;
    }
    [[nodiscard]] std::span<const std::byte> block() const { return view_; }

private:
    simlink::IpcPlatform& platform_;
    simlink::WindowHandle window_ = 0;
    std::uint32_t message_ = 0;
    simlink::Atom atom_ = 0;
    simlink::MappingHandle mapping_ = 0;
    std::span<std::byte> view_;
    std::size_t next_ = 0;
};

// A client platform with the link's waits cut short: every send waits at most 10 ms
// whatever the link asks for, and pauses are only recorded. What the link asked for is
// recorded too, so its sends and time-outs are checked without their wall-clock time.
class ShortWaitPlatform final : public simlink::IpcPlatform {
public:
    explicit ShortWaitPlatform(simlink::IpcPlatform& platform) : platform_(platform) {}

    simlink::WindowHandle findWindow(std::string_view className) override { return platform_.findWindow(className); }
    bool answering(simlink::WindowHandle window) override { return platform_.answering(window); }
    std::uint32_t registerWindowMessage(std::string_view name) override {
        return platform_.registerWindowMessage(name);
    }
    std::uint32_t currentProcessId() override { return platform_.currentProcessId(); }
    simlink::Atom addAtom(std::string_view name) override { return platform_.addAtom(name); }
    void deleteAtom(simlink::Atom atom) override { platform_.deleteAtom(atom); }
    simlink::MappingHandle createFileMapping(std::string_view name, std::uint32_t sizeBytes) override {
        return platform_.createFileMapping(name, sizeBytes);
    }
    std::span<std::byte> mapView(simlink::MappingHandle mapping) override { return platform_.mapView(mapping); }
    void unmapView(std::span<std::byte> view) override { platform_.unmapView(view); }
    void closeHandle(simlink::MappingHandle mapping) override { platform_.closeHandle(mapping); }
    std::uint32_t lastError() override { return platform_.lastError(); }
    bool sendMessageTimeout(simlink::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam, std::uint32_t timeoutMs, std::uint32_t& reply) override {
        askedTimeoutsMs.push_back(timeoutMs);
        return platform_.sendMessageTimeout(window, message, wParam, lParam, kShortWaitMs, reply);
    }
    void sleep(std::uint32_t milliseconds) override { pausesMs.push_back(milliseconds); }

    std::vector<std::uint32_t> askedTimeoutsMs;
    std::vector<std::uint32_t> pausesMs;

private:
    static constexpr std::uint32_t kShortWaitMs = 10;
    simlink::IpcPlatform& platform_;
};

template <class Sim>
class StandinSimContract : public testing::Test {};
TYPED_TEST_SUITE_P(StandinSimContract);

TYPED_TEST_P(StandinSimContract, OpensReadsWritesAndLogsEachWrite) {
    using Sim = TypeParam;
    const test_support::TempFolder folder;
    const std::filesystem::path flight = folder.write("flight.txt", "# one point, held\n0 51.5 -0.25 120.5\n");
    Sim sim(folder, {"--log", folder.file("log.jsonl").string(), "--flight", flight.string(), "--clock", "14:05:09"});
    ASSERT_TRUE(sim.waitUntilServing("UIPCMAIN"));

    {
        const std::unique_ptr<simlink::IpcPlatform> platform = Sim::client(folder);
        simlink::Link link(*platform);
        const std::int32_t opened = openCode(link);
        EXPECT_EQ(simlink::ResultTexts(opened), "Active");
        ASSERT_EQ(opened, simlink::kOk);
        EXPECT_EQ(link.state().ServerVersion, 0x28100004);
        EXPECT_EQ(app::versionText(link.state().ServerVersion), "2.810d");
        EXPECT_EQ(link.state().SimId, 6);
        EXPECT_EQ(simlink::SimNames(link.state().SimId), "FS2002");

        std::int32_t code = -1;
        EXPECT_FALSE(link.Link_Open(0, code));
        EXPECT_EQ(code, simlink::kAlreadyOpen);
        EXPECT_TRUE(link.isOpen());

        std::array<std::byte, 4> latitude{};
        std::array<std::byte, 4> longitude{};
        std::array<std::byte, 4> altitude{};
        std::array<std::byte, 3> clock{};
        ASSERT_TRUE(link.Link_Read(offsets::kLatitudeWhole.offset, 4, latitude, code));
        ASSERT_TRUE(link.Link_Read(offsets::kLongitudeWhole.offset, 4, longitude, code));
        ASSERT_TRUE(link.Link_Read(offsets::kAltitudeWhole.offset, 4, altitude, code));
        ASSERT_TRUE(link.Link_Read(offsets::kClock.offset, 3, clock, code));
        ASSERT_TRUE(link.Link_Process(code)) << simlink::ResultTexts(code);
        EXPECT_NEAR(simlink::readLe32(latitude) * 90.0 / units::kLatitudeUnitsPer90Degrees, 51.5, 1e-5);
        EXPECT_NEAR(simlink::readLe32(longitude) * 360.0 / units::kLongitudeUnitsPerCircle, -0.25, 1e-6);
        EXPECT_EQ(simlink::readLe32(altitude), 120);
        EXPECT_EQ(clock[0], std::byte{14});
        EXPECT_LE(std::to_integer<int>(clock[1]) * 60 + std::to_integer<int>(clock[2]), 5 * 60 + 59);

        const std::array<std::byte, 2> wind{std::byte{0x34}, std::byte{0x12}};
        ASSERT_TRUE(link.Link_Write(offsets::kTemperature.offset, 2, wind, code));
        ASSERT_TRUE(link.Link_Process(code));
        const std::string message = "Stratocue->Hi 270\xB0";
        const std::array<std::byte, 2> minusOne{std::byte{0xFF}, std::byte{0xFF}};
        ASSERT_TRUE(link.Link_WriteText(offsets::kMessageText.offset, static_cast<std::int32_t>(message.size() + 1),
                                        message, code));
        ASSERT_TRUE(link.Link_Write(offsets::kMessageShow.offset, 2, minusOne, code));
        ASSERT_TRUE(link.Link_Process(code));
        link.Link_Close();
    }

    EXPECT_EQ(sim.stop(), 0);
    EXPECT_TRUE(sim.serverGone());
    const std::vector<nlohmann::json> lines = readLogLines(folder.file("log.jsonl"));
    ASSERT_EQ(lines.size(), 5U);
    EXPECT_EQ(writeLine(lines[0]), "0x330A 2 0000");  // logged as received, though read-only
    EXPECT_EQ(writeLine(lines[1]), "0x0F42 2 3412");
    EXPECT_EQ(writeLine(lines[2]), "0x3380 19 53747261746f6375652d3e486920323730b000");
    EXPECT_EQ(writeLine(lines[3]), "0x32FA 2 ffff");
    EXPECT_EQ(lines[4]["message"], "Stratocue->Hi 270\xC2\xB0");
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_TRUE(lines[i]["t"].is_number());
        EXPECT_GE(lines[i]["t"].get<double>(), lines[i - 1]["t"].get<double>());
    }

    // With the stand-in gone its server is gone too.
    const std::unique_ptr<simlink::IpcPlatform> platform = Sim::client(folder);
    simlink::Link link(*platform);
    const std::int32_t code = openCode(link);
    EXPECT_EQ(code, simlink::kNoServer);
    EXPECT_EQ(simlink::ResultTexts(code), "Cannot link to FSUIPC or WideClient");
}

TYPED_TEST_P(StandinSimContract, ServerFaultsGiveTheirCodes) {
    using Sim = TypeParam;
    struct Case {
        const char* name;
        std::vector<std::string> options;
        std::string windowClass;
        std::int32_t expectedCode;
    };
    const Case cases[] = {
        {"ReplyZeroIsBadData", {"--fault", "reply=0"}, "UIPCMAIN", simlink::kBadData},
        {"OldVersionViaClientWindow",
         {"--class", "FS98MAIN", "--version", "19980004"},
         "FS98MAIN",
         simlink::kClientWithoutSimulator},
        {"NotTheMarkedSimulatorWord", {"--sim", "0xFADF0006"}, "UIPCMAIN", simlink::kWrongVersion},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const test_support::TempFolder folder;
        Sim sim(folder, test.options);
        ASSERT_TRUE(sim.waitUntilServing(test.windowClass));
        {
            const std::unique_ptr<simlink::IpcPlatform> platform = Sim::client(folder);
            simlink::Link link(*platform);
            EXPECT_EQ(openCode(link), test.expectedCode);
            EXPECT_FALSE(link.isOpen());
        }
        EXPECT_EQ(sim.stop(), 0);
    }
}

TYPED_TEST_P(StandinSimContract, EndsByItselfAfterItsRunTime) {
    using Sim = TypeParam;
    const test_support::TempFolder folder;
    Sim sim(folder, {"--run-seconds", "1"});
    ASSERT_TRUE(sim.waitUntilServing("UIPCMAIN"));
    EXPECT_EQ(sim.waitForExit(), 0);
    EXPECT_TRUE(sim.serverGone());
}

// A client built for 64-bit addresses sends its reads as type 4 records with a 20-byte
// header; the stand-in serves them, and its link version word stays as it is when the
// client writes there.
TYPED_TEST_P(StandinSimContract, ServesTheReadsOfA64BitClient) {
    using Sim = TypeParam;
    const test_support::TempFolder folder;
    const std::filesystem::path flight = folder.write("flight.txt", "0 51.5 -0.25 120.5\n");
    Sim sim(folder, {"--log", folder.file("log.jsonl").string(), "--flight", flight.string()});
    ASSERT_TRUE(sim.waitUntilServing("UIPCMAIN"));
    {
        const std::unique_ptr<simlink::IpcPlatform> platform = Sim::client(folder);
        Client64 client(*platform);
        ASSERT_TRUE(client.ready());
        const std::size_t version = client.read(offsets::kServerVersion.offset, 4);
        const std::array<std::byte, 2> libraryVersion{std::byte{0x00}, std::byte{0x15}};
        client.write(offsets::kLibraryVersion.offset, libraryVersion);
        const std::size_t simulator = client.read(offsets::kSimulatorWord.offset, 4);
        const std::size_t altitude = client.read(offsets::kAltitudeWhole.offset, 4);
        EXPECT_EQ(client.process(), std::optional<std::uint32_t>(1));
        EXPECT_EQ(simlink::readLeU32(client.block(), version), 0x28100004U);
        EXPECT_EQ(simlink::readLeU32(client.block(), simulator), 0xFADE0006U);
        EXPECT_EQ(simlink::readLe32(client.block(), altitude), 120);
        EXPECT_EQ(simlink::readLeU64(client.block(), 12), 0x00007FF600000000U + version);  // headers left alone
    }
    EXPECT_EQ(sim.stop(), 0);
    const std::vector<nlohmann::json> lines = readLogLines(folder.file("log.jsonl"));
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(writeLine(lines[0]), "0x330A 2 0015");
}

// A server that never answers, or answers only after the link's time-out, fails the open:
// its first send waits the whole time-out, and what follows stays within the exchange's time.
TYPED_TEST_P(StandinSimContract, LateOrMissingAnswersFailTheOpenWithinTheExchangeTime) {
    using Sim = TypeParam;
    struct Case {
        const char* fault;
    };
    const Case cases[] = {{"no-answer"}, {"slow"}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.fault);
        const test_support::TempFolder folder;
        Sim sim(folder, {"--fault", test.fault});
        ASSERT_TRUE(sim.waitUntilServing("UIPCMAIN"));
        {
            const std::unique_ptr<simlink::IpcPlatform> system = Sim::client(folder);
            ShortWaitPlatform platform(*system);
            simlink::Link link(platform);
            EXPECT_EQ(openCode(link), simlink::kTimedOut);
            EXPECT_FALSE(link.isOpen());
            ASSERT_FALSE(platform.askedTimeoutsMs.empty());
            EXPECT_EQ(platform.askedTimeoutsMs.front(), simlink::kSendTimeoutMs);
            std::uint32_t heldMs = 0;
            for (const std::uint32_t ms : platform.askedTimeoutsMs) heldMs += ms;
            for (const std::uint32_t ms : platform.pausesMs) heldMs += ms;
            EXPECT_LE(heldMs, simlink::kExchangeBudgetMs);
        }
        EXPECT_EQ(sim.stop(), 0);
    }
}

// The one check in real time: a send to a server that never answers waits out its whole
// time-out and then reports a time-out, not a failure.
TYPED_TEST_P(StandinSimContract, SendToAServerThatNeverAnswersWaitsItsTimeOut) {
    using Sim = TypeParam;
    const test_support::TempFolder folder;
    Sim sim(folder, {"--fault", "no-answer"});
    ASSERT_TRUE(sim.waitUntilServing("UIPCMAIN"));
    {
        const std::unique_ptr<simlink::IpcPlatform> platform = Sim::client(folder);
        const simlink::WindowHandle window = platform->findWindow(simlink::kServerClass);
        ASSERT_NE(window, 0U);
        const std::uint32_t message = platform->registerWindowMessage(simlink::kMessageName);
        std::uint32_t reply = 7;
        EXPECT_FALSE(platform->sendMessageTimeout(window, message, 0, 0, simlink::kSendTimeoutMs, reply));
        EXPECT_EQ(platform->lastError(), 0U);
        EXPECT_EQ(reply, 7U);
    }
    EXPECT_EQ(sim.stop(), 0);
}

REGISTER_TYPED_TEST_SUITE_P(StandinSimContract, OpensReadsWritesAndLogsEachWrite, ServerFaultsGiveTheirCodes,
                            EndsByItselfAfterItsRunTime, ServesTheReadsOfA64BitClient,
                            LateOrMissingAnswersFailTheOpenWithinTheExchangeTime,
                            SendToAServerThatNeverAnswersWaitsItsTimeOut);

}  // namespace stratocue::standins
