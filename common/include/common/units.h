#pragma once

// The program's fixed conversion figures, each written once. Several are the program's own
// round figures rather than the exact ones (3.285 feet per metre, 5300 feet per mile); the
// values it writes to the simulator depend on them as they are.
namespace stratocue::units {

// Heights: feet in a metre, as the program counts them (a metre is really 3.2808 ft).
inline constexpr double kFeetPerMetre = 3.285;
// Cloud bases use a figure of their own.
inline constexpr double kFeetPerMetreCloudBases = 3.27083;
// The height at which the winds-aloft temperature is written: 1500 / 3.825 m.
inline constexpr double kFeetPerMetreWindsAloftWrite = 3.825;
inline constexpr double kFeetPerStatuteMile = 5300.0;  // the program's round figure, not 5280
inline constexpr double kHectopascalsPerInchOfMercury = 33.85695;

inline constexpr double kDegreesPerRadian = 57.29577951;
inline constexpr double kDegreesPerCircle = 360.0;
inline constexpr double kMinutesPerDegree = 60.0;

// The simulator's units.
inline constexpr double kDirectionUnitsPerCircle = 65534.0;       // wind directions
inline constexpr double kCoverageUnitsPerEighth = 8191.875;       // cloud coverage, 65535 / 8
inline constexpr double kLatitudeUnitsPer90Degrees = 10001750.0;  // latitude whole parts
inline constexpr double kLongitudeUnitsPerCircle = 4294967296.0;  // longitude whole parts, 2^32
inline constexpr double kTemperatureUnitsPerDegree = 256.0;       // degrees Celsius x 256
inline constexpr double kPressureUnitsPerHectopascal = 16.0;      // hPa x 16
inline constexpr double kVisibilityUnitsPerMile = 100.0;          // statute miles x 100

}  // namespace stratocue::units
