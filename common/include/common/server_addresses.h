#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace stratocue {

// Where the weather pages come from: scheme, host and optional port of each server; the
// page paths are appended by the downloads.
struct ServerAddresses {
    std::string metarVatsim = "http://metar.vatsim.net";
    std::string metarNws = "http://weather.noaa.gov";
    std::string fdwinds = "http://aviationweather.gov";
};

inline constexpr std::string_view kServerAddressesFileName = "servers.txt";

// Reads lines "metar_vatsim=URL", "metar_nws=URL" and "fdwinds=URL" over the built-in
// addresses. Blank lines and lines starting with "#" are skipped; unknown keys, lines
// without "=" and empty values are ignored; blanks around keys and values and a trailing
// "/" of a value are dropped.
[[nodiscard]] ServerAddresses parseServerAddresses(std::string_view text);

// The addresses from servers.txt in `folder`, or the built-in ones when there is no file.
[[nodiscard]] ServerAddresses loadServerAddresses(const std::filesystem::path& folder);

}  // namespace stratocue
