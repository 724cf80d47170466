#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/decode_commands.h"

namespace stratocue::tools {

// How the tool is called; shown on standard error after a wrong command line.
inline constexpr std::string_view kUsageText =
    "usage: stratocue-decode metar [REPORT ...]\n"
    "       stratocue-decode metar --ids ID[,ID...] < ANSWER\n"
    "       stratocue-decode fd [--temp TEXT] PAGE_FILE ...\n"
    "       stratocue-decode gfs [--hour YYYY-MM-DDTHH:00] ANSWER_FILE\n"
    "\n"
    "  metar  decodes each REPORT, or each line of standard input when no REPORT is\n"
    "         given, and prints one JSON object per report. A leading \"METAR \" or\n"
    "         \"SPECI \" (the data API's lines) is dropped. With --ids, standard input is a\n"
    "         service's answer (several stations, several reports each) and the one\n"
    "         report the program would apply is decoded: of the IDs, nearest first, the\n"
    "         first that has one, and of its reports the newest.\n"
    "  fd     cuts the FD bulletin pages, joins them in the order given, decodes the\n"
    "         station table and prints one JSON object per row. A PAGE_FILE with\n"
    "         markup (\"<\") is cut as a classic bulletin page, plain text as the data\n"
    "         API's winds-aloft text. TEXT is the METAR temperature that 4-character fields\n"
    "         take (default \".\").\n"
    "  gfs    reads a saved answer of the forecast model service and prints the one\n"
    "         \"GFS\" row the program makes of its entry for the hour (default: the\n"
    "         current UTC hour) as a JSON object.\n";

// The whole file, one character per byte; nothing when it is not a regular file or
// cannot be opened or read.
[[nodiscard]] std::optional<std::string> readFileBytes(const std::filesystem::path& path);

// Runs the tool on its arguments (without the program name). `readStandardInput` returns
// all of standard input as bytes; it is called only for "metar" without reports. A wrong
// command line gives a message and kUsageText on standard error and exit code 2; an
// unreadable page file gives {"error": ...} and exit code 1.
[[nodiscard]] CommandResult runDecodeTool(const std::vector<std::string>& arguments,
                                          const std::function<std::string()>& readStandardInput);

}  // namespace stratocue::tools
