#pragma once

#include "web/server_addresses.h"

namespace stratocue {

// The aviation-weather data API, which serves both the METARs and the winds aloft:
// "awc_api" in servers.txt, by default https://aviationweather.gov.
inline constexpr SourceServer kDataApiServer{"awc_api", "https://aviationweather.gov"};

}  // namespace stratocue
