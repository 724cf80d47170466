#pragma once

#include <cstdint>
#include <string>

#include "fdwinds/fd_winds.h"
#include "inject/value_exchange.h"
#include "metar/metar_report.h"
#include "simlink/link.h"

namespace stratocue::inject {

// What the winds-aloft writer reads from the windows at the time of the call.
struct WindsAloftWriteSettings {
    bool messagesDisabled = false;  // chkDISABLEMSG checked
    std::string altitudeText;       // lblAltitude caption (metres)
};

// Writes the wind and temperature of the level of bulletin row `row` that matches the
// aircraft altitude, one value per exchange, then the on-screen message. A light and
// variable level takes the surface wind of `report`. A row outside 1..winds.rowCount
// writes nothing; a value that does not fit its width is skipped and nothing is thrown.
void FD_Set(WeatherSink& sink, const fdwinds::FdWinds& winds, std::int16_t row, const metar::MetarReport& report,
            const WindsAloftWriteSettings& settings);
// As above, every value straight into the link.
void FD_Set(simlink::Link& link, const fdwinds::FdWinds& winds, std::int16_t row, const metar::MetarReport& report,
            const WindsAloftWriteSettings& settings);

}  // namespace stratocue::inject
