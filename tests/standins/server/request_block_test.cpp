#include <gtest/gtest.h>

#include <vector>

#include "common/sim_offsets.h"
#include "simlink/little_endian.h"
#include "standins/server/request_block.h"

namespace stratocue::standins {
namespace {

using simlink::writeLeU32;

// Builds request blocks record by record, exactly as long as what was added.
class BlockBuilder {
public:
    BlockBuilder& read(std::uint32_t offset, std::uint32_t size, std::uint32_t token = 1) {
        word(1).word(offset).word(size).word(token);
        bytes_.resize(bytes_.size() + size);
        return *this;
    }
    BlockBuilder& write(std::uint32_t offset, std::vector<std::byte> data) {
        word(2).word(offset).word(static_cast<std::uint32_t>(data.size()));
        bytes_.insert(bytes_.end(), data.begin(), data.end());
        return *this;
    }
    BlockBuilder& word(std::uint32_t value) {
        bytes_.resize(bytes_.size() + 4);
        writeLeU32(bytes_, bytes_.size() - 4, value);
        return *this;
    }
    BlockBuilder& end() { return word(0); }
    [[nodiscard]] std::vector<std::byte> bytes() const { return bytes_; }

private:
    std::vector<std::byte> bytes_;
};

std::vector<std::byte> bytesOf(std::initializer_list<unsigned> values) {
    std::vector<std::byte> bytes;
    for (const unsigned value : values) {
        bytes.push_back(static_cast<std::byte>(value));
    }
    return bytes;
}

TEST(RequestBlock, ServesReadsAndWritesInOrder) {
    OffsetSpace space;
    space.setLe32(offsets::kServerVersion.offset, 0x28100004);
    std::vector<std::byte> block = BlockBuilder()
                                       .read(offsets::kServerVersion.offset, 4)
                                       .write(offsets::kTemperature.offset, bytesOf({0x0E, 0x0F}))
                                       .read(offsets::kTemperature.offset, 2)
                                       .read(offsets::kLatitude.offset, 0)
                                       .end()
                                       .bytes();
    std::vector<WriteNotice> notices;
    EXPECT_EQ(processRequestBlock(block, space, [&](const WriteNotice& n) { notices.push_back(n); }), kReplyServed);
    EXPECT_EQ(simlink::readLeU32(block, 16), 0x28100004U);
    EXPECT_EQ(block[50], std::byte{0x0E});  // the later read sees the earlier write
    EXPECT_EQ(block[51], std::byte{0x0F});
    EXPECT_EQ(space.getLe16(offsets::kTemperature.offset), 0x0F0E);
    ASSERT_EQ(notices.size(), 1U);
    EXPECT_EQ(notices[0].offset, 0x0F42U);
    EXPECT_EQ(std::vector<std::byte>(notices[0].bytes.begin(), notices[0].bytes.end()), bytesOf({0x0E, 0x0F}));
    const auto records = parseRequestBlock(block);
    ASSERT_TRUE(records.has_value());
    EXPECT_EQ(records->size(), 4U);
    EXPECT_EQ((*records)[1], (RequestRecord{2, offsets::kTemperature.offset, 2, 32}));
}

TEST(RequestBlock, MalformedBlocksAreRefusedUntouched) {
    struct Case {
        const char* name;
        std::vector<std::byte> block;
    };
    const Case cases[] = {
        {"EmptyBlock", {}},
        {"TypeCutShort", bytesOf({1, 0})},
        {"NoTerminator", BlockBuilder().read(offsets::kServerVersion.offset, 4).bytes()},
        {"TerminatorCutShort",
         [] {
             auto bytes = BlockBuilder().write(offsets::kTemperature.offset, bytesOf({1, 2})).bytes();
             bytes.push_back(std::byte{0});
             return bytes;
         }()},
        {"UnknownType", BlockBuilder().word(3).word(0).word(0).end().bytes()},
        {"ReadHeaderCutShort", BlockBuilder().word(1).word(offsets::kServerVersion.offset).word(4).bytes()},
        {"WriteHeaderCutShort", BlockBuilder().word(2).word(offsets::kTemperature.offset).bytes()},
        {"ReadRunsPastTheBlock",
         BlockBuilder().word(1).word(offsets::kServerVersion.offset).word(0x7FFFFFFF).word(1).end().bytes()},
        {"WriteRunsPastTheBlock",
         BlockBuilder().word(2).word(offsets::kTemperature.offset).word(0xFFFFFFFF).end().bytes()},
        {"ReadPastTheOffsets", BlockBuilder().read(0xFFFF, 2).end().bytes()},
        {"WritePastTheOffsets", BlockBuilder().write(0xFFFFFFFF, bytesOf({1, 2})).end().bytes()},
        {"EmptyReadPastTheOffsets", BlockBuilder().read(0x10001, 0).end().bytes()},
        {"GoodRecordThenBadOne",
         BlockBuilder().write(offsets::kTemperature.offset, bytesOf({1, 2})).word(9).end().bytes()},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        OffsetSpace space;
        space.setLe32(offsets::kServerVersion.offset, 0x28100004);
        std::vector<std::byte> block = test.block;  // exactly sized, so any overrun is caught
        int notices = 0;
        EXPECT_EQ(processRequestBlock(block, space, [&](const WriteNotice&) { ++notices; }), kReplyRefused);
        EXPECT_EQ(block, test.block);
        EXPECT_EQ(space.getLe16(offsets::kTemperature.offset), 0);
        EXPECT_EQ(notices, 0);
        EXPECT_FALSE(parseRequestBlock(test.block).has_value());
    }
}

TEST(RequestBlock, ReadAtTheVeryEndOfTheOffsets) {
    OffsetSpace space;
    space.setLe16(0xFFFE, 0xBEEF);
    std::vector<std::byte> block = BlockBuilder().read(0xFFFE, 2).end().bytes();
    EXPECT_EQ(processRequestBlock(block, space, {}), kReplyServed);
    EXPECT_EQ(simlink::readLe16(block, 16), static_cast<std::int16_t>(0xBEEF));
}

}  // namespace
}  // namespace stratocue::standins
