#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace stratocue::inject {

// The three cloud layers of the simulator, as the report's layers feed them.
enum class CloudLayer { Layer1, Layer2, Layer3 };

// Coverage (0..65535 fraction of the sky, written as its low 16 bits) and cloud type.
struct CoverCode {
    std::int32_t coverage = 0;
    std::int16_t type = 0;

    friend bool operator==(const CoverCode&, const CoverCode&) = default;
};

// Coverages: 65535 x 0.25, 0.5, 0.625, 0.875 and 1, rounded to even.
constexpr std::int32_t kCoverageQuarter = 16384;
constexpr std::int32_t kCoverageHalf = 32768;
constexpr std::int32_t kCoverageFiveEighths = 40959;
constexpr std::int32_t kCoverageSevenEighths = 57343;
constexpr std::int32_t kCoverageFull = 65535;

constexpr std::int16_t kThunderstormType = 10;
constexpr std::int16_t kThunderstormTopAboveStationMetres = 1000;

// The coverage and type for a layer's density text ("NONE", "FEW", "SCT", "BKN", "OVC",
// compared exactly) with its base in hundreds of feet; nothing for any other text, which
// leaves the layer as it was.
[[nodiscard]] std::optional<CoverCode> coverCode(std::string_view densityText, double baseHundredsFeet,
                                                 CloudLayer layer);

// The thunderstorm coverage for the codes "1", "2" and "3" (with type 10); nothing for any
// other text.
[[nodiscard]] std::optional<std::int32_t> thunderstormCoverage(std::string_view tsDensityText);

// Layer 1's type for thunderstorm code "0": 7 when a layer-1 density other than "NONE"
// is reported, else 0.
[[nodiscard]] std::int16_t noThunderstormType(std::string_view layer1DensityText);

}  // namespace stratocue::inject
