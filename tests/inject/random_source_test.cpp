#include "inject/random_source.h"

#include <gtest/gtest.h>

namespace stratocue::inject {
namespace {

TEST(ClockSeededRandom, NumbersStayInHalfOpenUnitRange) {
    const auto random = makeClockSeededRandom();
    for (int round = 0; round < 3; ++round) {
        random->reseedFromClock();
        for (int draw = 0; draw < 10000; ++draw) {
            const double value = random->next();
            ASSERT_GE(value, 0.0);
            ASSERT_LT(value, 1.0);
        }
    }
}

}  // namespace
}  // namespace stratocue::inject
