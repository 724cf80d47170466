#pragma once

#include <cstdint>
#include <string_view>

namespace stratocue::inject {

// The simulator offsets the weather writers fill.
namespace offsets {
constexpr std::int32_t kLayer1Base = 0x0F2E;
constexpr std::int32_t kLayer1Top = 0x0F2C;
constexpr std::int32_t kLayer1Coverage = 0x0F30;
constexpr std::int32_t kLayer1Type = 0x0F86;
constexpr std::int32_t kLayer2Base = 0x0F26;
constexpr std::int32_t kLayer2Top = 0x0F24;
constexpr std::int32_t kLayer2Coverage = 0x0F28;
constexpr std::int32_t kLayer2Type = 0x0F80;
constexpr std::int32_t kLayer3Base = 0x0F1E;
constexpr std::int32_t kLayer3Top = 0x0F1C;
constexpr std::int32_t kLayer3Coverage = 0x0F20;
constexpr std::int32_t kLayer3Type = 0x0F7A;
constexpr std::int32_t kPrecipitation = 0x04D2;        // byte 0 intensity, byte 1 type
constexpr std::int32_t kTemperature = 0x0F42;          // degrees Celsius x 256
constexpr std::int32_t kTemperatureAltitude = 0x0F40;  // metres
constexpr std::int32_t kWindAloftAltitude = 0x0F70;
constexpr std::int32_t kGust = 0x0F78;           // knots
constexpr std::int32_t kWindSpeed = 0x0F72;      // knots
constexpr std::int32_t kWindDirection = 0x0F74;  // 0..65535 for a full circle
constexpr std::int32_t kVisibility = 0x0F8C;     // statute miles x 100
constexpr std::int32_t kPressure = 0x0F48;       // hPa x 16
constexpr std::int32_t kDewPoint = 0x04D4;       // degrees Celsius x 256
constexpr std::int32_t kMessageText = 0x3380;
constexpr std::int32_t kMessageShow = 0x32FA;
}  // namespace offsets

// Written to kWindAloftAltitude whenever winds aloft are in use.
constexpr std::int16_t kWindAloftAltitudeValue = 30000;
// Written to kMessageShow after a message text.
constexpr std::int16_t kMessageShowValue = -1;
// Every on-screen message starts with this.
inline constexpr std::string_view kMessagePrefix = "Stratocue->";

// Feet to metres, as the simulator's heights are metres.
constexpr double kFeetPerMetre = 3.285;
// Height above the station below which the surface temperature and wind apply.
constexpr double kSurfaceLayerMetres = 2500.0 / kFeetPerMetre;

}  // namespace stratocue::inject
