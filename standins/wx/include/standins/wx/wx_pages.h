#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace stratocue::standins {

// Size the oversize fault pads every page to: beyond the 32,767 bytes a page may have.
inline constexpr std::size_t kOversizePageBytes = 40000;

// The METAR search page of the VATSIM layout. With a report, the report follows a tag's
// ">" directly, well past the page's first 45 characters, and is followed by CR LF and
// "</td>". Without one, a "No METAR found" page in which ">" never precedes the identifier.
[[nodiscard]] std::string vatsimMetarPage(std::string_view requestedId, const std::optional<std::string>& report);

// The observation page of the weather-service layout. With a report, "The observation is:"
// is followed by exactly 27 characters, then the report, CR LF and "</TT>". Without one,
// a page in which that phrase does not occur.
[[nodiscard]] std::string weatherServiceMetarPage(std::string_view requestedId,
                                                  const std::optional<std::string>& report);

// An FD bulletin page: the bulletin (LF line ends) inside "<PRE>", with "</PRE>" directly
// after the line break of its last line.
[[nodiscard]] std::string fdBulletinPage(std::string_view bulletinText);

// The page sent with status 404 for a path the server does not know.
[[nodiscard]] std::string missingPage(std::string_view path);

// The page with an HTML comment inserted before its closing "</body>" (appended when there
// is none) so that it grows to kOversizePageBytes and stays well-formed.
[[nodiscard]] std::string paddedPastPageLimit(std::string_view page);

}  // namespace stratocue::standins
