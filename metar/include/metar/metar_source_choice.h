#pragma once

#include <memory>

#include "metar/metar_page.h"
#include "metar/metar_report_source.h"
#include "web/server_addresses.h"

namespace stratocue::metar {

// The source behind the "VATSIM METARs" choice, as servers.txt decides among the sources
// that serve it: one whose key servers.txt names, else the one with a default address.
// Checked: the classic VATSIM search page when "metar_vatsim" is named, else the VATSIM
// METAR service. Not checked: the classic weather-service page when "metar_nws" is named,
// else the data API.
[[nodiscard]] std::unique_ptr<MetarReportSource> chooseMetarSource(const ServerAddresses& servers,
                                                                   MetarSource selected);

}  // namespace stratocue::metar
