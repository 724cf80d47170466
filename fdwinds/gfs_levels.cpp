#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/rounding.h"
#include "fdwinds/gfs_winds.h"

namespace stratocue::fdwinds {
namespace {

constexpr double kDegreesPerDirectionCode = 10;
constexpr std::int16_t kNorthCode = 36;  // the bulletin writes north as 360, never 0
constexpr std::int16_t kFastCodeOffset = 50;
constexpr std::int16_t kFastKnots = 100;
constexpr std::int16_t kFastestKnots = 199;

}  // namespace

FdLevelValues GFS_BulletinLevel(FdLevel level, const GfsLevelReading& reading) {
    const double degrees = std::fmod(std::fmod(reading.windDirectionDegrees, 360.0) + 360.0, 360.0);
    std::int16_t dirCode = roundTo<std::int16_t>(degrees / kDegreesPerDirectionCode);
    if (dirCode == 0) dirCode = kNorthCode;
    auto speed = std::min(roundTo<std::int16_t>(std::min(reading.windSpeedKnots, 1000.0)), kFastestKnots);
    if (speed >= kFastKnots) {
        dirCode = static_cast<std::int16_t>(dirCode + kFastCodeOffset);
        speed = static_cast<std::int16_t>(speed - kFastKnots);
    }
    std::int16_t tempC = roundTo<std::int16_t>(reading.temperatureC);
    // Up there the bulletin holds the magnitude of a temperature below zero; one above
    // zero has no such form and is written as 0.
    if (fdLevelInfo(level).temperatureSignImplied) tempC = static_cast<std::int16_t>(tempC > 0 ? 0 : -tempC);
    return {dirCode, speed, tempC};
}

FdWinds GFS_WindsRow(const GfsReadings& readings) {
    FdWinds winds;
    winds.rowCount = 1;
    winds.rowId[1] = std::string(kGfsRowId);
    for (std::size_t level = 0; level < kLevelCount; ++level) {
        winds.levels[1][level] = GFS_BulletinLevel(kFdLevels[level].level, readings[level]);
    }
    return winds;
}

}  // namespace stratocue::fdwinds
