// standin-sim: a stand-in simulator serving the link on Linux, for tests and the demo.
#include <string_view>
#include <utility>
#include <vector>

#include "standins/sim/sim_program.h"
#include "standins/sim/sim_server.h"

int main(int argc, char** argv) {
    using namespace stratocue::standins;
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    return runStandinSim(arguments, [](const SimOptions& options, std::vector<FlightPoint> flight, std::ostream* log) {
        return SimServer(options, std::move(flight), log).run();
    });
}
