#include "inject/cloud_layers.h"

#include <cmath>
#include <string>

#include "common/number_parse.h"
#include "common/rounding.h"
#include "common/units.h"
#include "inject/cover_codes.h"
#include "inject/value_exchange.h"

namespace stratocue::inject {
namespace {

using Height = std::optional<std::int16_t>;

// A top above its base: base + gap + floor(r x span + offset), the product and sum in
// single precision as the cloud model was tuned with.
struct TopRule {
    std::int16_t gapMetres;
    float spanMetres;
    float offsetMetres;
};
constexpr TopRule kLowerLayerTop{50, 481.0F, 20.0F};  // 70 to 550 m above the base
constexpr TopRule kLayer3Top{40, 151.0F, 50.0F};      // 90 to 240 m above the base
// A re-chosen top keeps at least this much above its own base.
constexpr std::int16_t kRechosenTopGapMetres = 50;

std::int16_t add16(double a, double b) { return checkedInteger<std::int16_t>(a + b); }

Height topAboveBase(Height base, const TopRule& rule, float r) {
    if (!base) return std::nullopt;
    return tryValue([&] {
        const float product = r * rule.spanMetres;
        const float sum = product + rule.offsetMetres;
        const std::int16_t baseWithGap = add16(*base, rule.gapMetres);
        return checkedInteger<std::int16_t>(static_cast<double>(baseWithGap) + std::floor(static_cast<double>(sum)));
    });
}

// The lower layer's top chosen again between its base + 50 and the upper layer's base,
// in single precision: floor((upper - lower - 50) x r + lower + 50).
Height rechosenTop(Height lowerBase, Height upperBase, float r) {
    if (!lowerBase || !upperBase) return std::nullopt;
    return tryValue([&] {
        const std::int16_t difference = add16(*upperBase, -static_cast<double>(*lowerBase));
        const std::int16_t room = add16(difference, -static_cast<double>(kRechosenTopGapMetres));
        float value = static_cast<float>(room) * r;
        value = value + static_cast<float>(*lowerBase);
        value = value + static_cast<float>(kRechosenTopGapMetres);
        return floorTo<std::int16_t>(static_cast<double>(value));
    });
}

void applyThunderstorm(const metar::MetarReport& report, std::int16_t elevationMetres, CloudLayerValues& layer1) {
    if (report.tsdensity == "0") {
        layer1.type = noThunderstormType(report.c1density);
    } else if (const auto coverage = thunderstormCoverage(report.tsdensity)) {
        layer1.coverage = *coverage;
        layer1.type = kThunderstormType;
        layer1.topMetres = tryValue([&] { return add16(elevationMetres, kThunderstormTopAboveStationMetres); });
    }
}

void applyCoverCode(std::string_view densityText, std::string_view baseText, CloudLayer which,
                    CloudLayerValues& layer) {
    if (const auto code = coverCode(densityText, parseLeadingNumber(baseText), which)) {
        layer.coverage = code->coverage;
        layer.type = code->type;
    }
}

// Lifts a layer with a base of 1 m or more by the station elevation, base and top alike.
// A missing base stays missing; a sum that leaves 16 bits goes missing.
void addElevation(CloudLayerValues& layer, std::int16_t elevationMetres) {
    if (!layer.baseMetres || *layer.baseMetres < 1) return;
    const std::int16_t base = *layer.baseMetres;
    layer.baseMetres = tryValue([&] { return add16(base, elevationMetres); });
    if (layer.topMetres) {
        const std::int16_t top = *layer.topMetres;
        layer.topMetres = tryValue([&] { return add16(top, elevationMetres); });
    }
}

}  // namespace

std::int16_t cloudBaseMetres(std::string_view baseHundredsFeetText) {
    const std::string feetText = std::string(baseHundredsFeetText) + "00";
    return floorTo<std::int16_t>(parseLeadingNumber(feetText) / units::kFeetPerMetreCloudBases);
}

float singlePrecisionUnit(double unitRandom) {
    const auto single = static_cast<float>(unitRandom);
    return single < 1.0F ? single : std::nextafter(1.0F, 0.0F);
}

// A base that does not fit 16 bits goes missing, and with it every top whose value or
// whose choice ("has this layer a base above 0?") depends on it: its own layer's top and
// the top of the layer below it. Numbers are drawn only for tops whose base is known.
CloudLayers computeCloudLayers(const metar::MetarReport& report, std::int16_t stationElevationMetres,
                               RandomSource& random) {
    CloudLayers layers;
    applyThunderstorm(report, stationElevationMetres, layers.layer1);
    random.reseedFromClock();
    const auto draw = [&random] { return singlePrecisionUnit(random.next()); };

    const Height base1 = tryValue([&] { return cloudBaseMetres(report.c1base); });
    layers.layer1.baseMetres = base1;
    if (!base1) {
        layers.layer1.topMetres = std::nullopt;
    } else if (*base1 > 0) {
        layers.layer1.topMetres = topAboveBase(base1, kLowerLayerTop, draw());
    }

    const Height base2 = tryValue([&] { return cloudBaseMetres(report.c2base); });
    layers.layer2.baseMetres = base2;
    if (!base2) {
        layers.layer2.topMetres = std::nullopt;
        layers.layer1.topMetres = std::nullopt;
    } else if (*base2 > 0) {
        layers.layer2.topMetres = topAboveBase(base2, kLowerLayerTop, draw());
        layers.layer1.topMetres = rechosenTop(base1, base2, draw());
    }

    const Height base3 = tryValue([&] { return cloudBaseMetres(report.c3base); });
    layers.layer3.baseMetres = base3;
    if (!base3) {
        layers.layer3.topMetres = std::nullopt;
        layers.layer2.topMetres = std::nullopt;
    } else if (*base3 > 0) {
        layers.layer3.topMetres = topAboveBase(base3, kLayer3Top, draw());
        layers.layer2.topMetres = rechosenTop(base2, base3, draw());
    }

    applyCoverCode(report.c1density, report.c1base, CloudLayer::Layer1, layers.layer1);
    applyCoverCode(report.c2density, report.c2base, CloudLayer::Layer2, layers.layer2);
    applyCoverCode(report.c3density, report.c3base, CloudLayer::Layer3, layers.layer3);

    addElevation(layers.layer2, stationElevationMetres);
    addElevation(layers.layer3, stationElevationMetres);
    addElevation(layers.layer1, stationElevationMetres);
    return layers;
}

}  // namespace stratocue::inject
