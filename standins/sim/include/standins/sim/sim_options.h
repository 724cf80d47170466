#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace stratocue::standins {

// How the stand-in simulator misbehaves on purpose.
enum class SimFault { None, NoAnswer, Slow, Reply };

struct SimOptions {
    std::string socketDir = "/tmp";
    std::string windowClass = "UIPCMAIN";
    std::uint32_t versionWord = 0x28100004;
    std::uint32_t simulatorWord = 0xFADE0006;
    std::string flightFile;                        // empty = the position stays at zero
    std::optional<std::int64_t> clockSecondOfDay;  // empty = UTC now
    std::string logFile;                           // empty = no log
    SimFault fault = SimFault::None;
    std::uint32_t faultReply = 1;             // the reply sent under SimFault::Reply
    std::optional<std::uint32_t> runSeconds;  // empty = until stopped
    bool showHelp = false;
};

struct ParsedSimOptions {
    SimOptions options;
    std::string error;  // empty when the command line was good
};

// Reads the command line (without the program name); the first bad option gives its error.
[[nodiscard]] ParsedSimOptions parseSimOptions(std::span<const std::string_view> arguments);

// "HH:MM:SS" as the second of the day; empty when it is not a valid time of day.
[[nodiscard]] std::optional<std::int64_t> parseClock(std::string_view text);

// The usage text, several lines ending with a newline.
[[nodiscard]] std::string simUsage();

}  // namespace stratocue::standins
