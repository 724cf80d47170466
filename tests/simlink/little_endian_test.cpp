#include <gtest/gtest.h>

#include <array>

#include "common/fault.h"
#include "simlink/little_endian.h"

namespace stratocue::simlink {
namespace {

TEST(LittleEndian, ValuesRoundTripInWireOrder) {
    std::array<std::byte, 16> bytes{};
    writeLe32(bytes, 0, -2);
    writeLe16(bytes, 4, 0x1234);
    writeLeU32(bytes, 6, 0xFADE0006U);
    EXPECT_EQ(bytes[0], std::byte{0xFE});
    EXPECT_EQ(bytes[3], std::byte{0xFF});
    EXPECT_EQ(bytes[4], std::byte{0x34});
    EXPECT_EQ(bytes[5], std::byte{0x12});
    EXPECT_EQ(bytes[6], std::byte{0x06});
    EXPECT_EQ(bytes[9], std::byte{0xFA});
    EXPECT_EQ(readLe32(bytes, 0), -2);
    EXPECT_EQ(readLe16(bytes, 4), 0x1234);
    EXPECT_EQ(readLeU32(bytes, 6), 0xFADE0006U);
    EXPECT_EQ(readLe32(bytes, 6), static_cast<std::int32_t>(0xFADE0006U));
}

TEST(LittleEndian, RangesOutsideTheBytesFault) {
    struct Case {
        const char* name;
        std::size_t at;
    };
    const Case cases[] = {{"LastBytesTooFew", 13}, {"PastTheEnd", 17}, {"HugePosition", static_cast<std::size_t>(-2)}};
    std::array<std::byte, 16> bytes{};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_THROW((void)readLe32(bytes, test.at), RuntimeFault);
        EXPECT_THROW(writeLe32(bytes, test.at, 1), RuntimeFault);
    }
    EXPECT_EQ(bytes, (std::array<std::byte, 16>{}));
}

}  // namespace
}  // namespace stratocue::simlink
