#pragma once

#include <cstddef>
#include <cstdint>

// Every simulator offset the program, the stand-in simulator and the tests use, once, with
// its size. Offsets are places in the simulator's 64 KiB offset space; values little-endian.
namespace stratocue::offsets {

struct SimOffset {
    std::int32_t offset;     // as the link's records carry it
    std::int32_t sizeBytes;  // 0 for a text of variable length

    // The offset as a place in the 64 KiB offset space.
    [[nodiscard]] constexpr std::size_t place() const { return static_cast<std::size_t>(offset); }
};

// The server's words, read and written by the link's version handshake.
inline constexpr SimOffset kServerVersion{0x3304, 4};
inline constexpr SimOffset kSimulatorWord{0x3308, 4};   // 0xFADE in the high half, the simulator below
inline constexpr SimOffset kLibraryVersion{0x330A, 2};  // the link's own version, inside kSimulatorWord

// The aircraft's position: 64-bit fixed point, the fraction (units of 2^-32) in the low 32
// bits and the whole part, rounded down, in the high 32 bits.
inline constexpr SimOffset kLatitude{0x0560, 8};   // units of 90 / 10001750 degree
inline constexpr SimOffset kLongitude{0x0568, 8};  // units of 360 / 2^32 degree
inline constexpr SimOffset kAltitude{0x0570, 8};   // metres
// The whole parts of the three, which the program reads every tick.
inline constexpr SimOffset kLatitudeWhole{0x0564, 4};
inline constexpr SimOffset kLongitudeWhole{0x056C, 4};
inline constexpr SimOffset kAltitudeWhole{0x0574, 4};
inline constexpr SimOffset kClock{0x0238, 3};  // hour, minute and second bytes

// The simulator's own clouds and temperature, read every tick for the status window.
inline constexpr SimOffset kUpperCloudCoverage{0x0E9E, 2};  // 65535 = 8 eighths
inline constexpr SimOffset kUpperCloudCeiling{0x0E9A, 2};
inline constexpr SimOffset kUpperCloudBase{0x0E9C, 2};
inline constexpr SimOffset kLowerCloudCoverage{0x0EA6, 2};
inline constexpr SimOffset kLowerCloudCeiling{0x0EA2, 2};
inline constexpr SimOffset kLowerCloudBase{0x0EA4, 2};
inline constexpr SimOffset kStormCloudCoverage{0x0EAE, 2};
inline constexpr SimOffset kStormCloudCeiling{0x0EAA, 2};
inline constexpr SimOffset kStormCloudBase{0x0EAC, 2};
inline constexpr SimOffset kAmbientTemperature{0x0E8C, 2};  // degrees Celsius x 256

// The weather writers' values.
inline constexpr SimOffset kLayer1Base{0x0F2E, 2};  // metres
inline constexpr SimOffset kLayer1Top{0x0F2C, 2};
inline constexpr SimOffset kLayer1Coverage{0x0F30, 2};  // 65535 = the whole sky
inline constexpr SimOffset kLayer1Type{0x0F86, 2};
inline constexpr SimOffset kLayer2Base{0x0F26, 2};
inline constexpr SimOffset kLayer2Top{0x0F24, 2};
inline constexpr SimOffset kLayer2Coverage{0x0F28, 2};
inline constexpr SimOffset kLayer2Type{0x0F80, 2};
inline constexpr SimOffset kLayer3Base{0x0F1E, 2};
inline constexpr SimOffset kLayer3Top{0x0F1C, 2};
inline constexpr SimOffset kLayer3Coverage{0x0F20, 2};
inline constexpr SimOffset kLayer3Type{0x0F7A, 2};
inline constexpr SimOffset kPrecipitation{0x04D2, 2};        // byte 0 intensity, byte 1 type
inline constexpr SimOffset kTemperature{0x0F42, 2};          // degrees Celsius x 256
inline constexpr SimOffset kTemperatureAltitude{0x0F40, 2};  // metres
inline constexpr SimOffset kWindAloftAltitude{0x0F70, 2};
inline constexpr SimOffset kGust{0x0F78, 2};           // knots
inline constexpr SimOffset kWindSpeed{0x0F72, 2};      // knots
inline constexpr SimOffset kWindDirection{0x0F74, 2};  // 65534 for a full circle
inline constexpr SimOffset kVisibility{0x0F8C, 2};     // statute miles x 100
inline constexpr SimOffset kPressure{0x0F48, 2};       // hPa x 16
inline constexpr SimOffset kDewPoint{0x04D4, 2};       // degrees Celsius x 256

// The on-screen message: its text, ended by a zero, then -1 written to kMessageShow.
inline constexpr SimOffset kMessageText{0x3380, 0};
inline constexpr SimOffset kMessageShow{0x32FA, 2};

}  // namespace stratocue::offsets
