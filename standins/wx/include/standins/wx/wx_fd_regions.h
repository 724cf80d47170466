#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace stratocue::standins {

// The seven regional FD bulletin pages, in the order the program fetches them.
enum class FdRegion { Sfo, Slc, Chicago, FtWorth, Boston, Miami, Alaska };

inline constexpr std::array<FdRegion, 7> kAllFdRegions = {FdRegion::Sfo,     FdRegion::Slc,    FdRegion::Chicago,
                                                          FdRegion::FtWorth, FdRegion::Boston, FdRegion::Miami,
                                                          FdRegion::Alaska};

// The six regions cut out of the national bulletin (all but Alaska).
inline constexpr std::array<FdRegion, 6> kLowerFdRegions = {FdRegion::Sfo,     FdRegion::Slc,    FdRegion::Chicago,
                                                            FdRegion::FtWorth, FdRegion::Boston, FdRegion::Miami};

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

// Position of the region in kAllFdRegions (0..6), for tables indexed by region.
[[nodiscard]] constexpr std::size_t fdRegionIndex(FdRegion region) noexcept { return static_cast<std::size_t>(region); }

}  // namespace stratocue::standins
