#pragma once

#include <cstdint>

#include "fdwinds/fd_winds.h"

namespace stratocue::inject {

// The forecast level that matches an aircraft `altitudeMetres` high: starting at 39K, each
// threshold (35500, 32000, 27000, 21000, 15000, 10500, 7500, 4500 feet) that lies strictly
// above the altitude moves one level down.
[[nodiscard]] fdwinds::FdLevel selectFdLevel(double altitudeMetres);

// The level's altitude in whole metres (its feet / 3.285, rounded to even).
[[nodiscard]] std::int16_t fdLevelAltitudeMetres(fdwinds::FdLevel level);

// True for 30K, 34K and 39K, whose temperatures the bulletin gives without their minus sign.
[[nodiscard]] bool fdLevelTemperatureNegated(fdwinds::FdLevel level);

}  // namespace stratocue::inject
