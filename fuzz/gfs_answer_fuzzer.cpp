// The forecast model service's JSON answer: read for one hour and coded as the bulletin's
// "GFS" row, which is then summarised. Input: the hour text ("2026-12-08T12:00") on the
// first line, then the answer.

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/fault.h"
#include "fdwinds/fd_decoder.h"
#include "fdwinds/gfs_winds.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace stratocue;
    const auto [hour, answer] = fuzz::splitFirstLine(fuzz::asText(data, size));
    try {
        const fdwinds::FdWinds winds =
            fdwinds::GFS_WindsRow(fdwinds::GFS_ReadAnswer({kHttpStatusOk, std::string(answer)}, hour));
        fuzz::expect(winds.rowCount == 1 && winds.rowId[1] == fdwinds::kGfsRowId, "one GFS row");
        for (const fdwinds::FdLevelValues& level : winds.levels[1]) {
            const bool slow = level.dirCode >= 1 && level.dirCode <= 36;
            const bool fast = level.dirCode >= 51 && level.dirCode <= 86;
            fuzz::expect(slow || fast, "a direction code of 10..360 degrees, + 50 from 100 knots");
            fuzz::expect(level.speedCode >= 0 && level.speedCode <= 99, "a speed code of two digits");
        }
        static_cast<void>(fdwinds::FD_DisplayText(winds, 1));
    } catch (const fdwinds::GfsAnswerError&) {
    } catch (const WebAnswerError&) {
    } catch (const RuntimeFault&) {}
    return 0;
}
