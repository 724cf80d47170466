#pragma once

#include <cstddef>
#include <cstdint>

#include "standins/server/offset_space.h"
#include "standins/sim/flight_path.h"

namespace stratocue::standins {

// The simulator offsets the stand-in keeps up to date or watches.
constexpr std::size_t kClockOffset = 0x0238;     // hour, minute, second bytes
constexpr std::size_t kLatitudeOffset = 0x0560;  // 64-bit fixed point, see writePosition
constexpr std::size_t kLongitudeOffset = 0x0568;
constexpr std::size_t kAltitudeOffset = 0x0570;
constexpr std::size_t kMessageTriggerOffset = 0x32FA;  // -1 shows the message
constexpr std::size_t kServerVersionOffset = 0x3304;
constexpr std::size_t kSimulatorWordOffset = 0x3308;
constexpr std::size_t kMessageOffset = 0x3380;  // message text, ended by a zero

// Writes the aircraft's position, each value as 64 bits: the low 32 bits (unsigned) hold the
// fraction in units of 2^-32, the high 32 bits (signed) the whole part, rounded down.
// Latitude in units of 90 / 10001750 degree; longitude in units of 360 / 2^32 degree,
// wrapped into the signed range; altitude in metres.
void writePosition(OffsetSpace& space, const FlightPoint& position);

// Writes the clock of the given second of the day as hour, minute and second bytes.
void writeClock(OffsetSpace& space, std::int64_t secondOfDay);

}  // namespace stratocue::standins
