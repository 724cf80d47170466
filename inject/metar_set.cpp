#include "inject/metar_set.h"

#include <array>
#include <cmath>
#include <optional>
#include <string_view>

#include "common/ansi_text.h"
#include "common/number_parse.h"
#include "common/rounding.h"
#include "common/sim_offsets.h"
#include "common/units.h"
#include "inject/cloud_layers.h"
#include "inject/value_exchange.h"
#include "inject/written_values.h"

namespace stratocue::inject {
namespace {

constexpr std::size_t kMessageReportChars = 95;
constexpr std::string_view kMessageCut = "...";
constexpr double kMetresPerWindKnotAloft = 135.0;      // the wind aloft grows 1 knot per 135 m
constexpr double kWindAloftFullHeightMetres = 1000.0;  // below this above the station, surface wind
constexpr double kGustFreeAltitudeMetres = 3285.0;     // above this with winds aloft, no gust
constexpr std::int16_t kLowestPressureHpa = 800;
constexpr std::int16_t kStandardPressureHpa = 1013;

// Degrees Celsius from a report text, written as x 256 in 16 bits (so -128..127).
std::int16_t temperatureC256(std::string_view text) {
    const std::int16_t degrees = roundTo<std::int16_t>(parseLeadingNumber(text));
    return checkedInteger<std::int16_t>(static_cast<double>(degrees) * units::kTemperatureUnitsPerDegree);
}

void writeLayers(WeatherSink& sink, const CloudLayers& layers) {
    using namespace offsets;
    exchangeValue16(sink, kLayer2Type, layers.layer2.type);
    exchangeValue16(sink, kLayer3Type, layers.layer3.type);
    exchangeValue16(sink, kLayer2Base, layers.layer2.baseMetres);
    exchangeValue16(sink, kLayer2Top, layers.layer2.topMetres);
    exchangeValue16(sink, kLayer2Coverage, layers.layer2.coverage);
    exchangeValue16(sink, kLayer3Base, layers.layer3.baseMetres);
    exchangeValue16(sink, kLayer3Top, layers.layer3.topMetres);
    exchangeValue16(sink, kLayer3Coverage, layers.layer3.coverage);
    exchangeValue16(sink, kLayer1Base, layers.layer1.baseMetres);
    exchangeValue16(sink, kLayer1Top, layers.layer1.topMetres);
    exchangeValue16(sink, kLayer1Coverage, layers.layer1.coverage);
    exchangeValue16(sink, kLayer1Type, layers.layer1.type);
}

// The two precipitation bytes {intensity, type}: intensity code + 2 when above 0; each
// must lie in 0..255, else the pair is not written.
void writePrecipitation(WeatherSink& sink, const metar::MetarReport& report) {
    const auto bytes = tryValue([&] {
        const auto type = floorTo<std::uint8_t>(parseLeadingNumber(report.ptype));
        auto intensity = floorTo<std::uint8_t>(parseLeadingNumber(report.pint));
        if (intensity > 0) intensity = checkedInteger<std::uint8_t>(intensity + 2.0);
        return std::array<std::byte, 2>{static_cast<std::byte>(intensity), static_cast<std::byte>(type)};
    });
    if (bytes) exchangeBytes(sink, offsets::kPrecipitation, *bytes);
}

// The wind speed to write. With winds aloft in use, the reported speed S grows at random
// up to floor(A) / 135 knots for an aircraft 1000 m or more above the station. A speed
// that does not fit 16 bits is missing; so is the random speed when S is.
std::optional<std::int16_t> windSpeedKnots(const metar::MetarReport& report, const SurfaceWriteSettings& settings,
                                           double altitudeMetres, double heightAboveStationMetres,
                                           RandomSource& random) {
    const auto reported = tryValue([&] { return floorTo<std::int16_t>(parseLeadingNumber(report.windspeed)); });
    if (!settings.windsAloftSimulation) return reported;

    random.reseedFromClock();
    random.reseedFromClock();
    const double r = random.next();
    const double upperKnots = std::floor(altitudeMetres) / kMetresPerWindKnotAloft;
    std::optional<std::int16_t> speed;
    if (reported) {
        const double s = *reported;
        speed = tryValue([&] { return floorTo<std::int16_t>(s + (upperKnots - s + 1.0) * r); });
        if (speed && *speed < *reported) speed = reported;
    }
    if (heightAboveStationMetres < kWindAloftFullHeightMetres) speed = reported;
    return speed;
}

// The wind part, the whole work of an altitude-triggered call: wind aloft marker, gust,
// and the surface wind unless the winds-aloft writer owns the wind at this height.
void writeWind(WeatherSink& sink, metar::MetarReport& report, const SurfaceWriteSettings& settings,
               double altitudeMetres, double heightAboveStationMetres, RandomSource& random) {
    if (settings.windsAloftSimulation) exchangeValue16(sink, offsets::kWindAloftAltitude, kWindAloftAltitudeValue);
    const auto speed = windSpeedKnots(report, settings, altitudeMetres, heightAboveStationMetres, random);

    const bool gustFree = settings.windsAloftSimulation && altitudeMetres > kGustFreeAltitudeMetres;
    const auto gust = gustFree ? std::optional<std::int16_t>(0)
                               : tryValue([&] { return roundTo<std::int16_t>(parseLeadingNumber(report.gusting)); });
    exchangeValue16(sink, offsets::kGust, gust);

    if (!(settings.forcedActive || heightAboveStationMetres < kSurfaceLayerMetres || !settings.fdValid)) return;
    exchangeValue16(sink, offsets::kWindSpeed, speed);
    if (report.winddir == "360") report.winddir = "359";
    const auto direction = tryValue([&] {
        return floorTo<std::int32_t>(parseLeadingNumber(report.winddir) * units::kDirectionUnitsPerCircle /
                                     units::kDegreesPerCircle);
    });
    // The direction goes with a wind: it needs a known speed above 0.
    if (speed && *speed > 0 && direction && *direction > 0) {
        exchangeValue16(sink, offsets::kWindDirection, direction);
    }
}

void writeMessage(WeatherSink& sink, std::string_view reportText) {
    std::string text(kMessagePrefix);
    text += reportText.substr(0, kMessageReportChars);
    text += kMessageCut;
    text += '\0';  // the text carries one zero; exchangeText adds the second
    exchangeText(sink, offsets::kMessageText, text);
    exchangeValue16(sink, offsets::kMessageShow, kMessageShowValue);
}

}  // namespace

// A value that does not fit its width is skipped rather than ending the call, so one odd
// field of a report cannot keep the rest of the weather out of the simulator. Values that
// depend on a skipped one are skipped too (a cloud top on its base, the temperature's
// altitude on the temperature, the wind direction on the speed); values that do not (the
// gust) are still written.
void METAR_Set(WeatherSink& sink, metar::MetarReport& report, bool& altitudeSet, const SurfaceWriteSettings& settings,
               RandomSource& random) {
    const double altitudeMetres = parseLeadingNumber(settings.altitudeText);
    const std::int16_t elevationMetres = settings.stationElevationMetres;
    const double heightAboveStationMetres = altitudeMetres - elevationMetres;

    if (!altitudeSet) {
        writeLayers(sink, computeCloudLayers(report, elevationMetres, random));
        writePrecipitation(sink, report);
        if (heightAboveStationMetres < kSurfaceLayerMetres) {
            // The altitude tells where the temperature holds, so it goes only with one.
            const auto temperature = tryValue([&] { return temperatureC256(report.temp); });
            if (temperature) {
                exchangeValue16(sink, offsets::kTemperature, temperature);
                exchangeValue16(sink, offsets::kTemperatureAltitude, elevationMetres);
            }
        }
    }

    writeWind(sink, report, settings, altitudeMetres, heightAboveStationMetres, random);
    if (altitudeSet) {
        altitudeSet = false;
        return;
    }

    exchangeValue16(sink, offsets::kVisibility, tryValue([&] {
                        return floorTo<std::int16_t>(parseLeadingNumber(report.vis) * units::kVisibilityUnitsPerMile);
                    }));

    report.alt = replaceAll(report.alt, ",", ".");
    exchangeValue16(sink, offsets::kPressure, tryValue([&] {
                        std::int16_t pressureHpa = roundTo<std::int16_t>(parseLeadingNumber(report.alt));
                        if (pressureHpa < kLowestPressureHpa) pressureHpa = kStandardPressureHpa;
                        return checkedInteger<std::int16_t>(pressureHpa * units::kPressureUnitsPerHectopascal);
                    }));

    exchangeValue16(sink, offsets::kDewPoint, tryValue([&] { return temperatureC256(report.dewpoint); }));

    if (!settings.messagesDisabled) writeMessage(sink, settings.reportText);
}

void METAR_Set(simlink::Link& link, metar::MetarReport& report, bool& altitudeSet, const SurfaceWriteSettings& settings,
               RandomSource& random) {
    LinkSink sink(link);
    METAR_Set(sink, report, altitudeSet, settings, random);
}

}  // namespace stratocue::inject
