#include "stations/station_line.h"

#include <cmath>
#include <string>

#include "common/ansi_text.h"
#include "common/fault.h"
#include "common/number_format.h"
#include "common/number_parse.h"
#include "common/rounding.h"
#include "common/units.h"

namespace stratocue::stations {
namespace {

// The minutes' fraction is taken as the last characters of this format: ".61667".
constexpr std::string_view kMinutesFractionPattern = "0.00000";
constexpr std::size_t kMinutesFractionLength = 6;

// The number at the start of `text`; a value that is not finite is a numeric fault.
double parseFiniteNumber(std::string_view text) {
    const double value = parseLeadingNumber(text);
    if (!std::isfinite(value)) throw RuntimeFault(RuntimeFault::Kind::Overflow, "Overflow");
    return value;
}

double checkedFinite(double value) {
    if (!std::isfinite(value)) throw RuntimeFault(RuntimeFault::Kind::Overflow, "Overflow");
    return value;
}

// One coordinate in radians from its hemisphere, whole-degree and minutes fields.
// `negativeHemisphere` is "S" or "W".
double coordinateRadians(std::string_view hemisphere, std::string_view wholeDegrees, std::string_view minutes,
                         std::string_view negativeHemisphere) {
    const double minutesAsDegrees = checkedFinite(parseFiniteNumber(minutes) / units::kMinutesPerDegree);
    const std::string formatted = formatNumber(minutesAsDegrees, kMinutesFractionPattern);
    const std::string_view fraction = std::string_view(formatted).substr(formatted.size() - kMinutesFractionLength);

    std::string degreesText;
    if (hemisphere == negativeHemisphere) degreesText = "-";
    degreesText += wholeDegrees;
    degreesText += fraction;
    degreesText = replaceAll(degreesText, ",", ".");
    return checkedFinite(parseFiniteNumber(degreesText) / units::kDegreesPerRadian);
}

}  // namespace

StationFields splitStationFields(std::string_view line) noexcept {
    StationFields fields{};
    std::size_t fieldStart = 0;
    for (std::string_view& field : fields) {
        const std::size_t comma = line.find(',', fieldStart);
        if (comma == std::string_view::npos) {
            field = line.substr(fieldStart);
            break;
        }
        field = line.substr(fieldStart, comma - fieldStart);
        fieldStart = comma + 1;
    }
    return fields;
}

Station parseStationLine(std::string_view line, bool withElevation) {
    const StationFields fields = splitStationFields(line);
    Station station;
    station.latitude = coordinateRadians(fields[1], fields[2], fields[3], "S");
    station.longitude = coordinateRadians(fields[4], fields[5], fields[6], "W");
    station.id = std::string(fields[0]);
    if (withElevation) station.elevation = floorTo<std::int16_t>(parseFiniteNumber(fields[7]));
    return station;
}

}  // namespace stratocue::stations
