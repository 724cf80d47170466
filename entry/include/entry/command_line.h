#pragma once

#include <optional>
#include <string_view>

namespace stratocue::entry {

// The program's command line: no options for the windowed program; the headless mode takes
// how long to run and the main cycle's interval.
struct CommandLine {
    bool headless = false;
    std::optional<int> runSeconds;
    std::optional<int> tickMs;
};

// The options after the program name; nothing when they are not a valid command line
// (an unknown option, a missing or non-positive number, headless options without
// --headless).
[[nodiscard]] std::optional<CommandLine> readCommandLine(int argc, const char* const* argv);

// The usage text for a command line that was not valid.
constexpr std::string_view kUsage = "usage: stratocue\n       stratocue --headless [--run-seconds S] [--tick-ms MS]\n";

}  // namespace stratocue::entry
