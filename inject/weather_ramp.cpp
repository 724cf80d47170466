#include "inject/weather_ramp.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace stratocue::inject {
namespace {

constexpr double kSecondsPerMinute = 60.0;
constexpr double kUnitTolerance = 1e-6;
constexpr auto kDirectionCircle = static_cast<std::int32_t>(units::kDirectionUnitsPerCircle);

std::optional<std::size_t> rampIndex(const offsets::SimOffset& where) {
    for (std::size_t i = 0; i < kRampRates.size(); ++i) {
        if (kRampRates[i].where.offset == where.offset) return i;
    }
    return std::nullopt;
}

// The value as the simulator holds it: the written low 16 bits, signed for quantities and
// unsigned for directions.
std::int32_t heldValue(const RampRate& rate, std::int32_t value) {
    const auto low16 = static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFFu);
    return rate.aroundCircle ? std::int32_t{low16} : std::int32_t{static_cast<std::int16_t>(low16)};
}

// From `from` to `to` in units, the short way round for a direction.
std::int32_t distance(const RampRate& rate, std::int32_t from, std::int32_t to) {
    const std::int32_t plain = to - from;
    if (!rate.aroundCircle) return plain;
    std::int32_t around = ((plain % kDirectionCircle) + kDirectionCircle) % kDirectionCircle;
    if (around > kDirectionCircle / 2) around -= kDirectionCircle;
    return around;
}

// The offset as the simulator's documentation names it: "0x0F48".
std::string offsetName(const offsets::SimOffset& where) {
    char name[8] = {};
    std::snprintf(name, sizeof name, "0x%04X", static_cast<unsigned>(where.offset) & 0xFFFFu);
    return name;
}

}  // namespace

void WeatherRamp::forgetWritten() { tracks_.fill(Track{}); }

bool WeatherRamp::underWay() const {
    return std::any_of(tracks_.begin(), tracks_.end(), [](const Track& track) { return track.target.has_value(); });
}

void WeatherRamp::writeTo(std::size_t index, std::int32_t value) {
    direct_.value16(kRampRates[index].where, value);
    tracks_[index].written = value;
}

void WeatherRamp::value16(const offsets::SimOffset& where, std::int32_t value) {
    const auto index = rampIndex(where);
    if (!index) {
        direct_.value16(where, value);
        return;
    }
    Track& track = tracks_[*index];
    const std::int32_t held = heldValue(kRampRates[*index], value);
    // The first value of an offset, one given with smoothing off, and one the simulator
    // already holds go in as given: there is nothing to move from, or nothing to move.
    if (!smooth_ || !track.written || distance(kRampRates[*index], *track.written, held) == 0) {
        track.target.reset();
        track.earnedUnits = 0.0;
        direct_.value16(where, value);
        track.written = held;
        return;
    }
    if (track.target != held) {
        tell("ramp started: " + offsetName(where) + " from " + std::to_string(*track.written) + " to " +
             std::to_string(held));
    }
    track.target = held;
}

void WeatherRamp::step(std::chrono::duration<double> elapsed) {
    const double minutes = std::max(0.0, elapsed.count()) / kSecondsPerMinute;
    for (std::size_t i = 0; i < tracks_.size(); ++i) {
        Track& track = tracks_[i];
        if (!track.target || !track.written) continue;
        const RampRate& rate = kRampRates[i];
        const std::int32_t remaining = distance(rate, *track.written, *track.target);
        track.earnedUnits += rate.unitsPerMinute * minutes;
        // The tolerance keeps sums of short ticks (0.05 + 0.05 + ...) from falling just short.
        const auto wholeUnits = static_cast<std::int32_t>(std::floor(track.earnedUnits + kUnitTolerance));
        if (!smooth_ || wholeUnits >= std::abs(remaining)) {
            writeTo(i, *track.target);
            tell("ramp reached: " + offsetName(rate.where) + " " + std::to_string(*track.target));
            track.target.reset();
            track.earnedUnits = 0.0;
            continue;
        }
        if (wholeUnits == 0) continue;
        track.earnedUnits -= wholeUnits;
        std::int32_t next = *track.written + (remaining > 0 ? wholeUnits : -wholeUnits);
        if (rate.aroundCircle) next = ((next % kDirectionCircle) + kDirectionCircle) % kDirectionCircle;
        writeTo(i, next);
    }
}

void WeatherRamp::bytes(const offsets::SimOffset& where, std::span<const std::byte> bytes) {
    direct_.bytes(where, bytes);
}

void WeatherRamp::text(const offsets::SimOffset& where, std::string_view text) { direct_.text(where, text); }

}  // namespace stratocue::inject
