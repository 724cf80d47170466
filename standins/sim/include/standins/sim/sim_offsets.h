#pragma once

#include <cstddef>
#include <cstdint>

#include "common/sim_offsets.h"
#include "standins/server/offset_space.h"
#include "standins/sim/flight_path.h"

namespace stratocue::standins {

// Writes the aircraft's position at offsets::kLatitude, kLongitude and kAltitude, each value
// as 64 bits: the low 32 bits (unsigned) hold the fraction in units of 2^-32, the high 32
// bits (signed) the whole part, rounded down. Latitude in units of 90 / 10001750 degree;
// longitude in units of 360 / 2^32 degree, wrapped into the signed range; altitude in metres.
void writePosition(OffsetSpace& space, const FlightPoint& position);

// Writes the clock of the given second of the day as hour, minute and second bytes at
// offsets::kClock.
void writeClock(OffsetSpace& space, std::int64_t secondOfDay);

}  // namespace stratocue::standins
