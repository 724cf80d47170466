#pragma once

#include <cstdint>
#include <string_view>

#include "common/units.h"

namespace stratocue::inject {

// Written to offsets::kWindAloftAltitude whenever winds aloft are in use.
constexpr std::int16_t kWindAloftAltitudeValue = 30000;
// Written to offsets::kMessageShow after a message text.
constexpr std::int16_t kMessageShowValue = -1;
// Every on-screen message starts with this.
inline constexpr std::string_view kMessagePrefix = "Stratocue->";

// Height above the station below which the surface temperature and wind apply: 2500 ft.
constexpr double kSurfaceLayerMetres = 2500.0 / units::kFeetPerMetre;

}  // namespace stratocue::inject
