#include "inject/metar_set.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/sim_offsets.h"
#include "metar_set_fixture.h"

namespace stratocue::inject {
namespace {

using testing::kFullWriteOffsets;
using testing::low16;
using testing::SurfaceWrite;
using testing::without;

std::vector<std::byte> bytesOf(std::string_view text) {
    std::vector<std::byte> bytes;
    for (const char c : text) bytes.push_back(static_cast<std::byte>(c));
    return bytes;
}

TEST(MetarSet, FullWriteOrder) {
    struct Case {
        const char* name;
        bool windsAloft;
        bool fdValid;
        bool messagesDisabled;
        const char* altitude;
        std::vector<std::int32_t> offsets;
    };
    std::vector<std::int32_t> withMarker = kFullWriteOffsets;
    withMarker.insert(withMarker.begin() + 15, offsets::kWindAloftAltitude.offset);
    const std::vector<Case> cases = {
        {"NearTheStation", false, false, false, "100", kFullWriteOffsets},
        {"WindsAloftMarkerBeforeGust", true, false, false, "100", withMarker},
        {"HighAboveStationNoTemperature", false, false, false, "3000",
         without(kFullWriteOffsets, {offsets::kTemperature.offset, offsets::kTemperatureAltitude.offset})},
        {"HighWithWindsAloftInForceLeavesWind", false, true, false, "3000",
         without(kFullWriteOffsets, {offsets::kTemperature.offset, offsets::kTemperatureAltitude.offset,
                                     offsets::kWindSpeed.offset, offsets::kWindDirection.offset})},
        {"MessageDisabled", false, false, true, "100",
         without(kFullWriteOffsets, {offsets::kMessageText.offset, offsets::kMessageShow.offset})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SurfaceWrite write;
        write.settings.windsAloftSimulation = c.windsAloft;
        write.settings.messagesDisabled = c.messagesDisabled;
        write.settings.altitudeText = c.altitude;
        write.settings.fdValid = c.fdValid;
        ASSERT_TRUE(write.recorded.opened);
        write.run();
        EXPECT_EQ(write.platform().writtenOffsets(), c.offsets);
        for (const auto& exchange : write.platform().exchanges()) EXPECT_EQ(exchange.size(), 1U);
    }
}

TEST(MetarSet, TypicalReportValues) {
    SurfaceWrite write;
    write.run();
    const auto& platform = write.platform();
    struct Expected {
        const char* name;
        std::int32_t offset;
        std::uint16_t value;
    };
    const std::vector<Expected> expected = {
        {"Layer2TypeBrokenLow", offsets::kLayer2Type.offset, 9},
        {"Layer3TypeOvercast", offsets::kLayer3Type.offset, 8},
        {"Layer2Base", offsets::kLayer2Base.offset, 2449},
        {"Layer2TopRechosenAtZero", offsets::kLayer2Top.offset, 2499},
        {"Layer2Coverage", offsets::kLayer2Coverage.offset, 57343},
        {"Layer3Base", offsets::kLayer3Base.offset, 3672},
        {"Layer3Top", offsets::kLayer3Top.offset, 3762},
        {"Layer3Coverage", offsets::kLayer3Coverage.offset, 65535},
        {"Layer1Base", offsets::kLayer1Base.offset, 921},
        {"Layer1TopRechosenAtZero", offsets::kLayer1Top.offset, 971},
        {"Layer1Coverage", offsets::kLayer1Coverage.offset, 32768},
        {"Layer1Type", offsets::kLayer1Type.offset, 9},
        {"NoPrecipitation", offsets::kPrecipitation.offset, 0},
        {"Temperature", offsets::kTemperature.offset, 15 * 256},
        {"TemperatureAltitude", offsets::kTemperatureAltitude.offset, 4},
        {"Gust", offsets::kGust.offset, 0},
        {"WindSpeed", offsets::kWindSpeed.offset, 10},
        {"WindDirection270", offsets::kWindDirection.offset, 49150},
        {"Visibility", offsets::kVisibility.offset, 1000},
        {"Pressure", offsets::kPressure.offset, 1013 * 16},
        {"DewPoint", offsets::kDewPoint.offset, 10 * 256},
        {"ShowMessage", offsets::kMessageShow.offset, 0xFFFF},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(platform.value16At(e.offset), e.value);
    }
}

TEST(MetarSet, CoverCodesOnEachLayer) {
    struct Case {
        const char* name;
        int layer;
        const char* density;
        const char* base;
        std::uint16_t coverage;
        std::uint16_t type;
    };
    const std::vector<Case> cases = {
        {"BrokenLowLayer1", 1, "BKN", "030", 57343, 8},
        {"BrokenLowLayer2", 2, "BKN", "030", 57343, 9},
        {"BrokenLowLayer3", 3, "BKN", "030", 57343, 8},
        {"OvercastAt050Layer2", 2, "OVC", "050", 65535, 8},
        {"OvercastAt049Layer2", 2, "OVC", "049", 65535, 9},
        {"OvercastAt049Layer3", 3, "OVC", "049", 65535, 9},
        {"FewBelow200Layer3", 3, "FEW", "199", 16384, 9},
        {"FewAt200Layer3", 3, "FEW", "200", 16384, 1},
        {"ScatteredBelow200Layer1", 1, "SCT", "150", 32768, 9},
        {"ScatteredAt250Layer2", 2, "SCT", "250", 32768, 1},
        {"MixedCaseNoneLayer2", 2, "None", "030", 0, 0},
        {"MixedCaseNoneLayer3", 3, "None", "030", 0, 0},
        {"NoneLayer1", 1, "NONE", "0", 0, 0},
    };
    const std::int32_t coverageOffsets[] = {offsets::kLayer1Coverage.offset, offsets::kLayer2Coverage.offset,
                                            offsets::kLayer3Coverage.offset};
    const std::int32_t typeOffsets[] = {offsets::kLayer1Type.offset, offsets::kLayer2Type.offset,
                                        offsets::kLayer3Type.offset};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SurfaceWrite write;
        std::string* densities[] = {&write.report.c1density, &write.report.c2density, &write.report.c3density};
        std::string* bases[] = {&write.report.c1base, &write.report.c2base, &write.report.c3base};
        *densities[c.layer - 1] = c.density;
        *bases[c.layer - 1] = c.base;
        write.run();
        EXPECT_EQ(write.platform().value16At(coverageOffsets[c.layer - 1]), c.coverage);
        EXPECT_EQ(write.platform().value16At(typeOffsets[c.layer - 1]), c.type);
    }
}

TEST(MetarSet, PrecipitationBytes) {
    struct Case {
        const char* name;
        const char* ptype;
        const char* pint;
        std::optional<std::vector<std::byte>> bytes;
    };
    const std::vector<Case> cases = {
        {"None", "0", "0", std::vector{std::byte{0}, std::byte{0}}},
        {"StartValuesReadAsZero", ".", ".", std::vector{std::byte{0}, std::byte{0}}},
        {"LightRain", "1", "1", std::vector{std::byte{3}, std::byte{1}}},
        {"HeavySnow", "2", "3", std::vector{std::byte{5}, std::byte{2}}},
        {"IntensityOver255Skipped", "1", "254", std::nullopt},
        {"TypeOver255Skipped", "256", "1", std::nullopt},
        {"NegativeTypeSkipped", "-1", "1", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SurfaceWrite write;
        write.report.ptype = c.ptype;
        write.report.pint = c.pint;
        write.run();
        EXPECT_EQ(write.platform().bytesAt(offsets::kPrecipitation.offset), c.bytes);
    }
}

TEST(MetarSet, TemperatureOnlyNearTheStation) {
    struct Case {
        const char* name;
        const char* altitude;
        const char* temp;
        std::optional<std::uint16_t> temperature;
        std::optional<std::uint16_t> temperatureAltitude;
    };
    // The station is 200 m high; the limit is 2500 / 3.285 = 761.035 m above it.
    const std::vector<Case> cases = {
        {"BelowTheStation", "", "15", 15 * 256, 200},
        {"JustUnderTheLimit", "961", "-3", low16(-3 * 256), 200},
        {"JustOverTheLimit", "962", "15", std::nullopt, std::nullopt},
        {"RoundedToEven", "300", "2.5", 2 * 256, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SurfaceWrite write;
        write.settings.altitudeText = c.altitude;
        write.settings.stationElevationMetres = 200;
        write.report.temp = c.temp;
        write.run();
        EXPECT_EQ(write.platform().value16At(offsets::kTemperature.offset), c.temperature);
        EXPECT_EQ(write.platform().value16At(offsets::kTemperatureAltitude.offset), c.temperatureAltitude);
    }
}

TEST(MetarSet, PressureAndItsFallback) {
    struct Case {
        const char* name;
        const char* alt;
        std::uint16_t written;
        const char* fieldAfter;
    };
    const std::vector<Case> cases = {
        {"Standard", "1013", 1013 * 16, "1013"},
        {"ZeroBecomes1013", "0", 1013 * 16, "0"},
        {"EmptyBecomes1013", "", 1013 * 16, ""},
        {"Below800Becomes1013", "799", 1013 * 16, "799"},
        {"At800Kept", "800", 800 * 16, "800"},
        {"TiesToEven", "1012.5", 1012 * 16, "1012.5"},
        {"CommaReadAsPoint", "1013,6", 1014 * 16, "1013.6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SurfaceWrite write;
        write.report.alt = c.alt;
        write.run();
        EXPECT_EQ(write.platform().value16At(offsets::kPressure.offset), c.written);
        EXPECT_EQ(write.report.alt, c.fieldAfter);
    }
}

TEST(MetarSet, MessageBytes) {
    const std::string hundred(100, 'M');
    const std::string ninetyFive(95, 'M');
    struct Case {
        const char* name;
        std::string reportText;
        bool disabled;
        std::optional<std::string> message;
    };
    const std::vector<Case> cases = {
        {"ShortReport", "KSFO 121756Z", false, std::string("Stratocue->KSFO 121756Z...\0\0", 28)},
        {"EmptyReport", "", false, std::string("Stratocue->...\0\0", 16)},
        {"CutAfter95Characters", hundred, false, "Stratocue->" + ninetyFive + "..." + std::string(2, '\0')},
        {"Exactly95Characters", ninetyFive, false, "Stratocue->" + ninetyFive + "..." + std::string(2, '\0')},
        {"Disabled", "KSFO 121756Z", true, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SurfaceWrite write;
        write.settings.reportText = c.reportText;
        write.settings.messagesDisabled = c.disabled;
        write.run();
        const auto written = write.platform().bytesAt(offsets::kMessageText.offset);
        ASSERT_EQ(written.has_value(), c.message.has_value());
        if (c.message) {
            EXPECT_EQ(*written, bytesOf(*c.message));
        }
        EXPECT_EQ(write.platform().value16At(offsets::kMessageShow.offset).has_value(), !c.disabled);
    }
}

TEST(MetarSet, ValueThatDoesNotFitIsSkipped) {
    struct Case {
        const char* name;
        std::function<void(SurfaceWrite&)> change;
        std::vector<std::int32_t> skipped;
    };
    const std::vector<Case> cases = {
        {"Temperature200SkipsItsAltitudeToo",
         [](SurfaceWrite& w) { w.report.temp = "200"; },
         {offsets::kTemperature.offset, offsets::kTemperatureAltitude.offset}},
        {"TemperatureMinus129SkipsItsAltitudeToo",
         [](SurfaceWrite& w) { w.report.temp = "-129"; },
         {offsets::kTemperature.offset, offsets::kTemperatureAltitude.offset}},
        {"TemperatureBeyond16BitsSkipsItsAltitudeToo",
         [](SurfaceWrite& w) { w.report.temp = "99999"; },
         {offsets::kTemperature.offset, offsets::kTemperatureAltitude.offset}},
        {"DewPoint128", [](SurfaceWrite& w) { w.report.dewpoint = "128"; }, {offsets::kDewPoint.offset}},
        {"Visibility400", [](SurfaceWrite& w) { w.report.vis = "400"; }, {offsets::kVisibility.offset}},
        {"Visibility327Point68", [](SurfaceWrite& w) { w.report.vis = "327.68"; }, {offsets::kVisibility.offset}},
        {"Pressure3000", [](SurfaceWrite& w) { w.report.alt = "3000"; }, {offsets::kPressure.offset}},
        {"Pressure2048", [](SurfaceWrite& w) { w.report.alt = "2048"; }, {offsets::kPressure.offset}},
        {"PressureBeyond16Bits", [](SurfaceWrite& w) { w.report.alt = "99999"; }, {offsets::kPressure.offset}},
        {"PrecipitationIntensity", [](SurfaceWrite& w) { w.report.pint = "300"; }, {offsets::kPrecipitation.offset}},
        {"WindSpeedSkipsDirectionToo",
         [](SurfaceWrite& w) { w.report.windspeed = "40000"; },
         {offsets::kWindSpeed.offset, offsets::kWindDirection.offset}},
        {"Gust", [](SurfaceWrite& w) { w.report.gusting = "40000"; }, {offsets::kGust.offset}},
        {"Layer2BaseSkipsItsTopAndLayer1Top",
         [](SurfaceWrite& w) { w.report.c2base = "99999"; },
         {offsets::kLayer2Base.offset, offsets::kLayer2Top.offset, offsets::kLayer1Top.offset}},
        {"Layer3BasePlusElevation",
         [](SurfaceWrite& w) {
             w.report.c3base = "999";
             w.settings.stationElevationMetres = 3000;
             w.settings.altitudeText = "3000";
         },
         {offsets::kLayer3Base.offset, offsets::kLayer3Top.offset}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SurfaceWrite write;
        c.change(write);
        ASSERT_NO_THROW(write.run());
        EXPECT_EQ(write.platform().writtenOffsets(), without(kFullWriteOffsets, c.skipped));
    }
}

TEST(MetarSet, LargestValuesThatFitAreWritten) {
    struct Case {
        const char* name;
        std::function<void(SurfaceWrite&)> change;
        std::int32_t offset;
        std::uint16_t value;
    };
    const std::vector<Case> cases = {
        {"Temperature127", [](SurfaceWrite& w) { w.report.temp = "127"; }, offsets::kTemperature.offset, 127 * 256},
        {"TemperatureMinus128", [](SurfaceWrite& w) { w.report.temp = "-128"; }, offsets::kTemperature.offset,
         low16(-128 * 256)},
        {"Visibility327Point67", [](SurfaceWrite& w) { w.report.vis = "327.67"; }, offsets::kVisibility.offset, 32767},
        {"Pressure2047", [](SurfaceWrite& w) { w.report.alt = "2047"; }, offsets::kPressure.offset, 2047 * 16},
        {"IntensityAndType",
         [](SurfaceWrite& w) {
             w.report.pint = "253";
             w.report.ptype = "255";
         },
         offsets::kPrecipitation.offset, 0xFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SurfaceWrite write;
        c.change(write);
        write.run();
        EXPECT_EQ(write.platform().value16At(c.offset), c.value);
    }
}

TEST(MetarSet, ClosedLinkSendsNothing) {
    testing::RecordingPlatform platform;
    simlink::Link link(platform);
    link.Link_Init();
    metar::MetarReport report = testing::typicalReport();
    bool altitudeSet = false;
    testing::ScriptedRandom random(0.5);
    ASSERT_NO_THROW(METAR_Set(link, report, altitudeSet, testing::typicalSettings(), random));
    EXPECT_TRUE(platform.exchanges().empty());
}

}  // namespace
}  // namespace stratocue::inject
