// Shift: the program's power-of-two multiply and divide, with its overflow faults.
#include <cmath>
#include <string>

#include "common/rounding.h"
#include "simlink/link.h"

namespace stratocue::simlink {

namespace {

std::int32_t shiftUnchecked(std::int32_t value, std::int32_t bits, bool left) {
    const double power = std::ldexp(1.0, bits);  // 2^bits exactly; infinite when too large
    if (std::isinf(power)) {
        throw RuntimeFault(RuntimeFault::Kind::Overflow, "Overflow");
    }
    if (left) {
        return roundTo<std::int32_t>(static_cast<double>(value) * power);
    }
    const auto divisor = roundTo<std::int32_t>(power);  // 2^31 and above overflow here
    if (divisor == 0) {
        throw RuntimeFault(RuntimeFault::Kind::DivisionByZero, "Division by zero");
    }
    return value / divisor;  // truncates toward zero
}

}  // namespace

std::int32_t Shift(std::int32_t value, std::int32_t bits, bool left) {
    try {
        return shiftUnchecked(value, bits, left);
    } catch (const RuntimeFault& fault) {
        throw RuntimeFault(fault.kind(), std::string("Shift: ") + fault.what());
    }
}

}  // namespace stratocue::simlink
