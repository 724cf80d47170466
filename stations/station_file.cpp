#include "stations/station_file.h"

#include <array>
#include <fstream>

namespace stratocue::stations {

std::optional<std::string> readStationFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::in | std::ios::binary);
    if (!file.is_open()) return std::nullopt;

    std::string content;
    std::array<char, 64 * 1024> chunk{};
    while (file) {
        file.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        content.append(chunk.data(), static_cast<std::size_t>(file.gcount()));
    }
    // The loop ends at the end of the file (eof) or on an error (bad, e.g. a folder).
    if (file.bad() || !file.eof()) return std::nullopt;
    return content;
}

}  // namespace stratocue::stations
