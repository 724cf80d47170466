#pragma once

#include <stdexcept>

namespace stratocue::standins {

// A data file of the weather stand-in that cannot be used as it stands; the message names
// the file or line and what is wrong with it.
class WxDataError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace stratocue::standins
