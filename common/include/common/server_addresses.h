#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace stratocue {

// Today's weather services, used when servers.txt does not say otherwise.
inline constexpr std::string_view kVatsimServiceAddress = "https://metar.vatsim.net";
inline constexpr std::string_view kDataApiAddress = "https://aviationweather.gov";

// Where the weather comes from: scheme, host and optional port of each server; the paths
// and queries are appended by the sources.
struct ServerAddresses {
    // Hosts serving the classic page layouts. A host given here switches its source from
    // today's service to that layout: the VATSIM search page, the weather-service page,
    // the seven FD bulletin pages.
    std::optional<std::string> metarVatsim{};
    std::optional<std::string> metarNws{};
    std::optional<std::string> fdwinds{};
    // Today's services: the VATSIM METAR service, and the aviation-weather data API for
    // both the METARs and the winds aloft.
    std::string vatsimApi{kVatsimServiceAddress};
    std::string awcApi{kDataApiAddress};
};

inline constexpr std::string_view kServerAddressesFileName = "servers.txt";

// Reads lines "key=URL" over the defaults. Classic keys: "metar_vatsim", "metar_nws",
// "fdwinds"; today's services: "vatsim_api", "awc_api". Blank lines and lines starting
// with "#" are skipped; unknown keys, lines without "=" and empty values are ignored;
// blanks around keys and values and a trailing "/" of a value are dropped; a later line
// with the same key wins.
[[nodiscard]] ServerAddresses parseServerAddresses(std::string_view text);

// The addresses from servers.txt in `folder`, or the defaults when there is no file.
[[nodiscard]] ServerAddresses loadServerAddresses(const std::filesystem::path& folder);

}  // namespace stratocue
