#pragma once

#include <memory>

#include "common/server_addresses.h"
#include "metar/metar_page.h"
#include "metar/metar_report_source.h"

namespace stratocue::metar {

// The source behind the "VATSIM METARs" choice. Checked: the classic VATSIM search page at
// the metar_vatsim host when servers.txt names one, else the VATSIM METAR service at
// vatsimApi. Not checked: the classic weather-service page at the metar_nws host when
// named, else the data API at awcApi.
[[nodiscard]] std::unique_ptr<MetarReportSource> chooseMetarSource(const ServerAddresses& servers,
                                                                   MetarSource selected);

}  // namespace stratocue::metar
