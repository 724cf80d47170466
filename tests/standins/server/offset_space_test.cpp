#include <gtest/gtest.h>

#include "common/fault.h"
#include "common/sim_offsets.h"
#include "standins/server/offset_space.h"

namespace stratocue::standins {
namespace {

TEST(OffsetSpace, ValuesAreLittleEndianBytes) {
    OffsetSpace space;
    space.setLe32(offsets::kServerVersion.offset, 0x28100004);
    space.setLe16(offsets::kTemperature.offset, 0xFFFE);
    space.setByte(0xFFFF, 7);
    EXPECT_EQ(space.getByte(offsets::kServerVersion.offset), 0x04);
    EXPECT_EQ(space.getByte(0x3307), 0x28);
    EXPECT_EQ(space.getLe32(offsets::kServerVersion.offset), 0x28100004U);
    EXPECT_EQ(space.getLe16(offsets::kTemperature.offset), 0xFFFE);
    EXPECT_EQ(space.getByte(0xFFFF), 7);
    EXPECT_EQ(space.getLe32(0), 0U);
}

TEST(OffsetSpace, RangesOutsideTheSpace) {
    struct Case {
        const char* name;
        std::size_t offset;
        std::size_t count;
        bool inside;
    };
    const Case cases[] = {
        {"WholeSpace", 0, kOffsetSpaceBytes, true},
        {"EmptyAtTheEnd", kOffsetSpaceBytes, 0, true},
        {"LastByte", 0xFFFF, 1, true},
        {"OneByteTooMany", 0xFFFF, 2, false},
        {"OffsetPastTheEnd", 0x10001, 0, false},
        {"CountWrapsAround", 1, static_cast<std::size_t>(-1), false},
    };
    OffsetSpace space;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(space.bytes(test.offset, test.count).size(), test.inside ? test.count : 0U);
    }
    EXPECT_THROW((void)space.getLe32(0xFFFD), RuntimeFault);
    EXPECT_THROW(space.setLe16(0xFFFF, 1), RuntimeFault);
    EXPECT_THROW(space.setByte(0x10000, 1), RuntimeFault);
}

}  // namespace
}  // namespace stratocue::standins
