#include "inject/fd_levels.h"

#include <array>

#include "common/rounding.h"
#include "common/sim_offsets.h"

namespace stratocue::inject {
namespace {

using fdwinds::FdLevel;

struct LevelEntry {
    FdLevel level;
    double levelFeet;
    double chosenBelowFeet;  // 0 for the top level, which is chosen otherwise
    bool temperatureNegated;
};

// In column order, lowest level first.
constexpr std::array<LevelEntry, fdwinds::kLevelCount> kLevels = {{
    {FdLevel::K3, 3000.0, 4500.0, false},
    {FdLevel::K6, 6000.0, 7500.0, false},
    {FdLevel::K9, 9000.0, 10500.0, false},
    {FdLevel::K12, 12000.0, 15000.0, false},
    {FdLevel::K18, 18000.0, 21000.0, false},
    {FdLevel::K24, 24000.0, 27000.0, false},
    {FdLevel::K30, 30000.0, 32000.0, true},
    {FdLevel::K34, 34000.0, 35500.0, true},
    {FdLevel::K39, 39000.0, 0.0, true},
}};

const LevelEntry& entryOf(FdLevel level) { return kLevels.at(static_cast<std::size_t>(level)); }

}  // namespace

FdLevel selectFdLevel(double altitudeMetres) {
    FdLevel chosen = FdLevel::K39;
    // From the top down; the thresholds fall, so once one is not above the altitude no
    // lower one is either.
    for (auto entry = kLevels.rbegin() + 1; entry != kLevels.rend(); ++entry) {
        if (entry->chosenBelowFeet / kFeetPerMetre > altitudeMetres) chosen = entry->level;
    }
    return chosen;
}

std::int16_t fdLevelAltitudeMetres(FdLevel level) {
    return roundTo<std::int16_t>(entryOf(level).levelFeet / kFeetPerMetre);
}

bool fdLevelTemperatureNegated(FdLevel level) { return entryOf(level).temperatureNegated; }

}  // namespace stratocue::inject
