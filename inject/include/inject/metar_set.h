#pragma once

#include <cstdint>
#include <string>

#include "inject/random_source.h"
#include "inject/value_exchange.h"
#include "metar/metar_report.h"
#include "simlink/link.h"

namespace stratocue::inject {

// What the surface writer reads from the windows at the time of the call.
struct SurfaceWriteSettings {
    bool windsAloftSimulation = false;        // chkWINDSALOFT checked
    bool messagesDisabled = false;            // chkDISABLEMSG checked
    std::string reportText;                   // txtMETARstr
    std::string altitudeText;                 // lblAltitude caption (metres)
    std::int16_t stationElevationMetres = 0;  // elevation of the reporting station
    bool forcedActive = false;                // a forced station is in use: the surface wind always applies
    bool fdValid = false;                     // a winds-aloft station is selected and within range
};

// Writes the decoded report into the simulator, one value per exchange: clouds,
// precipitation, temperature, wind, visibility, pressure, dew point and the on-screen
// message; with `altitudeSet` only the wind part, after which the flag is cleared.
// Changes report.winddir "360" to "359" and every "," in report.alt to ".". A value that
// does not fit its width is skipped and the others are still written; nothing is thrown.
void METAR_Set(WeatherSink& sink, metar::MetarReport& report, bool& altitudeSet, const SurfaceWriteSettings& settings,
               RandomSource& random);
// As above, every value straight into the link.
void METAR_Set(simlink::Link& link, metar::MetarReport& report, bool& altitudeSet, const SurfaceWriteSettings& settings,
               RandomSource& random);

}  // namespace stratocue::inject
