#pragma once

#include <cstddef>
#include <vector>

#include "inject/random_source.h"

namespace stratocue::inject::testing {

// Gives the scripted numbers in order, then keeps giving the last one; counts reseeds and
// draws.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<double> numbers) : numbers_(std::move(numbers)) {}
    explicit ScriptedRandom(double number) : numbers_{number} {}

    void reseedFromClock() override { ++reseeds; }
    double next() override {
        const double value = numbers_.at(draws < numbers_.size() ? draws : numbers_.size() - 1);
        ++draws;
        return value;
    }

    std::size_t reseeds = 0;
    std::size_t draws = 0;

private:
    std::vector<double> numbers_;
};

}  // namespace stratocue::inject::testing
