#pragma once

#include <memory>

namespace stratocue::inject {

// Uniform numbers in [0, 1) for the random parts of the weather (cloud tops, wind aloft).
// The writers reseed it from the clock at the points where the program always did.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Starts a new sequence from the current time.
    virtual void reseedFromClock() = 0;
    // The next number of the sequence, never below 0 and always below 1.
    virtual double next() = 0;
};

// A Mersenne-twister source seeded from the clock at creation and at each reseed.
[[nodiscard]] std::unique_ptr<RandomSource> makeClockSeededRandom();

}  // namespace stratocue::inject
