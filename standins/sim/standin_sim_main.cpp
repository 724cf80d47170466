// standin-sim: a stand-in simulator serving the link on Linux, for tests and the demo.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string_view>
#include <vector>

#include "standins/sim/flight_path.h"
#include "standins/sim/sim_options.h"
#include "standins/sim/sim_server.h"

namespace {

constexpr int kUsageError = 2;

}  // namespace

int main(int argc, char** argv) {
    using namespace stratocue::standins;
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
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
    SimServer server(parsed.options, std::move(flight.points), log.is_open() ? &log : nullptr);
    return server.run();
}
