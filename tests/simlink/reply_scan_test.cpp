#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/sim_offsets.h"
#include "tests/simlink/fake_link.h"

namespace stratocue::simlink {
namespace {

// The block under test: read 0x3304 (4 bytes) at 0, write 0x0F42 (2 bytes) at 20,
// read 0x3308 (4 bytes) at 34, terminator at 54.
struct RecordField {
    const char* record;
    std::size_t at;
};
constexpr RecordField kRecords[] = {{"FirstRead", 0}, {"Write", 20}, {"SecondRead", 34}};
constexpr std::size_t kTerminatorAt = 54;

struct Tamper {
    std::string name;
    std::size_t at;         // byte position of the 32-bit field changed
    std::int32_t newValue;  // what the server leaves there
};

// Every header field of every record changed, plus the block-wide cases.
std::vector<Tamper> tamperCases() {
    std::vector<Tamper> cases;
    for (const RecordField& record : kRecords) {
        const std::string name = record.record;
        const bool isRead = record.at != 20;
        cases.push_back({name + "TypeSwapped", record.at, isRead ? kRecordWrite : kRecordRead});
        cases.push_back({name + "TypeUnknown", record.at, 7});
        cases.push_back({name + "TypeUpperBytesSet", record.at, 0x10000 | (isRead ? 1 : 2)});
        cases.push_back({name + "TypeEndsEarly", record.at, kRecordEnd});
        cases.push_back({name + "OffsetChanged", record.at + 4, isRead ? offsets::kClock.offset : 0x0F44});
        cases.push_back({name + "SizeSmaller", record.at + 8, 1});
        cases.push_back({name + "SizeLarger", record.at + 8, 6});
        cases.push_back({name + "SizeRunsPastTheBlock", record.at + 8, 0x7FFFFFFF});
        cases.push_back({name + "SizeNegative", record.at + 8, -1});
        if (isRead) {
            cases.push_back({name + "TokenOfTheOtherRead", record.at + 12, record.at == 0 ? 2 : 1});
            cases.push_back({name + "TokenUnknown", record.at + 12, 3});
            cases.push_back({name + "TokenRemoved", record.at + 12, 0});
            cases.push_back({name + "TokenLooksLikeAnAddress", record.at + 12, 0x0040A000});
        }
    }
    cases.push_back({"TerminatorRemoved", kTerminatorAt, kRecordRead});
    cases.push_back({"TerminatorUpperBytesSet", kTerminatorAt, 0x10000});
    return cases;
}

TEST(ReplyScan, TamperedReplyCopiesNothing) {
    for (const Tamper& tamper : tamperCases()) {
        SCOPED_TRACE(tamper.name);
        FakeLink fake;
        ASSERT_EQ(fake.open(), kOk);
        fake.platform.faults.tamper = [&tamper](std::span<std::byte> block) {
            writeLe32(block, tamper.at, tamper.newValue);
        };
        auto version = filledBytes<4>(0xAA);
        auto simulator = filledBytes<4>(0xBB);
        const auto wind = filledBytes<2>(0x11);
        std::int32_t code = -1;
        ASSERT_TRUE(fake.link.Link_Read(offsets::kServerVersion.offset, 4, version, code));
        ASSERT_TRUE(fake.link.Link_Write(offsets::kTemperature.offset, 2, wind, code));
        ASSERT_TRUE(fake.link.Link_Read(offsets::kSimulatorWord.offset, 4, simulator, code));
        ASSERT_EQ(fake.link.state().nextFree, kTerminatorAt);

        EXPECT_FALSE(fake.link.Link_Process(code));
        EXPECT_EQ(code, kBadData);
        EXPECT_EQ(version, filledBytes<4>(0xAA));
        EXPECT_EQ(simulator, filledBytes<4>(0xBB));
        EXPECT_EQ(fake.link.state().nextFree, 0U);
        EXPECT_TRUE(fake.link.isOpen());
    }
}

TEST(ReplyScan, UntouchedHeadersWithAnyDataAreAccepted) {
    FakeLink fake;
    ASSERT_EQ(fake.open(), kOk);
    // The server may put anything into data areas and the bytes behind the terminator.
    fake.platform.faults.tamper = [](std::span<std::byte> block) {
        writeLe32(block, 16, -5);
        writeLe16(block, 32, 0x2222);  // the write's data area
        writeLe32(block, kTerminatorAt + 4, 0x7777);
    };
    auto version = filledBytes<4>(0xAA);
    auto simulator = filledBytes<4>(0xBB);
    const auto wind = filledBytes<2>(0x11);
    std::int32_t code = -1;
    ASSERT_TRUE(fake.link.Link_Read(offsets::kServerVersion.offset, 4, version, code));
    ASSERT_TRUE(fake.link.Link_Write(offsets::kTemperature.offset, 2, wind, code));
    ASSERT_TRUE(fake.link.Link_Read(offsets::kSimulatorWord.offset, 4, simulator, code));
    EXPECT_TRUE(fake.link.Link_Process(code));
    EXPECT_EQ(code, kOk);
    EXPECT_EQ(readLe32(version), -5);
    EXPECT_EQ(readLe32(simulator), static_cast<std::int32_t>(0xFADE0006U));
}

}  // namespace
}  // namespace stratocue::simlink
