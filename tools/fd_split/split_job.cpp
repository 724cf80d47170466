#include "tools/fd_split/split_job.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

#include "common/text_lines.h"

namespace stratocue::tools {
namespace {

// The whole file, one character per byte.
std::string readRequired(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    if (!file || file.bad()) throw FdSplitError("cannot read " + path);
    return std::move(text).str();
}

void writeWhole(const std::filesystem::path& path, std::string_view text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (!file) throw FdSplitError("cannot write " + path.string());
}

}  // namespace

std::vector<RegionalBulletin> runSplitJob(const FdSplitJob& job) {
    const std::string national = readRequired(job.nationalFile);
    const std::string stations = readRequired(job.stationsFile);
    const std::string alaska = readRequired(job.alaskaFile);

    FdStationPositions positions;
    try {
        positions = parseFdStationPositions(stations);
    } catch (const FdSplitError& error) {
        throw FdSplitError(job.stationsFile + ": " + error.what());
    }
    std::vector<RegionalBulletin> bulletins;
    try {
        bulletins = splitNationalBulletin(national, positions);
    } catch (const FdSplitError& error) {
        throw FdSplitError(job.nationalFile + ": " + error.what());
    }
    bulletins.push_back({FdRegion::Alaska, normalisedBulletinText(alaska)});

    const std::filesystem::path outFolder(job.outFolder);
    std::error_code madeError;
    std::filesystem::create_directories(outFolder, madeError);
    if (madeError) throw FdSplitError("cannot make " + job.outFolder + ": " + madeError.message());
    for (const RegionalBulletin& bulletin : bulletins) {
        writeWhole(outFolder / fdRegionNames(bulletin.region).bulletinFile, bulletin.text);
    }
    return bulletins;
}

}  // namespace stratocue::tools
