#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace stratocue::metar {

// The two METAR sources, chosen by "VATSIM METARs".
enum class MetarSource { Vatsim, WeatherService };

// The page address of a station's report: the VATSIM page with the identifier upper-cased,
// or the weather-service page with the identifier as given. Bytes that cannot stand in a
// URL (blank, "#", "%", control characters, bytes above 127) are percent-encoded; a plain
// identifier goes in unchanged.
[[nodiscard]] std::string metarPageUrl(std::string_view serverBase, MetarSource source, std::string_view stationId);

// Cuts the report out of a page: it starts at the identifier after ">" (VATSIM) or 46
// characters after "The observation is:" (weather service), and ends 3 characters before
// the next "<" within 255 characters. No report in the page (a start below 47) gives
// nullopt; a report without its closing "<" where expected is a fault (RuntimeFault).
[[nodiscard]] std::optional<std::string> cutReportFromPage(std::string_view page, MetarSource source,
                                                           std::string_view stationId);

}  // namespace stratocue::metar
