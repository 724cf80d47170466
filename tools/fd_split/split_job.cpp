#include "tools/fd_split/split_job.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "standins/wx/wx_data_error.h"
#include "standins/wx/wx_files.h"
#include "standins/wx/wx_text_lines.h"

namespace stratocue::tools {
namespace {

using standins::WxDataError;

std::string readRequired(const std::string& path) {
    std::optional<std::string> text = standins::readTextFile(path);
    if (!text) throw WxDataError("cannot read " + path);
    return std::move(*text);
}

}  // namespace

std::vector<RegionalBulletin> runSplitJob(const standins::WxSplitJob& job) {
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
    bulletins.push_back({FdRegion::Alaska, standins::normalisedBulletinText(alaska)});

    const std::filesystem::path outFolder(job.outFolder);
    std::error_code madeError;
    std::filesystem::create_directories(outFolder, madeError);
    if (madeError) throw WxDataError("cannot make " + job.outFolder + ": " + madeError.message());
    for (const RegionalBulletin& bulletin : bulletins) {
        standins::writeTextFile(outFolder / standins::fdBulletinFileName(bulletin.region), bulletin.text);
    }
    return bulletins;
}

}  // namespace stratocue::tools
