#pragma once

#include <stdexcept>
#include <string>

namespace stratocue {

// A run-time fault of the program's own arithmetic or indexing: an overflow of a fixed
// width, an index beyond a table, a negative length, a division by zero. Workers catch it
// in their one handler and turn it into their fixed fallback.
class RuntimeFault : public std::runtime_error {
public:
    enum class Kind { Overflow, Subscript, InvalidArgument, DivisionByZero };

    RuntimeFault(Kind kind, const std::string& what) : std::runtime_error(what), kind_(kind) {}

    [[nodiscard]] Kind kind() const noexcept { return kind_; }

private:
    Kind kind_;
};

}  // namespace stratocue
