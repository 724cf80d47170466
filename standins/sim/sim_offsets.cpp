#include "standins/sim/sim_offsets.h"

#include <algorithm>
#include <cmath>

namespace stratocue::standins {

namespace {

constexpr double kTwoTo32 = 4294967296.0;
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
    writeFixedPoint(space, kLatitudeOffset, position.latitudeDeg * 10001750.0 / 90.0);
    writeFixedPoint(space, kLongitudeOffset, position.longitudeDeg * kTwoTo32 / 360.0);
    writeFixedPoint(space, kAltitudeOffset, position.altitudeMetres);
}

void writeClock(OffsetSpace& space, std::int64_t secondOfDay) {
    const std::int64_t second = ((secondOfDay % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay;
    space.setByte(kClockOffset, static_cast<std::uint8_t>(second / 3600));
    space.setByte(kClockOffset + 1, static_cast<std::uint8_t>(second / 60 % 60));
    space.setByte(kClockOffset + 2, static_cast<std::uint8_t>(second % 60));
}

}  // namespace stratocue::standins
