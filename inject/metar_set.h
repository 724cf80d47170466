#pragma once

#include <cstdint>
#include <string>

#include "common/program_state.h"
#include "inject/random_source.h"
#include "metar/metar_report.h"
#include "simlink/link.h"

namespace stratocue::inject {

// What the surface writer reads from the windows at the time of the call.
struct SurfaceWriteSettings {
    bool windsAloftSimulation = false;  // chkWINDSALOFT checked
    bool messagesDisabled = false;      // chkDISABLEMSG checked
    std::string reportText;             // txtMETARstr
    std::string altitudeText;           // lblAltitude caption (metres)
    std::int16_t stationElevationMetres = 0;  // elevation of the reporting station
};

// Writes the decoded report into the simulator, one value per exchange: clouds,
// precipitation, temperature, wind, visibility, pressure, dew point and the on-screen
// message; with state.altitudeSet only the wind part, after which the flag is cleared.
// Changes report.winddir "360" to "359" and every "," in report.alt to ".". A value that
// does not fit its width is skipped and the others are still written; nothing is thrown.
void METAR_Set(simlink::Link& link, metar::MetarReport& report, ProgramState& state,
               const SurfaceWriteSettings& settings, RandomSource& random);

}  // namespace stratocue::inject
