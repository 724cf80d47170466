#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "common/sim_offsets.h"
#include "common/units.h"
#include "inject/value_exchange.h"
#include "simlink/link.h"

namespace stratocue::inject {

// How fast one smoothed offset may move, in its own units per minute of real time.
struct RampRate {
    offsets::SimOffset where;
    double unitsPerMinute;
    bool aroundCircle;  // a direction: moves the short way round a circle of kDirectionUnitsPerCircle
};

// The offsets that move at a pilot's pace, and how fast: 1 hPa, 6 knots, 30 degrees,
// 1 mile and 2 degrees Celsius per minute. Everything else is written at once.
inline constexpr std::array<RampRate, 7> kRampRates{{
    {offsets::kPressure, 1.0 * units::kPressureUnitsPerHectopascal, false},
    {offsets::kWindSpeed, 6.0, false},
    {offsets::kGust, 6.0, false},
    {offsets::kWindDirection, 30.0 * units::kDirectionUnitsPerCircle / units::kDegreesPerCircle, true},
    {offsets::kVisibility, 1.0 * units::kVisibilityUnitsPerMile, false},
    {offsets::kTemperature, 2.0 * units::kTemperatureUnitsPerDegree, false},
    {offsets::kDewPoint, 2.0 * units::kTemperatureUnitsPerDegree, false},
}};

// Sits between the weather writers and the link. Smoothing off, every value goes straight
// into the link as the writers give it. Smoothing on, a new value for an offset of
// kRampRates becomes that offset's target (the last one given wins) and `step` moves the
// simulator towards it; the first value of an offset, and values given while writing at
// once, go in straight. The ramp remembers the last value written to each offset either way.
class WeatherRamp final : public WeatherSink {
public:
    explicit WeatherRamp(simlink::Link& link) : direct_(link) {}

    // Turns smoothing on or off; turned off, targets still under way are written at once by
    // the next step.
    void setSmooth(bool smooth) { smooth_ = smooth; }
    [[nodiscard]] bool smooth() const { return smooth_; }
    // The simulator no longer holds what was written (a new start, a simulator found again):
    // the next value of every offset goes in at once, and no target is kept.
    void forgetWritten();
    // Moves every offset under way towards its target by at most its rate over `elapsed`,
    // one plain write each; writes nothing when no ramp is under way.
    void step(std::chrono::duration<double> elapsed);
    // Whether any offset is still moving towards a target.
    [[nodiscard]] bool underWay() const;
    // Where the ramp tells each ramp it starts ("ramp started: 0x0F48 from 16208 to 16304")
    // and each target it reaches ("ramp reached: 0x0F48 16304"), for the program's log.
    void tellEventsTo(std::function<void(const std::string&)> tell) { tell_ = std::move(tell); }

    void value16(const offsets::SimOffset& where, std::int32_t value) override;
    void bytes(const offsets::SimOffset& where, std::span<const std::byte> bytes) override;
    void text(const offsets::SimOffset& where, std::string_view text) override;

private:
    // One smoothed offset: what it holds, where it is going, and the part of a unit the
    // elapsed time has earned that a whole step has not used yet.
    struct Track {
        std::optional<std::int32_t> written;
        std::optional<std::int32_t> target;
        double earnedUnits = 0.0;
    };

    void writeTo(std::size_t index, std::int32_t value);
    void tell(const std::string& event) const {
        if (tell_) tell_(event);
    }

    LinkSink direct_;
    bool smooth_ = false;
    std::array<Track, kRampRates.size()> tracks_{};
    std::function<void(const std::string&)> tell_;
};

}  // namespace stratocue::inject
