#pragma once

#include <functional>
#include <ostream>
#include <span>
#include <string_view>
#include <vector>

#include "standins/sim/flight_path.h"
#include "standins/sim/sim_options.h"

namespace stratocue::standins {

// Builds one platform's server from what the command line named and serves until it stops;
// returns the process exit code. `log` is null when no log was asked for.
using SimTransport = std::function<int(const SimOptions& options, std::vector<FlightPoint> flight, std::ostream* log)>;

// The stand-in simulator's program, the same on every platform: reads the command line
// (without the program name), the flight file and the log file, then hands them to
// `transport`. Exit codes: 0 after --help, 2 for a bad command line or a file that cannot
// be read or written, otherwise what the transport returns.
[[nodiscard]] int runStandinSim(std::span<const std::string_view> arguments, const SimTransport& transport);

}  // namespace stratocue::standins
