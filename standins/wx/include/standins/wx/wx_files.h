#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace stratocue::standins {

// The whole file as bytes, one character per byte; nullopt when it cannot be read.
[[nodiscard]] std::optional<std::string> readTextFile(const std::filesystem::path& path);

// Writes the text as the whole file, replacing it. Throws WxDataError when it cannot.
void writeTextFile(const std::filesystem::path& path, std::string_view text);

}  // namespace stratocue::standins
