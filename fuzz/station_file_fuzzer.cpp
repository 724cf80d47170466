// The station loader on any pair of files: icao.txt is the input up to the first form
// feed, fdwinds.txt the rest (the same bytes again when there is no form feed). The loader
// must answer true or false without letting anything escape, keep its counts within the
// tables, and show its one message exactly when it fails.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "fuzz_input.h"
#include "stations/stations_load.h"

namespace {

using namespace stratocue;

constexpr char kFileSeparator = '\f';

// A private folder for the two files, made once per fuzzing process and removed at its end.
class WorkFolder {
public:
    WorkFolder() {
        const std::filesystem::path pattern = std::filesystem::temp_directory_path() / "stratocue-fuzz-stations.XXXXXX";
        std::string name = pattern.string();
        if (mkdtemp(name.data()) == nullptr) fuzz::brokenPromise("cannot make a work folder");
        path_ = name;
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    ~WorkFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

void writeFile(const std::filesystem::path& path, std::string_view content) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!file) fuzz::brokenPromise("cannot write a station file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const WorkFolder folder;
    const std::string_view text = fuzz::asText(data, size);
    const auto separator = text.find(kFileSeparator);
    const std::string_view metarFile = text.substr(0, separator);
    const std::string_view fdFile = separator == std::string_view::npos ? text : text.substr(separator + 1);
    writeFile(folder.path() / stations::kMetarStationFileName, metarFile);
    writeFile(folder.path() / stations::kFdStationFileName, fdFile);

    int messages = 0;
    stations::StationTables tables;
    const bool loaded = stations::Stations_Load(
        tables, {folder.path(), [&messages](std::string_view) { ++messages; }, nullptr, nullptr});
    fuzz::expect(messages == (loaded ? 0 : 1), "one message exactly when the load fails");
    fuzz::expect(tables.StationCount >= 0 && tables.StationCount <= stations::kMaxMetarStations,
                 "METAR station count within the table");
    fuzz::expect(tables.FdStationCount >= 0 && tables.FdStationCount <= stations::kMaxFdStations,
                 "FD station count within the table");
    return 0;
}
