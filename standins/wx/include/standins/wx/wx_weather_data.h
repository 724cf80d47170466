#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "standins/wx/wx_fd_regions.h"
#include "standins/wx/wx_gfs.h"
#include "standins/wx/wx_metar_table.h"

namespace stratocue::standins {

inline constexpr std::string_view kMetarFileName = "metars.txt";
inline constexpr std::string_view kFdFolderName = "fd";

// Everything the weather stand-in serves, read once at start.
struct WeatherData {
    MetarTable metars;
    // The bulletin text of each region (indexed by fdRegionIndex); nullopt when the data
    // folder has none, and the page then answers 404.
    std::array<std::optional<std::string>, kAllFdRegions.size()> fdBulletins;
    // The forecast model's levels; nullopt when the data folder has no gfs.txt, and
    // "/v1/gfs" then answers 404.
    std::optional<GfsTable> gfs;
};

// Reads `metars.txt` and `fd/<region>_fd1.txt` of the data folder. Throws WxDataError
// when the folder or its metars.txt cannot be read; a missing bulletin file is left empty.
// The forecast model's gfs.txt is read when there is one (WxDataError when malformed).
[[nodiscard]] WeatherData loadWeatherData(const std::filesystem::path& dataFolder);

}  // namespace stratocue::standins
