#include "inject/cover_codes.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <vector>

namespace stratocue::inject {
namespace {

TEST(CoverCode, DensityAndBaseGiveCoverageAndType) {
    struct Case {
        const char* name;
        std::string_view density;
        double baseHundredsFeet;
        CloudLayer layer;
        std::optional<CoverCode> expected;
    };
    const std::vector<Case> cases = {
        {"NoneClearsTheLayer", "NONE", 30, CloudLayer::Layer1, CoverCode{0, 0}},
        {"FewBelow200IsLowCloud", "FEW", 199, CloudLayer::Layer1, CoverCode{16384, 9}},
        {"FewAt200IsHighCloud", "FEW", 200, CloudLayer::Layer3, CoverCode{16384, 1}},
        {"ScatteredBelow200IsLowCloud", "SCT", 30, CloudLayer::Layer2, CoverCode{32768, 9}},
        {"ScatteredAbove200IsHighCloud", "SCT", 250, CloudLayer::Layer1, CoverCode{32768, 1}},
        {"BrokenLowOnLayer1", "BKN", 30, CloudLayer::Layer1, CoverCode{57343, 8}},
        {"BrokenLowOnLayer2IsType9", "BKN", 30, CloudLayer::Layer2, CoverCode{57343, 9}},
        {"BrokenLowOnLayer3", "BKN", 30, CloudLayer::Layer3, CoverCode{57343, 8}},
        {"BrokenAt200OnLayer2IsHighCloud", "BKN", 200, CloudLayer::Layer2, CoverCode{57343, 1}},
        {"OvercastAt50", "OVC", 50, CloudLayer::Layer1, CoverCode{65535, 8}},
        {"OvercastAt49", "OVC", 49, CloudLayer::Layer2, CoverCode{65535, 9}},
        {"OvercastHighOnLayer3", "OVC", 250, CloudLayer::Layer3, CoverCode{65535, 8}},
        {"MixedCaseNoneLeavesLayer", "None", 30, CloudLayer::Layer1, std::nullopt},
        {"LowerCaseLeavesLayer", "bkn", 30, CloudLayer::Layer2, std::nullopt},
        {"StartValueLeavesLayer", ".", 0, CloudLayer::Layer3, std::nullopt},
        {"EmptyLeavesLayer", "", 0, CloudLayer::Layer1, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(coverCode(c.density, c.baseHundredsFeet, c.layer), c.expected);
    }
}

TEST(ThunderstormCoverage, CodesOneToThree) {
    struct Case {
        const char* name;
        std::string_view code;
        std::optional<std::int32_t> expected;
    };
    const std::vector<Case> cases = {
        {"Light", "1", 16384},           {"Moderate", "2", 40959},       {"Heavy", "3", 57343},
        {"NoneCode", "0", std::nullopt}, {"Unknown", "4", std::nullopt}, {"StartValue", ".", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(thunderstormCoverage(c.code), c.expected);
    }
}

TEST(NoThunderstormType, SevenWhenLayer1IsReported) {
    struct Case {
        const char* name;
        std::string_view density;
        std::int16_t expected;
    };
    const std::vector<Case> cases = {
        {"ClearSky", "NONE", 0},
        {"Scattered", "SCT", 7},
        {"MixedCaseNone", "None", 7},
        {"StartValue", ".", 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(noThunderstormType(c.density), c.expected);
    }
}

}  // namespace
}  // namespace stratocue::inject
