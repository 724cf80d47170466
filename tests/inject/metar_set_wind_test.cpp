#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/sim_offsets.h"
#include "inject/metar_set.h"
#include "metar_set_fixture.h"

namespace stratocue::inject {
namespace {

using testing::SurfaceWrite;

const double kLargestBelowOne = std::nextafter(1.0, 0.0);

TEST(MetarSetWind, SpeedAndDirection) {
    struct Case {
        const char* name;
        const char* winddir;
        const char* windspeed;
        std::uint16_t speed;
        std::optional<std::uint16_t> direction;
        const char* winddirAfter;
    };
    const std::vector<Case> cases = {
        {"West", "270", "10", 10, 49150, "270"},
        {"EastRoundedDown", "090", "5", 5, 16383, "090"},
        {"North360WrittenAs359", "360", "10", 10, 65351, "359"},
        {"CalmWritesSpeedOnly", "270", "0", 0, std::nullopt, "270"},
        {"VariableWritesSpeedOnly", "VRB", "5", 5, std::nullopt, "VRB"},
        {"ZeroDirectionWritesSpeedOnly", "000", "5", 5, std::nullopt, "000"},
        {"SpeedRoundedDown", "180", "7.9", 7, 32767, "180"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SurfaceWrite write;
        write.report.winddir = c.winddir;
        write.report.windspeed = c.windspeed;
        write.run();
        EXPECT_EQ(write.platform().value16At(offsets::kWindSpeed.offset), c.speed);
        EXPECT_EQ(write.platform().value16At(offsets::kWindDirection.offset), c.direction);
        EXPECT_EQ(write.report.winddir, c.winddirAfter);
    }
}

TEST(MetarSetWind, SurfaceWindLeftToWindsAloftHighAboveStation) {
    struct Case {
        const char* name;
        bool forcedActive;
        bool fdValid;
        const char* altitude;
        bool surfaceWindWritten;
        const char* winddirAfter;
    };
    // The station is 100 m high; the wind report is 360 degrees at 10 knots.
    const std::vector<Case> cases = {
        {"NoWindsAloftStation", false, false, "5000", true, "359"},
        {"WindsAloftInForceHighAbove", false, true, "5000", false, "360"},
        {"WindsAloftInForceButNearStation", false, true, "860", true, "359"},
        {"WindsAloftInForceAtTheLimit", false, true, "862", false, "360"},
        {"ForcedStationHighAbove", true, true, "5000", true, "359"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SurfaceWrite write;
        write.report.winddir = "360";
        write.report.gusting = "15";
        write.settings.stationElevationMetres = 100;
        write.settings.altitudeText = c.altitude;
        write.settings.forcedActive = c.forcedActive;
        write.settings.fdValid = c.fdValid;
        write.run();
        EXPECT_EQ(write.platform().value16At(offsets::kWindSpeed.offset).has_value(), c.surfaceWindWritten);
        EXPECT_EQ(write.platform().value16At(offsets::kWindDirection.offset).has_value(), c.surfaceWindWritten);
        EXPECT_EQ(write.platform().value16At(offsets::kGust.offset), 15);
        EXPECT_EQ(write.report.winddir, c.winddirAfter);
    }
}

TEST(MetarSetWind, WindsAloftSpeedGrowsWithAltitude) {
    struct Case {
        const char* name;
        const char* altitude;
        std::int16_t elevationMetres;
        const char* windspeed;
        const char* gusting;
        double random;
        std::uint16_t speed;
        std::uint16_t gust;
    };
    // U = floor(A) / 135; the speed is floor(S + (U - S + 1) r), never below S.
    const std::vector<Case> cases = {
        {"LowestDrawKeepsReported", "3200", 200, "10", "25", 0.0, 10, 25},
        {"LargestDrawReaches24", "3200", 200, "10", "25", kLargestBelowOne, 24, 25},
        {"MiddleDraw", "3200", 200, "10", "25", 0.5, 17, 25},
        {"AltitudeRoundedDownFirst", "3239.9", 200, "10", "25", 0.4668, 16, 25},  // 3239.9 unrounded gives 17
        {"GustKeptAt3285", "3285", 200, "10", "25", 0.0, 10, 25},
        {"GustDroppedAbove3285", "3285.5", 200, "10", "25", 0.0, 10, 0},
        {"GustRoundedToEven", "3200", 200, "10", "24.5", 0.0, 10, 24},
        {"Within1000OfStationKeepsReported", "1100", 200, "10", "25", kLargestBelowOne, 10, 25},
        {"LowCeilingKeepsReported", "1500", 0, "20", "25", kLargestBelowOne, 20, 25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SurfaceWrite write;
        write.settings.windsAloftSimulation = true;
        write.settings.altitudeText = c.altitude;
        write.settings.stationElevationMetres = c.elevationMetres;
        write.report.windspeed = c.windspeed;
        write.report.gusting = c.gusting;
        write.random = testing::ScriptedRandom(c.random);
        write.run();
        EXPECT_EQ(write.platform().value16At(offsets::kWindAloftAltitude.offset), 30000);
        EXPECT_EQ(write.platform().value16At(offsets::kWindSpeed.offset), c.speed);
        EXPECT_EQ(write.platform().value16At(offsets::kGust.offset), c.gust);
    }
}

TEST(MetarSetWind, WindsAloftSpeedStaysInRange) {
    for (int step = 0; step < 1000; ++step) {
        SurfaceWrite write;
        write.settings.windsAloftSimulation = true;
        write.settings.altitudeText = "3200";
        write.settings.stationElevationMetres = 200;
        write.random = testing::ScriptedRandom(step / 1000.0);
        write.run();
        const auto speed = write.platform().value16At(offsets::kWindSpeed.offset);
        ASSERT_TRUE(speed.has_value());
        ASSERT_GE(*speed, 10) << "r = " << step / 1000.0;
        ASSERT_LE(*speed, 24) << "r = " << step / 1000.0;
    }
}

TEST(MetarSetWind, ReseedsForCloudsAndWind) {
    struct Case {
        const char* name;
        bool altitudeSet;
        bool windsAloft;
        std::size_t reseeds;
    };
    const std::vector<Case> cases = {
        {"FullWrite", false, false, 1},
        {"FullWriteWithWindsAloft", false, true, 3},
        {"AltitudeCall", true, false, 0},
        {"AltitudeCallWithWindsAloft", true, true, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SurfaceWrite write;
        write.altitudeSet = c.altitudeSet;
        write.settings.windsAloftSimulation = c.windsAloft;
        write.run();
        EXPECT_EQ(write.random.reseeds, c.reseeds);
    }
}

TEST(MetarSetWind, AltitudeCallWritesOnlyTheWind) {
    struct Case {
        const char* name;
        bool windsAloft;
        bool fdValid;
        const char* altitude;
        std::vector<std::int32_t> offsets;
    };
    const std::vector<Case> cases = {
        {"WithWindsAloft",
         true,
         false,
         "3000",
         {offsets::kWindAloftAltitude.offset, offsets::kGust.offset, offsets::kWindSpeed.offset,
          offsets::kWindDirection.offset}},
        {"WithoutWindsAloft",
         false,
         false,
         "3000",
         {offsets::kGust.offset, offsets::kWindSpeed.offset, offsets::kWindDirection.offset}},
        {"WindsAloftInForceHighAbove", true, true, "3000", {offsets::kWindAloftAltitude.offset, offsets::kGust.offset}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SurfaceWrite write;
        write.altitudeSet = true;
        write.settings.fdValid = c.fdValid;
        write.settings.windsAloftSimulation = c.windsAloft;
        write.settings.altitudeText = c.altitude;
        write.report.alt = "1013,6";
        write.run();
        EXPECT_EQ(write.platform().writtenOffsets(), c.offsets);
        EXPECT_FALSE(write.altitudeSet);
        EXPECT_EQ(write.report.alt, "1013,6");
    }
}

}  // namespace
}  // namespace stratocue::inject
