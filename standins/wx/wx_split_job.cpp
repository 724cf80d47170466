#include "standins/wx/wx_split_job.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "standins/wx/wx_data_error.h"
#include "standins/wx/wx_files.h"

namespace stratocue::standins {
namespace {

std::string readRequired(const std::string& path) {
    std::optional<std::string> text = readTextFile(path);
    if (!text) throw WxDataError("cannot read " + path);
    return std::move(*text);
}

}  // namespace

std::vector<RegionalBulletin> runSplitJob(const WxSplitJob& job) {
    const std::string national = readRequired(job.nationalFile);
    const std::string stations = readRequired(job.stationsFile);
    const std::string alaska = readRequired(job.alaskaFile);

    FdStationPositions positions;
    try {
        positions = parseFdStationPositions(stations);
    } catch (const WxDataError& error) {
        throw WxDataError(job.stationsFile + ": " + error.what());
    }
    std::vector<RegionalBulletin> bulletins;
    try {
        bulletins = splitNationalBulletin(national, positions);
    } catch (const WxDataError& error) {
        throw WxDataError(job.nationalFile + ": " + error.what());
    }
    bulletins.push_back({FdRegion::Alaska, normalisedBulletinText(alaska)});

    const std::filesystem::path outFolder(job.outFolder);
    std::error_code madeError;
    std::filesystem::create_directories(outFolder, madeError);
    if (madeError) throw WxDataError("cannot make " + job.outFolder + ": " + madeError.message());
    for (const RegionalBulletin& bulletin : bulletins) {
        writeTextFile(outFolder / fdBulletinFileName(bulletin.region), bulletin.text);
    }
    return bulletins;
}

}  // namespace stratocue::standins
