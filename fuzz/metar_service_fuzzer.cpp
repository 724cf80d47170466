// The plain-text answer of today's METAR services: the station's line is picked out of
// whatever the service sends and decoded. Input: the station identifier on the first line,
// the answer's text after it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_input.h"
#include "metar/metar_decoder.h"
#include "metar/metar_services.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace stratocue;
    const auto [stationId, answer] = fuzz::splitFirstLine(fuzz::asText(data, size));
    const std::optional<std::string> report = metar::reportLineFromServiceText(answer, stationId);
    if (!report) return 0;
    fuzz::expect(report->find('\n') == std::string::npos, "a report line holds no line feed");
    metar::MetarReport decoded;
    static_cast<void>(metar::decodeMetar(*report, decoded));
    return 0;
}
