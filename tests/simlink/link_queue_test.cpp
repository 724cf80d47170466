#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/sim_offsets.h"
#include "tests/simlink/fake_link.h"

namespace stratocue::simlink {
namespace {

// The largest data that fits an empty block behind each header, the terminator counted.
constexpr std::int32_t kLargestRead = static_cast<std::int32_t>(kUsableBytes - kReadHeaderBytes - kTerminatorBytes);
constexpr std::int32_t kLargestWrite = static_cast<std::int32_t>(kUsableBytes - kWriteHeaderBytes - kTerminatorBytes);

TEST(LinkQueue, CapacityCountsHeaderAndTerminator) {
    struct Case {
        const char* name;
        bool read;
        std::int32_t size;
        std::int32_t expectedCode;
    };
    const Case cases[] = {
        {"LargestReadAccepted", true, kLargestRead, kOk},
        {"ReadOneByteMoreRefused", true, kLargestRead + 1, kBlockFull},
        {"LargestWriteAccepted", false, kLargestWrite, kOk},
        {"WriteOneByteMoreRefused", false, kLargestWrite + 1, kBlockFull},
        {"HugeReadRefused", true, INT32_MAX, kBlockFull},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        FakeLink fake;
        ASSERT_EQ(fake.open(), kOk);
        // The huge read discards its bytes, so it reaches the capacity test.
        std::vector<std::byte> variable(test.size == INT32_MAX ? 0 : static_cast<std::size_t>(test.size));
        std::int32_t code = -1;
        const bool queued = test.read ? fake.link.Link_Read(0, test.size, variable, code)
                                      : fake.link.Link_Write(0, test.size, variable, code);
        EXPECT_EQ(queued, test.expectedCode == kOk);
        EXPECT_EQ(code, test.expectedCode);
        const std::size_t header = test.read ? kReadHeaderBytes : kWriteHeaderBytes;
        EXPECT_EQ(fake.link.state().nextFree,
                  test.expectedCode == kOk ? header + static_cast<std::size_t>(test.size) : 0U);
    }
}

TEST(LinkQueue, RefusedRequestLeavesTheQueueUsable) {
    FakeLink fake;
    ASSERT_EQ(fake.open(), kOk);
    std::array<std::byte, 4> version{};
    std::int32_t code = -1;
    ASSERT_TRUE(fake.link.Link_Read(offsets::kServerVersion.offset, 4, version, code));
    std::vector<std::byte> tooMuch(static_cast<std::size_t>(kLargestRead));
    EXPECT_FALSE(fake.link.Link_Read(0, kLargestRead, tooMuch, code));
    EXPECT_EQ(code, kBlockFull);
    EXPECT_EQ(fake.link.state().nextFree, 20U);
    EXPECT_TRUE(fake.link.Link_Process(code));
    EXPECT_EQ(readLe32(version), 0x28100004);
}

TEST(LinkQueue, RecordsAreLaidOutByteByByte) {
    FakeLink fake;
    ASSERT_EQ(fake.open(), kOk);
    std::array<std::byte, 2> variable{};
    const std::array<std::byte, 3> data{std::byte{0xAB}, std::byte{0xCD}, std::byte{0xEF}};
    std::int32_t code = -1;
    ASSERT_TRUE(fake.link.Link_Read(offsets::kClock.offset, 2, variable, code));
    ASSERT_TRUE(fake.link.Link_Write(offsets::kTemperature.offset, 3, data, code));
    ASSERT_TRUE(fake.link.Link_Read(offsets::kLatitude.offset, 0, {}, code));
    const std::span<const std::byte> block = fake.link.state().view;
    const std::vector<std::int32_t> words = {readLe32(block, 0),  readLe32(block, 4),  readLe32(block, 8),
                                             readLe32(block, 12), readLe32(block, 18), readLe32(block, 22),
                                             readLe32(block, 26), readLe32(block, 33), readLe32(block, 37),
                                             readLe32(block, 41), readLe32(block, 45)};
    EXPECT_EQ(words, (std::vector<std::int32_t>{1, offsets::kClock.offset, 2, 1, 2, offsets::kTemperature.offset, 3, 1,
                                                offsets::kLatitude.offset, 0, 0}));
    EXPECT_EQ(block[16], std::byte{0});  // data area of a read is zeroed
    EXPECT_EQ(block[30], std::byte{0xAB});
    EXPECT_EQ(block[32], std::byte{0xEF});
    EXPECT_EQ(fake.link.state().nextFree, 49U);  // a read of 0 bytes is its 16-byte header
}

TEST(LinkQueue, CallerErrorsAreRefusedWithoutQueueing) {
    struct Case {
        const char* name;
        std::function<bool(Link&, std::int32_t&)> call;
    };
    std::array<std::byte, 4> four{};
    const Case cases[] = {
        {"ReadIntoShorterVariable",
         [&](Link& l, std::int32_t& c) { return l.Link_Read(offsets::kServerVersion.offset, 8, four, c); }},
        {"ReadOfNegativeSize",
         [&](Link& l, std::int32_t& c) { return l.Link_Read(offsets::kServerVersion.offset, -1, four, c); }},
        {"WriteFromShorterSource",
         [&](Link& l, std::int32_t& c) { return l.Link_Write(offsets::kTemperature.offset, 5, four, c); }},
        {"WriteOfNegativeSize",
         [&](Link& l, std::int32_t& c) { return l.Link_Write(offsets::kTemperature.offset, -4, four, c); }},
        {"TextOfNegativeSize",
         [&](Link& l, std::int32_t& c) { return l.Link_WriteText(offsets::kMessageText.offset, -1, "x", c); }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        FakeLink fake;
        ASSERT_EQ(fake.open(), kOk);
        std::int32_t code = -1;
        EXPECT_FALSE(test.call(fake.link, code));
        EXPECT_EQ(code, kBadData);
        EXPECT_EQ(fake.link.state().nextFree, 0U);
    }
}

TEST(LinkQueue, ClosedLinkRefusesEveryCall) {
    struct Case {
        const char* name;
        bool openAndClose;
    };
    const Case cases[] = {{"NeverOpened", false}, {"Closed", true}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        FakeLink fake;
        fake.link.Link_Init();
        if (test.openAndClose) {
            ASSERT_EQ(fake.open(), kOk);
            fake.link.Link_Close();
        }
        std::array<std::byte, 4> variable{};
        std::int32_t code = -1;
        EXPECT_FALSE(fake.link.Link_Read(offsets::kServerVersion.offset, 4, variable, code));
        EXPECT_EQ(code, kNotOpen);
        code = -1;
        EXPECT_FALSE(fake.link.Link_Read(offsets::kServerVersion.offset, 40, variable, code));  // even a bad call
        EXPECT_EQ(code, kNotOpen);
        code = -1;
        EXPECT_FALSE(fake.link.Link_Write(offsets::kTemperature.offset, 4, variable, code));
        EXPECT_EQ(code, kNotOpen);
        code = -1;
        EXPECT_FALSE(fake.link.Link_WriteText(offsets::kMessageText.offset, 3, "ab", code));
        EXPECT_EQ(code, kNotOpen);
        code = -1;
        EXPECT_FALSE(fake.link.Link_Process(code));
        EXPECT_EQ(code, kNotOpen);
    }
}

TEST(LinkQueue, TextIsPaddedWithZerosToItsSize) {
    struct Case {
        const char* name;
        std::string text;
        std::int32_t size;
        std::vector<std::byte> expected;
    };
    const auto bytes = [](std::string_view text) {
        std::vector<std::byte> out;
        for (const char c : text) {
            out.push_back(static_cast<std::byte>(c));
        }
        return out;
    };
    const Case cases[] = {
        {"LengthPlusOneAddsTheZero", "Hi", 3, bytes(std::string_view("Hi\0", 3))},
        {"TextWithItsZeroPlusOneMore", std::string("Hi\0", 3), 4, bytes(std::string_view("Hi\0\0", 4))},
        {"LongerTextIsCut", "Hello", 2, bytes("He")},
        {"AnsiBytesKept", "270\xB0", 4, bytes("270\xB0")},
        {"EmptyTextGivesZeros", "", 2, bytes(std::string_view("\0\0", 2))},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        FakeLink fake;
        ASSERT_EQ(fake.open(), kOk);
        std::int32_t code = -1;
        ASSERT_TRUE(fake.link.Link_WriteText(offsets::kMessageText.offset, test.size, test.text, code));
        ASSERT_TRUE(fake.link.Link_Process(code));
        ASSERT_FALSE(fake.platform.writes().empty());
        EXPECT_EQ(fake.platform.writes().back(), (standins::FakeWrite{offsets::kMessageText.offset, test.expected}));
    }
}

}  // namespace
}  // namespace stratocue::simlink
