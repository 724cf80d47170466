#include "inject/cloud_layers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scripted_random.h"

namespace stratocue::inject {
namespace {

using testing::ScriptedRandom;

const double kLargestBelowOne = std::nextafter(1.0, 0.0);

struct LayerExpectation {
    std::optional<std::int16_t> base;
    std::optional<std::int16_t> top;
    std::int32_t coverage;
    std::int16_t type;
};

void expectLayer(const CloudLayerValues& layer, const LayerExpectation& expected) {
    EXPECT_EQ(layer.baseMetres, expected.base);
    EXPECT_EQ(layer.topMetres, expected.top);
    EXPECT_EQ(layer.coverage, expected.coverage);
    EXPECT_EQ(layer.type, expected.type);
}

metar::MetarReport layersReport(std::string ts, std::string c1density, std::string c1base, std::string c2density,
                                std::string c2base, std::string c3density = ".", std::string c3base = ".") {
    metar::MetarReport report;
    report.tsdensity = std::move(ts);
    report.c1density = std::move(c1density);
    report.c1base = std::move(c1base);
    report.c2density = std::move(c2density);
    report.c2base = std::move(c2base);
    report.c3density = std::move(c3density);
    report.c3base = std::move(c3base);
    return report;
}

TEST(CloudBaseMetres, HundredsOfFeetTextToWholeMetres) {
    struct Case {
        const char* name;
        const char* text;
        std::int16_t expected;
    };
    const std::vector<Case> cases = {
        {"ThreeThousandFeet", "030", 917},          {"FiveThousandFeet", "050", 1528},
        {"HighestReportable", "999", 30542},        {"ZeroIsNoHeight", "0", 0},
        {"StartValueIsNoHeight", ".", 0},           {"NotANumber", "///", 0},
        {"LettersStopTheHundreds", "12CB", 3},       // "12CB00" reads as 12 feet
        {"DecimalPointStopsTheHundreds", "1.5", 0},  // "1.500" reads as 1.5 feet
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(cloudBaseMetres(c.text), c.expected);
    }
}

TEST(CloudLayers, ThunderstormAndLayer1) {
    struct Case {
        const char* name;
        metar::MetarReport report;
        std::int16_t elevationMetres;
        double random;
        LayerExpectation layer1;
    };
    const std::vector<Case> cases = {
        {"ModerateStormWithoutBaseTopsAtElevationPlus1000",
         layersReport("2", "None", "0", ".", "."),
         100,
         0.0,
         {0, 1100, 40959, 10}},
        {"StormTopRechosenBelowLayer2WithoutElevation",
         layersReport("2", "None", "0", "BKN", "030"),
         100,
         0.0,
         {0, 50, 40959, 10}},
        {"StormTopRechosenUpToLayer2BaseLessOne",
         layersReport("2", "None", "0", "BKN", "030"),
         100,
         kLargestBelowOne,
         {0, 916, 40959, 10}},
        {"CoverCodeReplacesStorm", layersReport("3", "SCT", "030", ".", "."), 0, 0.0, {917, 987, 32768, 9}},
        {"LightStormKeptUnderMixedCaseNone", layersReport("1", "None", "030", ".", "."), 0, 0.0, {917, 987, 16384, 10}},
        {"NoStormWithReportedLayerIsType7", layersReport("0", "None", "0", ".", "."), 0, 0.0, {0, 0, 0, 7}},
        {"NoStormClearSky", layersReport("0", "NONE", "0", ".", "."), 0, 0.0, {0, 0, 0, 0}},
        {"UnknownStormCodeKeepsStartValues", layersReport("X", "None", "0", ".", "."), 100, 0.0, {0, 0, 0, 0}},
        {"ElevationLiftsLayerWithBase", layersReport("0", "OVC", "030", ".", "."), 250, 0.0, {1167, 1237, 65535, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedRandom random(c.random);
        expectLayer(computeCloudLayers(c.report, c.elevationMetres, random).layer1, c.layer1);
    }
}

TEST(CloudLayers, ElevationOnlyOnLayersWithABase) {
    ScriptedRandom random(0.0);
    // Layer 3 alone: its top is 90 m above its base, and layer 2's top is chosen again from
    // 50 m although layer 2 has no base, so it gets no elevation.
    const CloudLayers layers =
        computeCloudLayers(layersReport("0", "NONE", "0", "NONE", "0", "BKN", "030"), 100, random);
    expectLayer(layers.layer1, {0, 0, 0, 0});
    expectLayer(layers.layer2, {0, 50, 0, 0});
    expectLayer(layers.layer3, {1017, 1107, 57343, 8});
    EXPECT_EQ(random.reseeds, 1U);
    EXPECT_EQ(random.draws, 2U);
}

TEST(CloudLayers, RandomTopsSpanTheirRange) {
    enum class Which { Layer1, Layer2, Layer3 };
    struct Case {
        const char* name;
        const char* c1base;
        const char* c2base;
        const char* c3base;
        Which layer;
        std::int16_t topAtZero;
        std::int16_t topAtLargest;  // single precision, as the cloud model computes it
        std::int16_t highestTopBelowLargest;
    };
    const std::vector<Case> cases = {
        {"Layer1Rises70To550", "030", "0", "0", Which::Layer1, 987, 1467, 1467},
        {"Layer1RechosenBelowLayer2", "030", "080", "0", Which::Layer1, 967, 2445, 2444},
        {"Layer2Rises70To550", "0", "080", "0", Which::Layer2, 2515, 2995, 2995},
        {"Layer2RechosenBelowLayer3", "0", "080", "120", Which::Layer2, 2495, 3668, 3667},
        {"Layer2RechosenWithoutItsBase", "0", "0", "120", Which::Layer2, 50, 3667, 3667},
        {"Layer3Rises90To240", "0", "0", "120", Which::Layer3, 3758, 3908, 3908},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const metar::MetarReport report = layersReport("0", "SCT", c.c1base, "SCT", c.c2base, "SCT", c.c3base);
        const auto top = [&](double r) {
            ScriptedRandom random(r);
            const CloudLayers layers = computeCloudLayers(report, 0, random);
            const CloudLayerValues& layer = c.layer == Which::Layer1   ? layers.layer1
                                            : c.layer == Which::Layer2 ? layers.layer2
                                                                       : layers.layer3;
            return layer.topMetres.value_or(-1);
        };
        EXPECT_EQ(top(0.0), c.topAtZero);
        EXPECT_EQ(top(kLargestBelowOne), c.topAtLargest);
        for (int step = 0; step < 1000; ++step) {
            const std::int16_t value = top(step / 1000.0);
            ASSERT_GE(value, c.topAtZero) << "r = " << step / 1000.0;
            ASSERT_LE(value, c.highestTopBelowLargest) << "r = " << step / 1000.0;
        }
    }
}

TEST(CloudLayers, HeightThatDoesNotFitIsMissing) {
    struct Case {
        const char* name;
        metar::MetarReport report;
        std::int16_t elevationMetres;
        LayerExpectation layer1;
        LayerExpectation layer2;
    };
    const std::vector<Case> cases = {
        {"BaseTooHighLosesBaseAndBothTopsBelowIt",
         layersReport("0", "SCT", "030", "OVC", "99999"),
         0,
         {917, std::nullopt, 32768, 9},
         {std::nullopt, std::nullopt, 65535, 8}},
        {"ElevationPushesBaseAndTopOver32767",
         layersReport("0", "NONE", "0", "OVC", "999"),
         3000,
         {0, 50, 0, 0},
         {std::nullopt, std::nullopt, 65535, 8}},
        {"StormTopOver32767",
         layersReport("1", "None", "0", ".", "."),
         32000,
         {0, std::nullopt, 16384, 10},
         {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedRandom random(0.0);
        const CloudLayers layers = computeCloudLayers(c.report, c.elevationMetres, random);
        expectLayer(layers.layer1, c.layer1);
        expectLayer(layers.layer2, c.layer2);
    }
}

}  // namespace
}  // namespace stratocue::inject
