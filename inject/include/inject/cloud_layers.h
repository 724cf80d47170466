#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "inject/random_source.h"
#include "metar/metar_report.h"

namespace stratocue::inject {

// One simulator cloud layer as the surface writer computes it. A height that does not fit
// 16 bits, or that depends on one that does not, is missing and is not written.
struct CloudLayerValues {
    std::optional<std::int16_t> baseMetres = 0;
    std::optional<std::int16_t> topMetres = 0;
    std::int32_t coverage = 0;
    std::int16_t type = 0;
};

struct CloudLayers {
    CloudLayerValues layer1;  // also carries the thunderstorm
    CloudLayerValues layer2;
    CloudLayerValues layer3;
};

// Cloud base in whole metres from a base text in hundreds of feet: the text followed by
// "00", read as a number, divided by 3.27083 and rounded down; raises an overflow fault
// when it leaves 16 bits.
[[nodiscard]] std::int16_t cloudBaseMetres(std::string_view baseHundredsFeetText);

// The random number in single precision, kept below 1 so that the top ranges hold.
[[nodiscard]] float singlePrecisionUnit(double unitRandom);

// The three layers of a report above a station `stationElevationMetres` high: thunderstorm,
// bases, random tops, cover codes and the station elevation. Reseeds `random` once, then
// draws one number per random top in the order top1, top2, top1 again, top3, top2 again
// (each only when its layer has a base above 0).
[[nodiscard]] CloudLayers computeCloudLayers(const metar::MetarReport& report, std::int16_t stationElevationMetres,
                                             RandomSource& random);

}  // namespace stratocue::inject
