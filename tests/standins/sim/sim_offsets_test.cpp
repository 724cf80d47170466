#include <gtest/gtest.h>

#include "common/sim_offsets.h"
#include "standins/sim/sim_offsets.h"

namespace stratocue::standins {
namespace {

std::int32_t signedAt(const OffsetSpace& space, std::size_t offset) {
    return static_cast<std::int32_t>(space.getLe32(offset));
}

TEST(SimOffsets, PositionAsTheProgramReadsIt) {
    struct Case {
        const char* name;
        FlightPoint position;
        std::int32_t latitudeHigh;
        std::int32_t longitudeHigh;
        std::int32_t altitudeWhole;
        std::uint32_t altitudeFraction;
    };
    const Case cases[] = {
        {"Equator", {0, 0, 0, 0}, 0, 0, 0, 0},
        {"NorthPole", {0, 90, 90, 100.5}, 10001750, 0x40000000, 100, 0x80000000U},
        {"SouthWest", {0, -45, -90, 12.25}, -5000875, -0x40000000, 12, 0x40000000U},
        {"DateLineWraps", {0, 0, 180, 0}, 0, INT32_MIN, 0, 0},
        {"BelowSeaLevelFloors", {0, 0, 0, -0.25}, 0, 0, -1, 0xC0000000U},
        {"FractionOfLatitudeUnit", {0, 51.5, 0, 0}, 5723223, 0, 0, 0},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        OffsetSpace space;
        writePosition(space, test.position);
        EXPECT_EQ(signedAt(space, offsets::kLatitude.place() + 4), test.latitudeHigh);
        EXPECT_EQ(signedAt(space, offsets::kLongitude.place() + 4), test.longitudeHigh);
        EXPECT_EQ(signedAt(space, offsets::kAltitude.place() + 4), test.altitudeWhole);
        EXPECT_EQ(space.getLe32(offsets::kAltitude.place()), test.altitudeFraction);
    }
}

TEST(SimOffsets, ClockBytes) {
    struct Case {
        const char* name;
        std::int64_t secondOfDay;
        std::uint8_t hour;
        std::uint8_t minute;
        std::uint8_t second;
    };
    const Case cases[] = {
        {"Midnight", 0, 0, 0, 0},
        {"Afternoon", 14 * 3600 + 5 * 60 + 9, 14, 5, 9},
        {"LastSecond", 86399, 23, 59, 59},
        {"NextDayWraps", 86400 + 61, 0, 1, 1},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        OffsetSpace space;
        writeClock(space, test.secondOfDay);
        EXPECT_EQ(space.getByte(offsets::kClock.place()), test.hour);
        EXPECT_EQ(space.getByte(offsets::kClock.place() + 1), test.minute);
        EXPECT_EQ(space.getByte(offsets::kClock.place() + 2), test.second);
    }
}

}  // namespace
}  // namespace stratocue::standins
