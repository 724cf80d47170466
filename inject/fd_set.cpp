#include "inject/fd_set.h"

#include <cstddef>
#include <optional>
#include <string>

#include "common/number_format.h"
#include "common/number_parse.h"
#include "common/rounding.h"
#include "common/sim_offsets.h"
#include "common/units.h"
#include "inject/fd_levels.h"
#include "inject/value_exchange.h"
#include "inject/written_values.h"

namespace stratocue::inject {
namespace {

constexpr std::int16_t kLightAndVariableCode = 99;
constexpr std::int16_t kFastWindCodeOffset = 50;  // direction codes above 50 carry 100 knots
constexpr std::int16_t kFastWindExtraKnots = 100;
constexpr double kDegreesPerDirectionCode = 10.0;
constexpr double kTemperatureRisePerThousandFeet = 1.8;
constexpr std::int16_t kNoGust = 0;
constexpr std::int32_t kFullCircleDegrees = 360;
constexpr std::int32_t kHighestDirectionDegrees = 359;
constexpr std::string_view kMessageTitle = "FD Winds Aloft ";

bool rowDecoded(const fdwinds::FdWinds& winds, std::int16_t row) {
    const auto index = static_cast<std::size_t>(row);
    return row >= 1 && row <= winds.rowCount && index < winds.rowId.size() && index < winds.levels.size();
}

// The level's wind: direction in degrees (32-bit) and speed in knots, each missing when it
// does not fit its width.
struct LevelWind {
    std::optional<std::int32_t> directionDegrees;
    std::optional<std::int16_t> speedKnots;
};

LevelWind levelWind(const fdwinds::FdLevelValues& values, const metar::MetarReport& report) {
    if (values.dirCode == kLightAndVariableCode) {
        return {tryValue([&] { return roundTo<std::int32_t>(parseLeadingNumber(report.winddir)); }),
                tryValue([&] { return roundTo<std::int16_t>(parseLeadingNumber(report.windspeed)); })};
    }
    std::int16_t code = values.dirCode;
    std::optional<std::int16_t> speed = values.speedCode;
    if (code > kFastWindCodeOffset) {
        code = static_cast<std::int16_t>(code - kFastWindCodeOffset);
        speed = tryValue(
            [&] { return checkedInteger<std::int16_t>(static_cast<double>(values.speedCode) + kFastWindExtraKnots); });
    }
    // The code times ten is 16-bit arithmetic before it becomes the 32-bit direction.
    return {tryValue([&] { return std::int32_t{checkedInteger<std::int16_t>(code * kDegreesPerDirectionCode)}; }),
            speed};
}

// The direction value written: round(degrees x 65534 / 360), with 360 taken as 359 and the
// product held in 32 bits.
std::optional<std::int32_t> directionValue(std::optional<std::int32_t> directionDegrees) {
    if (!directionDegrees) return std::nullopt;
    const std::int32_t degrees = *directionDegrees == kFullCircleDegrees ? kHighestDirectionDegrees : *directionDegrees;
    return tryValue([&] {
        const auto product =
            checkedInteger<std::int32_t>(static_cast<double>(degrees) * units::kDirectionUnitsPerCircle);
        return roundTo<std::int32_t>(static_cast<double>(product) / kFullCircleDegrees);
    });
}

}  // namespace

// Dependencies of the skipped values: a speed that does not fit skips the speed and the
// message; a direction that does not fit skips the direction and the message; a level
// temperature that cannot be negated skips the temperature and the message. Without its
// message the -1 that shows it is not written either.
void FD_Set(WeatherSink& sink, const fdwinds::FdWinds& winds, std::int16_t row, const metar::MetarReport& report,
            const WindsAloftWriteSettings& settings) {
    if (!rowDecoded(winds, row)) return;
    const auto index = static_cast<std::size_t>(row);

    const double altitudeMetres = parseLeadingNumber(settings.altitudeText);
    const fdwinds::FdLevel level = selectFdLevel(altitudeMetres);
    const fdwinds::FdLevelValues& values = winds.levels[index][static_cast<std::size_t>(level)];
    const std::int16_t levelAltitudeMetres = fdLevelAltitudeMetres(level);

    const auto levelTempC = tryValue([&] {
        if (!fdLevelTemperatureNegated(level)) return values.tempC;
        return checkedInteger<std::int16_t>(-static_cast<double>(values.tempC));
    });
    const LevelWind wind = levelWind(values, report);

    // The level temperature raised by 1.8 degrees per thousand feet of the level's height.
    std::optional<std::int16_t> temperatureC256;
    if (levelTempC) {
        temperatureC256 = tryValue([&] {
            const double thousandsOfFeet = levelAltitudeMetres / (1000.0 / units::kFeetPerMetre);
            const auto writtenC =
                roundTo<std::int16_t>(thousandsOfFeet * kTemperatureRisePerThousandFeet + *levelTempC);
            return checkedInteger<std::int16_t>(writtenC * units::kTemperatureUnitsPerDegree);
        });
    }
    exchangeValue16(sink, offsets::kTemperature, temperatureC256);
    exchangeValue16(sink, offsets::kWindAloftAltitude, kWindAloftAltitudeValue);
    exchangeValue16(sink, offsets::kGust, kNoGust);
    exchangeValue16(sink, offsets::kWindSpeed, wind.speedKnots);

    const auto writtenDirection = directionValue(wind.directionDegrees);
    exchangeValue16(sink, offsets::kWindDirection, writtenDirection);

    if (settings.messagesDisabled || !levelTempC || !wind.speedKnots || !writtenDirection) return;
    std::string text(kMessagePrefix);
    text += kMessageTitle;
    text += winds.rowId[index];
    text += ": ";
    text += formatNumber(*writtenDirection * static_cast<double>(kFullCircleDegrees) / units::kDirectionUnitsPerCircle,
                         "0");
    text += " /";
    text += std::to_string(*wind.speedKnots);
    text += " /";
    text += formatNumber(*levelTempC, "0");
    exchangeText(sink, offsets::kMessageText, text);
    exchangeValue16(sink, offsets::kMessageShow, kMessageShowValue);
}

void FD_Set(simlink::Link& link, const fdwinds::FdWinds& winds, std::int16_t row, const metar::MetarReport& report,
            const WindsAloftWriteSettings& settings) {
    LinkSink sink(link);
    FD_Set(sink, winds, row, report, settings);
}

}  // namespace stratocue::inject
