#include "inject/cover_codes.h"

#include <array>

namespace stratocue::inject {
namespace {

// Which type a density gives, by the height of the layer's base.
enum class TypeRule { Clear, ByHeight200, Broken, Overcast };

struct DensityEntry {
    std::string_view text;
    std::int32_t coverage;
    TypeRule rule;
};

constexpr std::array<DensityEntry, 5> kDensities = {{
    {"NONE", 0, TypeRule::Clear},
    {"FEW", kCoverageQuarter, TypeRule::ByHeight200},
    {"SCT", kCoverageHalf, TypeRule::ByHeight200},
    {"BKN", kCoverageSevenEighths, TypeRule::Broken},
    {"OVC", kCoverageFull, TypeRule::Overcast},
}};

constexpr double kHighCloudHundredsFeet = 200.0;
constexpr double kHighOvercastHundredsFeet = 50.0;
constexpr std::int16_t kHighCloudType = 1;
constexpr std::int16_t kLowBrokenType = 8;
constexpr std::int16_t kLowCloudType = 9;
constexpr std::int16_t kOvercastType = 8;
constexpr std::int16_t kReportedLayerType = 7;

struct ThunderstormEntry {
    std::string_view text;
    std::int32_t coverage;
};

constexpr std::array<ThunderstormEntry, 3> kThunderstorms = {{
    {"1", kCoverageQuarter},
    {"2", kCoverageFiveEighths},
    {"3", kCoverageSevenEighths},
}};

std::int16_t typeFor(TypeRule rule, double baseHundredsFeet, CloudLayer layer) {
    switch (rule) {
        case TypeRule::Clear:
            return 0;
        case TypeRule::ByHeight200:
            return baseHundredsFeet >= kHighCloudHundredsFeet ? kHighCloudType : kLowCloudType;
        case TypeRule::Broken:
            if (baseHundredsFeet >= kHighCloudHundredsFeet) return kHighCloudType;
            return layer == CloudLayer::Layer2 ? kLowCloudType : kLowBrokenType;
        case TypeRule::Overcast:
            return baseHundredsFeet >= kHighOvercastHundredsFeet ? kOvercastType : kLowCloudType;
    }
    return 0;
}

}  // namespace

std::optional<CoverCode> coverCode(std::string_view densityText, double baseHundredsFeet, CloudLayer layer) {
    for (const DensityEntry& entry : kDensities) {
        if (entry.text == densityText) return CoverCode{entry.coverage, typeFor(entry.rule, baseHundredsFeet, layer)};
    }
    return std::nullopt;
}

std::optional<std::int32_t> thunderstormCoverage(std::string_view tsDensityText) {
    for (const ThunderstormEntry& entry : kThunderstorms) {
        if (entry.text == tsDensityText) return entry.coverage;
    }
    return std::nullopt;
}

std::int16_t noThunderstormType(std::string_view layer1DensityText) {
    return layer1DensityText != "NONE" ? kReportedLayerType : 0;
}

}  // namespace stratocue::inject
