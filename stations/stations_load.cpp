#include "stations/stations_load.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/fault.h"
#include "stations/station_file.h"
#include "stations/station_file_text.h"
#include "stations/station_line.h"

namespace stratocue::stations {
namespace {

// Thrown inside the loader for a file that cannot be opened or read; caught by its one
// handler like every other fault.
struct StationFileUnreadable {};

// Reads one station file into `list` (index 0 unused), setting `count` after each stored
// entry. More data lines than `capacity` is a subscript fault.
void loadStationFile(const std::filesystem::path& path, bool withElevation, std::int32_t capacity,
                     std::vector<Station>& list, std::int32_t& count) {
    const std::optional<std::string> content = readStationFile(path);
    if (!content) throw StationFileUnreadable{};

    std::int16_t lineCounter = 0;
    for (const std::string_view line : splitStationFileLines(*content)) {
        if (!isStationDataLine(line)) continue;
        if (lineCounter >= capacity) {
            throw RuntimeFault(RuntimeFault::Kind::Subscript, "Subscript out of range");
        }
        ++lineCounter;
        list[static_cast<std::size_t>(lineCounter)] = parseStationLine(line, withElevation);
        count = lineCounter;
    }
}

void runIfSet(const std::function<void()>& action) {
    if (action) action();
}

}  // namespace

bool Stations_Load(StationTables& tables, const StationLoadActions& actions) {
    tables.StationList.assign(static_cast<std::size_t>(kMaxMetarStations) + 1, Station{});
    tables.StationCount = 0;
    tables.FdStationList.assign(static_cast<std::size_t>(kMaxFdStations) + 1, Station{});
    tables.FdStationCount = 0;

    try {
        loadStationFile(actions.folder / kMetarStationFileName, true, kMaxMetarStations, tables.StationList,
                        tables.StationCount);
        loadStationFile(actions.folder / kFdStationFileName, false, kMaxFdStations, tables.FdStationList,
                        tables.FdStationCount);
        return true;
    } catch (...) {
        // Every failure takes the one path below; the file in use is already closed.
    }

    if (actions.showMessage) actions.showMessage(kStationLoadErrorMessage);
    runIfSet(actions.closeLink);
    runIfSet(actions.destroyMainAndSplash);
    return false;
}

}  // namespace stratocue::stations
