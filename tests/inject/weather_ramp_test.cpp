#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/sim_offsets.h"
#include "common/units.h"
#include "inject/metar_set.h"
#include "inject/weather_ramp.h"
#include "metar_set_fixture.h"
#include "recording_platform.h"

namespace stratocue::inject {
namespace {

using namespace std::chrono_literals;
using testing::RecordedLink;
using testing::WriteRecord;

// Signed distance from `from` to `to`, the short way round for a direction.
std::int32_t shortWay(bool aroundCircle, std::int32_t from, std::int32_t to) {
    std::int32_t plain = to - from;
    if (!aroundCircle) return plain;
    const auto circle = static_cast<std::int32_t>(units::kDirectionUnitsPerCircle);
    plain = ((plain % circle) + circle) % circle;
    return plain > circle / 2 ? plain - circle : plain;
}

std::int32_t asHeld(bool aroundCircle, const WriteRecord& record) {
    const auto raw = static_cast<std::uint16_t>(simlink::readLe16(record.bytes));
    return aroundCircle ? std::int32_t{raw} : std::int32_t{static_cast<std::int16_t>(raw)};
}

struct RampBench {
    RecordedLink recorded;
    WeatherRamp ramp{recorded.link};
    [[nodiscard]] std::vector<WriteRecord> writes() const { return recorded.platform.writes(); }
    void clear() { recorded.platform.clearLog(); }
};

struct RateCase {
    const char* name;
    offsets::SimOffset where;
    std::int32_t from;
    std::int32_t to;
    double minutesToReach;  // the change over its rate
    bool aroundCircle = false;
};

const std::vector<RateCase>& rateCases() {
    static const std::vector<RateCase> cases = {
        {"Pressure6HpaIn6Minutes", offsets::kPressure, 1013 * 16, 1019 * 16, 6.0},
        {"PressureDown", offsets::kPressure, 1019 * 16, 1013 * 16, 6.0},
        {"WindSpeed20KnotsIn200Seconds", offsets::kWindSpeed, 10, 30, 20.0 / 6.0},
        {"Gust", offsets::kGust, 20, 0, 20.0 / 6.0},
        {"DirectionShortWayThroughNorth", offsets::kWindDirection, 57342, 8191, 16383.0 / (30.0 * 65534.0 / 360.0),
         true},
        {"DirectionShortWayBackThroughNorth", offsets::kWindDirection, 8191, 57342, 16383.0 / (30.0 * 65534.0 / 360.0),
         true},
        {"Visibility10To2Miles", offsets::kVisibility, 1000, 200, 8.0},
        {"Temperature", offsets::kTemperature, 15 * 256, 5 * 256, 5.0},
        {"DewPoint", offsets::kDewPoint, -2 * 256, 4 * 256, 3.0},
    };
    return cases;
}

double unitsPerMinute(const offsets::SimOffset& where) {
    for (const RampRate& rate : kRampRates) {
        if (rate.where.offset == where.offset) return rate.unitsPerMinute;
    }
    return 0.0;
}

TEST(WeatherRamp, EachSmoothedOffsetMovesAtItsRateForAnyTickLength) {
    for (const auto tick : {5000ms, 500ms}) {
        for (const RateCase& c : rateCases()) {
            SCOPED_TRACE(std::string(c.name) + " ticks of " + std::to_string(tick.count()) + " ms");
            RampBench bench;
            bench.ramp.setSmooth(true);
            bench.ramp.value16(c.where, c.from);
            bench.ramp.value16(c.where, c.to);
            ASSERT_EQ(bench.writes().size(), 1u);  // the first value at once, the second a target
            const double perTick = unitsPerMinute(c.where) * std::chrono::duration<double>(tick).count() / 60.0;
            std::int32_t held = c.from;
            int ticks = 0;
            while (bench.ramp.underWay() && ticks < 100000) {
                bench.clear();
                bench.ramp.step(tick);
                ++ticks;
                for (const WriteRecord& record : bench.writes()) {
                    ASSERT_EQ(record.offset, c.where.offset);
                    const std::int32_t next = asHeld(c.aroundCircle, record);
                    const std::int32_t moved = shortWay(c.aroundCircle, held, next);
                    EXPECT_LE(std::abs(moved), std::ceil(perTick)) << "tick " << ticks;
                    // Always towards the target, never past it.
                    EXPECT_LE(std::abs(shortWay(c.aroundCircle, next, c.to)),
                              std::abs(shortWay(c.aroundCircle, held, c.to)));
                    held = next;
                }
            }
            EXPECT_EQ(held, c.to);
            const double ticksToReach = c.minutesToReach * 60.0 / std::chrono::duration<double>(tick).count();
            EXPECT_NEAR(ticks, std::ceil(ticksToReach - 1e-6), 1.0);
        }
    }
}

struct OnceCase {
    const char* name;
    offsets::SimOffset where;
};

TEST(WeatherRamp, OtherOffsetsGoInAtOnce) {
    const std::vector<OnceCase> cases = {
        {"CloudBase", offsets::kLayer1Base},
        {"CloudCoverage", offsets::kLayer2Coverage},
        {"CloudType", offsets::kLayer3Type},
        {"TemperatureAltitude", offsets::kTemperatureAltitude},
        {"WindAloftAltitude", offsets::kWindAloftAltitude},
        {"MessageShow", offsets::kMessageShow},
    };
    for (const OnceCase& c : cases) {
        SCOPED_TRACE(c.name);
        RampBench bench;
        bench.ramp.setSmooth(true);
        bench.ramp.value16(c.where, 100);
        bench.ramp.value16(c.where, 3000);
        EXPECT_FALSE(bench.ramp.underWay());
        ASSERT_EQ(bench.writes().size(), 2u);
        EXPECT_EQ(simlink::readLe16(bench.writes()[1].bytes), 3000);
    }
}

TEST(WeatherRamp, TargetAndStart) {
    struct Case {
        const char* name;
        bool forgetBeforeSecond;
        std::vector<std::int32_t> valuesInOneTick;  // after a first value of 16208
        std::int32_t expectedTarget;
        std::size_t writesAtOnce;
    };
    const std::vector<Case> cases = {
        {"LastValueOfTheTickIsTheTarget", false, {16304, 16240}, 16240, 1},
        {"BackToTheHeldValueStopsTheRamp", false, {16304, 16208}, 16208, 2},
        {"AfterForgettingTheNextValueGoesInAtOnce", true, {16304}, 16304, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RampBench bench;
        bench.ramp.setSmooth(true);
        bench.ramp.value16(offsets::kPressure, 16208);
        if (c.forgetBeforeSecond) bench.ramp.forgetWritten();
        for (const std::int32_t value : c.valuesInOneTick) bench.ramp.value16(offsets::kPressure, value);
        EXPECT_EQ(bench.writes().size(), c.writesAtOnce);
        while (bench.ramp.underWay()) bench.ramp.step(5s);
        EXPECT_EQ(bench.recorded.platform.value16At(offsets::kPressure.offset), c.expectedTarget);
    }
}

TEST(WeatherRamp, StepsArePlainWritesOnlyWhileARampIsUnderWay) {
    RampBench bench;
    std::vector<std::string> told;
    bench.ramp.tellEventsTo([&told](const std::string& event) { told.push_back(event); });
    bench.ramp.setSmooth(true);
    bench.ramp.value16(offsets::kPressure, 16208);
    bench.clear();
    bench.ramp.step(5s);
    EXPECT_TRUE(bench.writes().empty());
    bench.ramp.value16(offsets::kPressure, 16224);  // 1 hPa
    for (int tick = 0; tick < 12; ++tick) bench.ramp.step(5s);
    EXPECT_FALSE(bench.ramp.underWay());
    const std::size_t rampWrites = bench.writes().size();
    for (const WriteRecord& record : bench.writes()) EXPECT_EQ(record.offset, offsets::kPressure.offset);
    bench.ramp.step(5s);
    EXPECT_EQ(bench.writes().size(),
              rampWrites);  // The log hears of the ramp once as it starts and once as it arrives, not at every step.
    EXPECT_EQ(told,
              (std::vector<std::string>{"ramp started: 0x0F48 from 16208 to 16224", "ramp reached: 0x0F48 16224"}));
}

TEST(WeatherRamp, SmoothingTurnedOffPutsTheTargetInAtTheNextStep) {
    RampBench bench;
    bench.ramp.setSmooth(true);
    bench.ramp.value16(offsets::kWindSpeed, 10);
    bench.ramp.value16(offsets::kWindSpeed, 30);
    bench.ramp.step(5s);
    bench.ramp.setSmooth(false);
    bench.ramp.step(0s);
    EXPECT_FALSE(bench.ramp.underWay());
    EXPECT_EQ(bench.recorded.platform.value16At(offsets::kWindSpeed.offset), 30);
}

// With smoothing off, the writers' records through the ramp are those straight into the link.
TEST(WeatherRamp, SmoothingOffWritesEveryByteAsTheWritersGiveIt) {
    metar::MetarReport second = testing::typicalReport();
    second.alt = "1019";
    second.winddir = "045";
    second.windspeed = "30";
    second.vis = "2";
    second.temp = "5";

    RampBench bench;
    RecordedLink straight;
    for (const metar::MetarReport& report : {testing::typicalReport(), second}) {
        for (const bool throughRamp : {true, false}) {
            metar::MetarReport written = report;
            bool altitudeSet = false;
            testing::ScriptedRandom random{0.5};
            if (throughRamp) {
                METAR_Set(bench.ramp, written, altitudeSet, testing::typicalSettings(), random);
                bench.ramp.step(5s);
            } else {
                METAR_Set(straight.link, written, altitudeSet, testing::typicalSettings(), random);
            }
        }
    }
    const auto rampWrites = bench.writes();
    const auto straightWrites = straight.platform.writes();
    ASSERT_EQ(rampWrites.size(), straightWrites.size());
    for (std::size_t i = 0; i < rampWrites.size(); ++i) {
        EXPECT_EQ(rampWrites[i].offset, straightWrites[i].offset);
        EXPECT_EQ(rampWrites[i].bytes, straightWrites[i].bytes);
    }
}

}  // namespace
}  // namespace stratocue::inject
