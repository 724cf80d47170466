// One line of a station file, with and without the elevation field: only the documented
// numeric fault may come out, and the identifier is the first field as it stands.

#include <cstddef>
#include <cstdint>

#include "common/fault.h"
#include "fuzz_input.h"
#include "stations/station_line.h"

namespace {

using namespace stratocue;

void parseLine(std::string_view line, bool withElevation) {
    try {
        const stations::Station station = stations::parseStationLine(line, withElevation);
        fuzz::expect(station.id == stations::splitStationFields(line)[0], "the identifier is the first field");
    } catch (const RuntimeFault&) {}
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line = fuzz::asText(data, size);
    parseLine(line, true);
    parseLine(line, false);
    return 0;
}
