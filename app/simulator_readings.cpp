#include "app/simulator_readings.h"

#include <string>

#include "common/ansi_text.h"
#include "common/number_format.h"
#include "simlink/link.h"

namespace stratocue::app {

const std::array<SimulatorReading, 14>& simulatorReadings() {
    using K = ReadingKind;
    using F = ui::FrmStatus;
    static const std::array<SimulatorReading, 14> readings{{
        {0x0564, 4, K::Latitude, &F::lblFSlat},
        {0x056C, 4, K::Longitude, &F::lblFSlon},
        {0x0E9E, 2, K::Coverage, &F::lblCLud},
        {0x0E9A, 2, K::Whole16, &F::lblCLuc},
        {0x0E9C, 2, K::Whole16, &F::lblCLub},
        {0x0EA6, 2, K::Coverage, &F::lblCLld},
        {0x0EA2, 2, K::Whole16, &F::lblCLlc},
        {0x0EA4, 2, K::Whole16, &F::lblCLlb},
        {0x0EAE, 2, K::Coverage, &F::lblCLsd},
        {0x0EAA, 2, K::Whole16, &F::lblCLsc},
        {0x0EAC, 2, K::Whole16, &F::lblCLsb},
        {0x0E8C, 2, K::Temperature, &F::lblTemp},
        {0x0574, 4, K::Altitude32, &F::lblAltitude},
        {0x0238, 3, K::Clock, &F::lblClock},
    }};
    return readings;
}

double latitudeRadians(std::int32_t word) {
    const double degrees = static_cast<double>(word) * 90.0 / 10001750.0;
    return degrees / kDegreesPerRadian;
}

double longitudeRadians(std::int32_t word) {
    const double degrees = static_cast<double>(word) * 360.0 / 4294967296.0;
    return degrees / kDegreesPerRadian;
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
            return formatShortest(static_cast<std::uint16_t>(word16) / 8191.875);
        case ReadingKind::Whole16:
        case ReadingKind::Altitude32:
            return std::to_string(word16);
        case ReadingKind::Temperature:
            return formatNumber(word16 / 256.0, "0");
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
