// standin-sim's program on every platform: command line, flight file and log, then the server.
#include "standins/sim/sim_program.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <utility>

namespace stratocue::standins {

namespace {

constexpr int kUsageError = 2;

}  // namespace

int runStandinSim(std::span<const std::string_view> arguments, const SimTransport& transport) {
    const ParsedSimOptions parsed = parseSimOptions(arguments);
    if (!parsed.error.empty()) {
        std::cerr << "standin-sim: " << parsed.error << '\n' << simUsage();
        return kUsageError;
    }
    if (parsed.options.showHelp) {
        std::cout << simUsage();
        return 0;
    }

    FlightPath flight;
    if (!parsed.options.flightFile.empty()) {
        std::ifstream file(parsed.options.flightFile, std::ios::binary);
        std::ostringstream text;
        if (!file || !(text << file.rdbuf())) {
            std::cerr << "standin-sim: cannot read flight file " << parsed.options.flightFile << '\n';
            return kUsageError;
        }
        flight = parseFlightPath(text.str());
        if (!flight.error.empty()) {
            std::cerr << "standin-sim: " << parsed.options.flightFile << ": " << flight.error << '\n';
            return kUsageError;
        }
    }

    std::ofstream log;
    if (!parsed.options.logFile.empty()) {
        log.open(parsed.options.logFile, std::ios::trunc);
        if (!log) {
            std::cerr << "standin-sim: cannot write log file " << parsed.options.logFile << '\n';
            return kUsageError;
        }
    }
    return transport(parsed.options, std::move(flight.points), log.is_open() ? &log : nullptr);
}

}  // namespace stratocue::standins
