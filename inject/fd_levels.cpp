#include "inject/fd_levels.h"

#include <array>

#include "common/rounding.h"
#include "common/units.h"

namespace stratocue::inject {
namespace {

using fdwinds::FdLevel;

// The height below which each level is chosen, lowest level first; the top level is
// chosen above the last of them.
struct LevelThreshold {
    FdLevel level;
    double chosenBelowFeet;
};
constexpr std::array<LevelThreshold, fdwinds::kLevelCount - 1> kThresholds = {{
    {FdLevel::K3, 4500.0},
    {FdLevel::K6, 7500.0},
    {FdLevel::K9, 10500.0},
    {FdLevel::K12, 15000.0},
    {FdLevel::K18, 21000.0},
    {FdLevel::K24, 27000.0},
    {FdLevel::K30, 32000.0},
    {FdLevel::K34, 35500.0},
}};

}  // namespace

FdLevel selectFdLevel(double altitudeMetres) {
    FdLevel chosen = FdLevel::K39;
    // From the top down; the thresholds fall, so once one is not above the altitude no
    // lower one is either.
    for (auto entry = kThresholds.rbegin(); entry != kThresholds.rend(); ++entry) {
        if (entry->chosenBelowFeet / units::kFeetPerMetre > altitudeMetres) chosen = entry->level;
    }
    return chosen;
}

std::int16_t fdLevelAltitudeMetres(FdLevel level) {
    return roundTo<std::int16_t>(fdwinds::fdLevelInfo(level).feet / units::kFeetPerMetre);
}

bool fdLevelTemperatureNegated(FdLevel level) { return fdwinds::fdLevelInfo(level).temperatureSignImplied; }

}  // namespace stratocue::inject
