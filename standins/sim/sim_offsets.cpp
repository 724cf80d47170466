#include "standins/sim/sim_offsets.h"

#include <algorithm>
#include <cmath>

#include "common/units.h"

namespace stratocue::standins {

namespace {

constexpr double kTwoTo32 = units::kLongitudeUnitsPerCircle;  // the fraction's units per whole
constexpr std::int64_t kSecondsPerDay = 86400;

void writeFixedPoint(OffsetSpace& space, std::size_t offset, double value) {
    const double whole = std::floor(value);
    const double fraction = std::min((value - whole) * kTwoTo32, kTwoTo32 - 1);
    // The whole part wraps modulo 2^32, which puts a longitude of +180 degrees at -180.
    const auto wholeBits = static_cast<std::uint32_t>(static_cast<std::int64_t>(whole));
    space.setLe32(offset, static_cast<std::uint32_t>(fraction));
    space.setLe32(offset + 4, wholeBits);
}

}  // namespace

void writePosition(OffsetSpace& space, const FlightPoint& position) {
    writeFixedPoint(space, offsets::kLatitude.place(), position.latitudeDeg * units::kLatitudeUnitsPer90Degrees / 90.0);
    writeFixedPoint(space, offsets::kLongitude.place(),
                    position.longitudeDeg * units::kLongitudeUnitsPerCircle / units::kDegreesPerCircle);
    writeFixedPoint(space, offsets::kAltitude.place(), position.altitudeMetres);
}

void writeClock(OffsetSpace& space, std::int64_t secondOfDay) {
    const std::int64_t second = ((secondOfDay % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay;
    const std::size_t clock = offsets::kClock.place();
    space.setByte(clock, static_cast<std::uint8_t>(second / 3600));
    space.setByte(clock + 1, static_cast<std::uint8_t>(second / 60 % 60));
    space.setByte(clock + 2, static_cast<std::uint8_t>(second % 60));
}

}  // namespace stratocue::standins
