#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace stratocue::stations {

// The whole content of the file at `path`, read as bytes, one character per byte (the
// station files are ANSI text). Empty when the file cannot be opened or read. The file is
// closed again before this returns.
[[nodiscard]] std::optional<std::string> readStationFile(const std::filesystem::path& path);

}  // namespace stratocue::stations
