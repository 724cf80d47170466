#include "standins/sim/sim_options.h"

#include <charconv>

namespace stratocue::standins {

namespace {

template <class Unsigned>
std::optional<Unsigned> parseUnsigned(std::string_view text, int base) {
    Unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// "0x28100004" or "28100004".
std::optional<std::uint32_t> parseHex(std::string_view text) {
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
    }
    return parseUnsigned<std::uint32_t>(text, 16);
}

std::string applyFault(std::string_view value, SimOptions& options) {
    if (value == "no-answer") {
        options.fault = SimFault::NoAnswer;
    } else if (value == "slow") {
        options.fault = SimFault::Slow;
    } else if (value.starts_with("reply=")) {
        const auto reply = parseUnsigned<std::uint32_t>(value.substr(6), 10);
        if (!reply) {
            return "--fault reply=N needs a whole number, not '" + std::string(value.substr(6)) + "'";
        }
        options.fault = SimFault::Reply;
        options.faultReply = *reply;
    } else {
        return "unknown fault '" + std::string(value) + "' (no-answer, slow or reply=N)";
    }
    return {};
}

// Applies one option with its value; the error text when the value is bad.
std::string applyOption(std::string_view name, std::string_view value, SimOptions& options) {
    if (name == "--socket-dir") {
        options.socketDir = std::string(value);
    } else if (name == "--class") {
        if (value != "UIPCMAIN" && value != "FS98MAIN") {
            return "--class must be UIPCMAIN or FS98MAIN";
        }
        options.windowClass = std::string(value);
    } else if (name == "--version" || name == "--sim") {
        const std::optional<std::uint32_t> word = parseHex(value);
        if (!word) {
            return std::string(name) + " needs a hexadecimal number, not '" + std::string(value) + "'";
        }
        (name == "--version" ? options.versionWord : options.simulatorWord) = *word;
    } else if (name == "--flight") {
        options.flightFile = std::string(value);
    } else if (name == "--clock") {
        options.clockSecondOfDay = parseClock(value);
        if (!options.clockSecondOfDay) {
            return "--clock needs HH:MM:SS, not '" + std::string(value) + "'";
        }
    } else if (name == "--log") {
        options.logFile = std::string(value);
    } else if (name == "--fault") {
        return applyFault(value, options);
    } else if (name == "--run-seconds") {
        options.runSeconds = parseUnsigned<std::uint32_t>(value, 10);
        if (!options.runSeconds) {
            return "--run-seconds needs a whole number, not '" + std::string(value) + "'";
        }
    } else {
        return "unknown option '" + std::string(name) + "'";
    }
    return {};
}

}  // namespace

ParsedSimOptions parseSimOptions(std::span<const std::string_view> arguments) {
    ParsedSimOptions parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view name = arguments[i];
        if (name == "--help" || name == "-h") {
            parsed.options.showHelp = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            parsed.error = name.starts_with("--") ? std::string(name) + " needs a value"
                                                  : "unknown option '" + std::string(name) + "'";
            return parsed;
        }
        parsed.error = applyOption(name, arguments[++i], parsed.options);
        if (!parsed.error.empty()) {
            return parsed;
        }
    }
    return parsed;
}

std::optional<std::int64_t> parseClock(std::string_view text) {
    if (text.size() != 8 || text[2] != ':' || text[5] != ':') {
        return std::nullopt;
    }
    const auto hour = parseUnsigned<unsigned>(text.substr(0, 2), 10);
    const auto minute = parseUnsigned<unsigned>(text.substr(3, 2), 10);
    const auto second = parseUnsigned<unsigned>(text.substr(6, 2), 10);
    if (!hour || !minute || !second || *hour > 23 || *minute > 59 || *second > 59) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(*hour) * 3600 + *minute * 60 + *second;
}

std::string simUsage() {
    return "usage: standin-sim [options]\n"
           "  --socket-dir DIR     folder of the server socket (default /tmp; ignored on Windows)\n"
           "  --class NAME         UIPCMAIN (default) or FS98MAIN\n"
           "  --version HEX        version word at 0x3304 (default 0x28100004)\n"
           "  --sim HEX            simulator word at 0x3308 (default 0xFADE0006)\n"
           "  --flight FILE        lines 'seconds latitude_deg longitude_deg altitude_m'\n"
           "  --clock HH:MM:SS     simulator clock at start (default UTC now)\n"
           "  --log FILE           one JSON line per write and per on-screen message\n"
           "  --fault KIND         no-answer, slow or reply=N\n"
           "  --run-seconds N      stop by itself after N seconds (default: until stopped)\n";
}

}  // namespace stratocue::standins
