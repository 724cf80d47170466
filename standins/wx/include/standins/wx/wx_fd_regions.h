#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/fd_regions.h"

namespace stratocue::standins {

// The region's short name as it appears in its page and file names ("sfo", "ftworth", ...).
[[nodiscard]] std::string_view fdRegionName(FdRegion region) noexcept;

// The page path the program requests, "/fdwinds/text/sfo_fd1.shtml".
[[nodiscard]] std::string fdPagePath(FdRegion region);

// The region's name in the data API's winds-aloft query ("sfo", "chi", "dfw", ...).
[[nodiscard]] std::string_view fdApiRegionName(FdRegion region) noexcept;

// The region the data API calls by this name exactly; nullopt for any other name.
[[nodiscard]] std::optional<FdRegion> fdRegionFromApiName(std::string_view name);

// The bulletin file of the region in a data folder's fd/ folder, "sfo_fd1.txt".
[[nodiscard]] std::string fdBulletinFileName(FdRegion region);

// The region whose page path this is exactly; nullopt for any other path.
[[nodiscard]] std::optional<FdRegion> fdRegionFromPagePath(std::string_view path);

}  // namespace stratocue::standins
