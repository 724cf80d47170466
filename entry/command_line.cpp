#include "entry/command_line.h"

#include <exception>
#include <string>

namespace stratocue::entry {
namespace {

std::optional<int> positiveNumber(std::string_view text) {
    try {
        std::size_t used = 0;
        const int value = std::stoi(std::string(text), &used);
        if (used == text.size() && value > 0) return value;
    } catch (const std::exception&) {}
    return std::nullopt;
}

}  // namespace

std::optional<CommandLine> readCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--headless") {
            line.headless = true;
        } else if (option == "--run-seconds" && hasValue) {
            line.runSeconds = positiveNumber(argv[++i]);
            if (!line.runSeconds) return std::nullopt;
        } else if (option == "--tick-ms" && hasValue) {
            line.tickMs = positiveNumber(argv[++i]);
            if (!line.tickMs) return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (!line.headless && (line.runSeconds || line.tickMs)) return std::nullopt;
    return line;
}

}  // namespace stratocue::entry
