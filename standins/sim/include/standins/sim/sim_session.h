#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <span>
#include <vector>

#include "standins/server/offset_space.h"
#include "standins/server/request_block.h"
#include "standins/sim/flight_path.h"
#include "standins/sim/sim_options.h"

namespace stratocue::standins {

// The stand-in simulator behind whichever transport brings the requests: the offsets, the
// scripted flight, the clock and the write log. Not for use by more than one thread.
class SimSession {
public:
    // `log` may be null (no log); it must outlive the session. The flight and the clock
    // start now.
    SimSession(SimOptions options, std::vector<FlightPoint> flight, std::ostream* log);

    // Serves one client block in place: brings position and clock up to date, answers the
    // reads, applies and logs the writes. Returns the reply the transport sends: 1, 0 for a
    // block that is missing or malformed, or the configured reply under the reply fault.
    [[nodiscard]] std::uint32_t serve(std::span<std::byte> block);

    [[nodiscard]] const SimOptions& options() const { return options_; }

private:
    void refreshOffsets();
    void logWrite(const WriteNotice& write);
    [[nodiscard]] double secondsSinceStart() const;

    SimOptions options_;
    std::vector<FlightPoint> flight_;
    std::ostream* log_;
    OffsetSpace space_;
    std::chrono::steady_clock::time_point start_;
    std::int64_t startSecondOfDay_ = 0;
};

}  // namespace stratocue::standins
