#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "metar/metar_report_source.h"

namespace stratocue::metar {

// The line without the data API's report type before the station: a leading "METAR " or
// "SPECI " (exactly so) is dropped; any other line comes back as it is.
[[nodiscard]] std::string_view withoutReportType(std::string_view line);

// The station's report in a plain-text answer of today's services: of the lines whose
// first word, after an optional "METAR " or "SPECI ", is the station identifier (letters
// compared in upper case), the one with the latest ddhhmmZ time (the first of equals or of
// lines without that group), from that word on and without its line end (LF or CR LF).
// nullopt when no line is.
[[nodiscard]] std::optional<std::string> reportLineFromServiceText(std::string_view text, std::string_view stationId);

// The report in an answer of today's services. A status outside 200..299 is a failure
// (WebAnswerError); status 204, an empty body, or a body without the station's line
// (another station, an error text, a page that is no report) is "not found".
[[nodiscard]] std::optional<std::string> reportFromServiceAnswer(const WebAnswer& answer, std::string_view stationId);

}  // namespace stratocue::metar
