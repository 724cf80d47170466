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
        word(simlink::kRecordRead).word(offset).word(size).word(token);
        bytes_.resize(bytes_.size() + size);
        return *this;
    }
    // A read as clients built for 64-bit addresses send it: an 8-byte destination field.
    BlockBuilder& read64(std::uint32_t offset, std::uint32_t size, std::uint64_t destination = 0x00007FF612345678) {
        word(kRecordRead64).word(offset).word(size);
        word(static_cast<std::uint32_t>(destination)).word(static_cast<std::uint32_t>(destination >> 32));
        bytes_.resize(bytes_.size() + size);
        return *this;
    }
    BlockBuilder& write(std::uint32_t offset, std::vector<std::byte> data) {
        word(simlink::kRecordWrite).word(offset).word(static_cast<std::uint32_t>(data.size()));
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
        {"UnknownTypeFive", BlockBuilder().word(5).word(offsets::kServerVersion.offset).word(0).end().bytes()},
        {"Read64WithoutItsDestinationsHighHalf",
         BlockBuilder().word(kRecordRead64).word(offsets::kServerVersion.offset).word(0).word(1).bytes()},
        {"Read64RunsPastTheBlock", BlockBuilder()
                                       .word(kRecordRead64)
                                       .word(offsets::kServerVersion.offset)
                                       .word(0x7FFFFFFF)
                                       .word(1)
                                       .word(0)
                                       .end()
                                       .bytes()},
        {"Read64SizeAllOnes", BlockBuilder()
                                  .word(kRecordRead64)
                                  .word(offsets::kServerVersion.offset)
                                  .word(0xFFFFFFFF)
                                  .word(1)
                                  .word(0)
                                  .end()
                                  .bytes()},
        {"Read64PastTheOffsets", BlockBuilder().read64(0xFFFF, 2).end().bytes()},
        {"Read64OffsetAllOnes", BlockBuilder().read64(0xFFFFFFFF, 0).end().bytes()},
        {"Read64WithoutTerminator", BlockBuilder().read64(offsets::kServerVersion.offset, 4).bytes()},
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

// Every shorter piece of a block holding 64-bit reads misses its terminator or cuts a record
// short; each is refused untouched.
TEST(RequestBlock, EveryCutShort64BitBlockIsRefusedUntouched) {
    const std::vector<std::byte> whole = BlockBuilder()
                                             .read64(offsets::kServerVersion.offset, 4)
                                             .write(offsets::kTemperature.offset, bytesOf({1, 2}))
                                             .read64(offsets::kSimulatorWord.offset, 0)
                                             .end()
                                             .bytes();
    ASSERT_TRUE(parseRequestBlock(whole).has_value());
    for (std::size_t length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE(length);
        const std::vector<std::byte> piece(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        std::vector<std::byte> block = piece;  // exactly sized, so any overrun is caught
        OffsetSpace space;
        int notices = 0;
        EXPECT_EQ(processRequestBlock(block, space, [&](const WriteNotice&) { ++notices; }), kReplyRefused);
        EXPECT_EQ(block, piece);
        EXPECT_EQ(notices, 0);
    }
}

TEST(RequestBlock, ServesThe64BitReadLikeThe32BitOne) {
    OffsetSpace space;
    space.setLe32(offsets::kServerVersion.offset, 0x28100004);
    space.setLe32(offsets::kSimulatorWord.offset, 0xFADE0006);
    std::vector<std::byte> block = BlockBuilder()
                                       .read64(offsets::kServerVersion.offset, 4)
                                       .read(offsets::kSimulatorWord.offset, 4)
                                       .write(offsets::kTemperature.offset, bytesOf({0x0E, 0x0F}))
                                       .read64(offsets::kTemperature.offset, 2, 0xFFFFFFFFFFFFFFF0)
                                       .read64(offsets::kLatitude.offset, 0)
                                       .end()
                                       .bytes();
    const std::vector<std::byte> before = block;
    EXPECT_EQ(processRequestBlock(block, space, {}), kReplyServed);
    EXPECT_EQ(simlink::readLeU32(block, 20), 0x28100004U);  // behind the 20-byte header
    EXPECT_EQ(simlink::readLeU32(block, 40), 0xFADE0006U);  // behind the 16-byte header
    EXPECT_EQ(block[78], std::byte{0x0E});                  // the later 64-bit read sees the write
    EXPECT_EQ(block[79], std::byte{0x0F});
    // Headers stay as the client wrote them, the 64-bit destinations included.
    EXPECT_TRUE(std::equal(block.begin(), block.begin() + 20, before.begin()));
    EXPECT_TRUE(std::equal(block.begin() + 58, block.begin() + 78, before.begin() + 58));
    const auto records = parseRequestBlock(block);
    ASSERT_TRUE(records.has_value());
    ASSERT_EQ(records->size(), 5U);
    EXPECT_EQ((*records)[0], (RequestRecord{kRecordRead64, offsets::kServerVersion.offset, 4, 20}));
    EXPECT_EQ((*records)[3], (RequestRecord{kRecordRead64, offsets::kTemperature.offset, 2, 78}));
    EXPECT_EQ((*records)[4], (RequestRecord{kRecordRead64, offsets::kLatitude.offset, 0, 100}));
}

// The link version word belongs to the server: a client's write to it is reported but not
// applied, and a write that covers it changes only the bytes around it.
TEST(RequestBlock, LinkVersionWordIsReadOnly) {
    struct Case {
        const char* name;
        std::uint32_t offset;
        std::vector<std::byte> data;
        std::uint32_t serverWordAfter;  // the 4 bytes at the simulator word
    };
    const Case cases[] = {
        {"VersionWordItself", offsets::kLibraryVersion.offset, bytesOf({0, 0}), 0xFADE0006},
        {"SecondByteOnly", offsets::kLibraryVersion.offset + 1, bytesOf({0x12}), 0xFADE0006},
        {"WholeSimulatorWord", offsets::kSimulatorWord.offset, bytesOf({0x34, 0x12, 0, 0}), 0xFADE1234},
        {"JustBeforeTheWordIsApplied", offsets::kSimulatorWord.offset, bytesOf({0x07, 0x00}), 0xFADE0007},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        OffsetSpace space;
        space.setLe32(offsets::kSimulatorWord.offset, 0xFADE0006);
        std::vector<std::byte> block =
            BlockBuilder().write(test.offset, test.data).read(offsets::kSimulatorWord.offset, 4).end().bytes();
        std::vector<std::vector<std::byte>> notices;
        EXPECT_EQ(processRequestBlock(block, space,
                                      [&](const WriteNotice& notice) {
                                          notices.emplace_back(notice.bytes.begin(), notice.bytes.end());
                                      }),
                  kReplyServed);
        EXPECT_EQ(space.getLe32(offsets::kSimulatorWord.offset), test.serverWordAfter);
        EXPECT_EQ(simlink::readLeU32(block, 12 + test.data.size() + 16), test.serverWordAfter);
        EXPECT_EQ(notices, std::vector<std::vector<std::byte>>{test.data});  // what the client sent
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
