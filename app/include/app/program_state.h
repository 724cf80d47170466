#pragma once

#include <cstdint>
#include <string>

namespace stratocue::app {

// The process-wide values that the main cycle and the workers share. One instance lives in
// the running program; start-up gives every field its start value before loading stations.
struct ProgramState {
    bool startFailed = false;                 // start-up failed; the next tick ends the program
    std::string forcedId;                     // station the user forces; empty = none
    std::int16_t forcedRange = 60;            // distance within which forcedId is used
    bool forcedActive = false;                // the last search met forcedId within forcedRange
    bool fdValid = false;                     // winds-aloft station selected and within range
    std::int16_t fdStationIndex = 0;          // row of the selected winds-aloft station, 0 = none
    std::int16_t lastSetAltitude = 0;         // whole metres at the last altitude re-application
    bool altitudeSet = false;                 // the weather writer is called for an altitude change
    bool refreshNow = true;                   // fetch METAR and winds aloft at the next tick
    std::int16_t metarTicks = 0;              // ticks since the last METAR refresh
    std::int16_t metarPeriodTicks = 5;        // METAR refresh period in ticks
    std::int16_t fdTicks = 0;                 // ticks since the last winds-aloft refresh
    std::int16_t fdPeriodTicks = 10;          // winds-aloft refresh period in ticks
    std::string lastMetarText = "firstload";  // report text last applied by the schedule
    std::int16_t metarNeighbourIndex = 0;     // station of that report when not the chosen one, 0 = none
    std::string lastStationId = "firstload";  // station id last seen by the change checks
    std::int16_t metarIntervalDefault = 5;    // minutes written into an out-of-range METAR box
    std::int16_t fdIntervalDefault = 10;      // minutes written into an out-of-range FD box

    bool operator==(const ProgramState&) const = default;
};

}  // namespace stratocue::app
