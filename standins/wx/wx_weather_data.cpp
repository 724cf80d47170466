#include "standins/wx/wx_weather_data.h"

#include "standins/wx/wx_data_error.h"
#include "standins/wx/wx_files.h"

namespace stratocue::standins {

WeatherData loadWeatherData(const std::filesystem::path& dataFolder) {
    const std::filesystem::path metarFile = dataFolder / kMetarFileName;
    const std::optional<std::string> metarText = readTextFile(metarFile);
    if (!metarText) throw WxDataError("cannot read " + metarFile.string());

    WeatherData data;
    data.metars = parseMetarLines(*metarText);
    for (const FdRegion region : kAllFdRegions) {
        data.fdBulletins[fdRegionIndex(region)] = readTextFile(dataFolder / kFdFolderName / fdBulletinFileName(region));
    }
    if (const std::optional<std::string> gfsText = readTextFile(dataFolder / kGfsFileName)) {
        data.gfs = parseGfsTable(*gfsText);
    }
    return data;
}

}  // namespace stratocue::standins
