#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace stratocue::web {

// Turns a response body into the page text, one character per byte. A body that is empty
// or longer than 32,767 bytes is a fault of the caller (RuntimeFault).
[[nodiscard]] std::string pageTextFromBody(std::span<const std::byte> body);

}  // namespace stratocue::web
