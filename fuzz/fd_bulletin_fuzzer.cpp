// One winds-aloft run after the transfers: each page body becomes text and has its station
// table cut out, the cuts are joined, split into tokens, decoded into rows, a station is
// chosen and every row's summary made. Input: the surface temperature text (the METAR
// temperature label) on the first line, then up to seven page bodies separated by form
// feeds.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/fault.h"
#include "fdwinds/fd_decoder.h"
#include "fdwinds/fd_select.h"
#include "fuzz_input.h"
#include "web/page_text.h"

namespace {

using namespace stratocue;

constexpr char kPageSeparator = '\f';

// A few FD stations around the aircraft, one of them with a one-character identifier,
// which never matches a row.
stations::StationTables fdStations() {
    stations::StationTables tables;
    tables.FdStationList = {
        {},
        {"SFO", 0.6566, -2.1358, 0},
        {"LAX", 0.5924, -2.0666, 0},
        {"ANC", 1.0676, -2.6180, 0},
        {"S", 0.6566, -2.1358, 0},
    };
    tables.FdStationCount = static_cast<std::int32_t>(tables.FdStationList.size()) - 1;
    return tables;
}

// The run up to the summaries; the decoder's documented faults end it like a failed run.
void decodeRun(std::string_view surfaceTemp, const std::vector<std::string_view>& bodies) {
    static const stations::StationTables tables = fdStations();
    try {
        std::vector<std::string> cuts;
        for (const std::string_view body : bodies) {
            const std::string page = web::pageTextFromBody(std::as_bytes(std::span(body.data(), body.size())));
            cuts.push_back(fdwinds::FD_CutBulletin(page));
        }
        const std::vector<std::string> tokens = fdwinds::FD_SplitTokens(fdwinds::FD_JoinCuts(cuts));
        fdwinds::FdWinds winds;
        fdwinds::FD_DecodeRows(tokens, surfaceTemp, winds);
        fuzz::expect(winds.rowCount >= 0 && winds.rowCount <= fdwinds::kMaxLevelRows, "row count within the tables");

        const fdwinds::FdSelection selection = fdwinds::FD_SelectStation(winds, tables, 0.6570, -2.1350);
        fuzz::expect(selection.row >= 0 && selection.row <= winds.rowCount, "the chosen row exists");
        for (std::int16_t row = 1; row <= winds.rowCount; ++row) {
            static_cast<void>(fdwinds::FD_DisplayText(winds, row));
        }
    } catch (const fdwinds::FdFormatError&) {
    } catch (const RuntimeFault&) {}
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [surfaceTemp, pages] = fuzz::splitFirstLine(fuzz::asText(data, size));
    decodeRun(surfaceTemp, fuzz::splitPieces(pages, kPageSeparator, fdwinds::FdRegionPages.size()));
    return 0;
}
