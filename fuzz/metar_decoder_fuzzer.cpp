// The METAR decoder on any report text: it must never throw, and a fault leaves exactly
// the fallback texts the windows show.

#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "metar/metar_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace stratocue;
    metar::MetarReport report;
    const metar::MetarDecodeResult result = metar::decodeMetar(fuzz::asText(data, size), report);
    if (result.faulted) {
        fuzz::expect(report.datetime == "PARSE ERROR", "a fault sets datetime to PARSE ERROR");
        fuzz::expect(result.txtMETARstr == metar::kParseErrorReportText, "a fault shows the fallback report");
    }
    return 0;
}
