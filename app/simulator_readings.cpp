#include "app/simulator_readings.h"

#include <string>

#include "common/ansi_text.h"
#include "common/number_format.h"
#include "common/units.h"
#include "simlink/link.h"

namespace stratocue::app {

const std::array<SimulatorReading, 14>& simulatorReadings() {
    using K = ReadingKind;
    using F = ui::FrmStatus;
    static const std::array<SimulatorReading, 14> readings{{
        {offsets::kLatitudeWhole, K::Latitude, &F::lblFSlat},
        {offsets::kLongitudeWhole, K::Longitude, &F::lblFSlon},
        {offsets::kUpperCloudCoverage, K::Coverage, &F::lblCLud},
        {offsets::kUpperCloudCeiling, K::Whole16, &F::lblCLuc},
        {offsets::kUpperCloudBase, K::Whole16, &F::lblCLub},
        {offsets::kLowerCloudCoverage, K::Coverage, &F::lblCLld},
        {offsets::kLowerCloudCeiling, K::Whole16, &F::lblCLlc},
        {offsets::kLowerCloudBase, K::Whole16, &F::lblCLlb},
        {offsets::kStormCloudCoverage, K::Coverage, &F::lblCLsd},
        {offsets::kStormCloudCeiling, K::Whole16, &F::lblCLsc},
        {offsets::kStormCloudBase, K::Whole16, &F::lblCLsb},
        {offsets::kAmbientTemperature, K::Temperature, &F::lblTemp},
        {offsets::kAltitudeWhole, K::Altitude32, &F::lblAltitude},
        {offsets::kClock, K::Clock, &F::lblClock},
    }};
    return readings;
}

double latitudeRadians(std::int32_t word) {
    const double degrees = static_cast<double>(word) * 90.0 / units::kLatitudeUnitsPer90Degrees;
    return degrees / units::kDegreesPerRadian;
}

double longitudeRadians(std::int32_t word) {
    const double degrees = static_cast<double>(word) * units::kDegreesPerCircle / units::kLongitudeUnitsPerCircle;
    return degrees / units::kDegreesPerRadian;
}

std::string readingText(ReadingKind kind, std::span<const std::byte, 4> raw) {
    const auto word16 = simlink::readLe16(raw);
    switch (kind) {
        case ReadingKind::Latitude:
            // The label must show a decimal point whatever the locale: other readers parse it.
            return replaceAll(formatNumber(latitudeRadians(simlink::readLe32(raw)), "0.000000"), ",", ".");
        case ReadingKind::Longitude:
            return replaceAll(formatNumber(longitudeRadians(simlink::readLe32(raw)), "0.000000"), ",", ".");
        case ReadingKind::Coverage:
            return formatShortest(static_cast<std::uint16_t>(word16) / units::kCoverageUnitsPerEighth);
        case ReadingKind::Whole16:
        case ReadingKind::Altitude32:
            return std::to_string(word16);
        case ReadingKind::Temperature:
            return formatNumber(word16 / units::kTemperatureUnitsPerDegree, "0");
        case ReadingKind::Clock: {
            const auto part = [&raw](std::size_t i) {
                return formatNumber(static_cast<double>(std::to_integer<unsigned>(raw[i])), "00");
            };
            return part(0) + ":" + part(1) + ":" + part(2);
        }
    }
    return {};
}

}  // namespace stratocue::app
