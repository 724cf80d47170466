#include <chrono>
#include <cmath>
#include <random>

#include "inject/random_source.h"

namespace stratocue::inject {
namespace {

class ClockSeededRandom final : public RandomSource {
public:
    ClockSeededRandom() { reseedFromClock(); }

    void reseedFromClock() override {
        const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
        engine_.seed(static_cast<std::mt19937::result_type>(ticks));
        distribution_.reset();
    }

    double next() override {
        const double value = distribution_(engine_);
        // Some library versions can round up to the upper bound; keep the half-open range.
        return value < 1.0 ? value : std::nextafter(1.0, 0.0);
    }

private:
    std::mt19937 engine_;
    std::uniform_real_distribution<double> distribution_{0.0, 1.0};
};

}  // namespace

std::unique_ptr<RandomSource> makeClockSeededRandom() { return std::make_unique<ClockSeededRandom>(); }

}  // namespace stratocue::inject
