#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace stratocue::tools {

// What one command leaves behind: the text for standard output and standard error, and
// the process exit code.
struct CommandResult {
    std::string standardOutput;
    std::string standardError;
    int exitCode = 0;

    bool operator==(const CommandResult&) const = default;
};

// Exit codes of the decode tool.
constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;  // a page could not be read or decoded
constexpr int kExitUsage = 2;    // the command line was not understood

// One JSON object (no line end) for the report decoded into a fresh MetarReport: the 17
// fields by name, then "txtMETARstr". A line of the data API with its "METAR " or "SPECI "
// before the station decodes as the report after it. Each character becomes the Unicode character of the
// same number. Never throws for any report text.
[[nodiscard]] std::string metarJsonLine(std::string_view reportText);

// The reports of a text read from standard input: one per line, lines ending at a line
// feed only (a carriage return stays in its report). Text after the last line feed is a
// report too; an empty text, or the empty rest after a final line feed, is none.
[[nodiscard]] std::vector<std::string_view> reportLines(std::string_view inputText);

// One metarJsonLine per report, each followed by a line feed; exit code 0.
[[nodiscard]] CommandResult decodeMetarReports(const std::vector<std::string_view>& reports);

// The report a service's answer gives for the first of `idList` (comma-separated, nearest
// first) that has one, its newest, as one metarJsonLine followed by a line feed; exit code
// 0. None of them has a report: {"error": ...} and exit code 1.
[[nodiscard]] CommandResult decodeServiceAnswer(std::string_view answer, std::string_view idList);

// One FD bulletin page: a name for messages (its file name) and its text, one character
// per byte.
struct FdPage {
    std::string name;
    std::string text;
};

// One JSON object per FD row of the pages, cut, joined in the given order (a text with
// markup, "<", is cut as a classic bulletin page, plain text as the data API's winds-aloft
// text), split and
// decoded with 4-character fields taking `surfaceTempText`, each followed by a line feed:
// {"row", "rowId", "levels": {"3K": [dirCode, speedCode, tempC], ...}, "summary"}. A page
// the decoder refuses (the message starts with the page's name), a joined text with too
// many tokens or a fault while decoding gives the single line {"error": "..."} and exit
// code 1 instead, without any row.
[[nodiscard]] CommandResult decodeFdPages(const std::vector<FdPage>& pages, std::string_view surfaceTempText);

// The forecast model's answer (the service's JSON) as the one row "GFS" the program makes of
// its entry for `hourText` ("YYYY-MM-DDTHH:00"): one JSON object as for an FD row, with its
// line feed. An answer without that hour, a variable, a value or speeds in knots gives
// {"error": "..."} and exit code 1 instead.
[[nodiscard]] CommandResult decodeGfsAnswer(std::string_view answerText, std::string_view hourText);

// The single JSON line {"error": message} with its line feed, exit code 1.
[[nodiscard]] CommandResult failureResult(std::string_view message);

}  // namespace stratocue::tools
