#pragma once

#include <string>
#include <string_view>

#include "metar/metar_report.h"

namespace stratocue::metar {

// The report text the decoder puts into the status text box after a fault.
inline constexpr std::string_view kParseErrorReportText = "PARSEERROR 000000Z 00000KT SCT020 BKN050 5SM 15/10 A2992";

// What a decoding leaves for the main window besides MetarReport.
struct MetarDecodeResult {
    std::string txtMETARstr;  // the "Current METAR" text: the report up to its altimeter group
    bool faulted = false;     // the decoding stopped on a fault (datetime reads "PARSE ERROR")
};

// Decodes one report into `report` step by step, as the status window would show it.
// Fields are not cleared first. On a fault the fields written by the completed steps stay,
// datetime becomes "PARSE ERROR" and txtMETARstr the fallback report text; nothing throws.
[[nodiscard]] MetarDecodeResult decodeMetar(std::string_view reportText, MetarReport& report);

}  // namespace stratocue::metar
