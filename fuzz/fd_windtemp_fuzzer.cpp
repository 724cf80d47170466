// The winds-aloft text of today's data service, one region per answer: the station table
// is cut out, the tables of up to seven answers joined, split, decoded and summarised.
// Input: the surface temperature text on the first line, then up to seven answers
// separated by form feeds.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/fault.h"
#include "fdwinds/fd_decoder.h"
#include "fdwinds/fd_select.h"
#include "fdwinds/fd_sources.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace stratocue;
    const auto [surfaceTemp, answers] = fuzz::splitFirstLine(fuzz::asText(data, size));
    try {
        std::vector<std::string> tables;
        for (const std::string_view answer : fuzz::splitPieces(answers, '\f', fdwinds::FdRegionPages.size())) {
            tables.push_back(fdwinds::FD_CutWindTempText(answer));
        }
        const std::vector<std::string> tokens = fdwinds::FD_SplitTokens(fdwinds::FD_JoinCuts(tables));
        fdwinds::FdWinds winds;
        fdwinds::FD_DecodeRows(tokens, surfaceTemp, winds);
        fuzz::expect(winds.rowCount >= 0 && winds.rowCount <= fdwinds::kMaxLevelRows, "row count within the tables");
        for (std::int16_t row = 1; row <= winds.rowCount; ++row) {
            static_cast<void>(fdwinds::FD_DisplayText(winds, row));
        }
    } catch (const fdwinds::FdFormatError&) {
    } catch (const RuntimeFault&) {}
    return 0;
}
