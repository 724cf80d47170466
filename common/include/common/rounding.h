#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "common/fault.h"

namespace stratocue {

// Nearest integer, ties to even: 2.5 gives 2, 3.5 gives 4, -2.5 gives -2.
[[nodiscard]] inline double roundHalfEven(double value) noexcept {
    const double nearest = std::round(value);  // ties away from zero
    if (std::fabs(value - std::trunc(value)) == 0.5) {
        return 2.0 * std::round(value / 2.0);
    }
    return nearest;
}

// Rounded down, toward minus infinity: -3.5 gives -4.
[[nodiscard]] inline double floorValue(double value) noexcept { return std::floor(value); }

// Converts a whole-numbered value to the integer type, or raises an overflow fault when it
// does not fit (NaN included).
template <class Int>
[[nodiscard]] Int checkedInteger(double wholeValue) {
    if (!(wholeValue >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          wholeValue <= static_cast<double>(std::numeric_limits<Int>::max()))) {
        throw RuntimeFault(RuntimeFault::Kind::Overflow, "Overflow");
    }
    return static_cast<Int>(wholeValue);
}

// The program's two conversions into a fixed width: rounding (ties to even) and floor.
template <class Int>
[[nodiscard]] Int roundTo(double value) {
    return checkedInteger<Int>(roundHalfEven(value));
}
template <class Int>
[[nodiscard]] Int floorTo(double value) {
    return checkedInteger<Int>(floorValue(value));
}

}  // namespace stratocue
