#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace stratocue {

// The seven FD bulletin regions, in the order the program fetches their bulletins and joins
// them; each names its row of kFdRegions.
enum class FdRegion { Sfo, Slc, Chicago, FtWorth, Boston, Miami, Alaska };

// One of the seven FD bulletin regions, by the names each server and folder knows it by.
struct FdRegionNames {
    FdRegion region;
    std::string_view name;          // in the classic page's and the bulletin file's names: "chicago"
    std::string_view apiName;       // in the data API's winds-aloft query: "chi"
    std::string_view pagePath;      // the classic page at a host: "/fdwinds/text/chicago_fd1.shtml"
    std::string_view bulletinFile;  // the bulletin file in a weather data folder: "chicago_fd1.txt"
};

// The seven regions, in FdRegion order. The FD sources, the weather stand-in, the FD splitter
// and the benchmarks all read this one table.
inline constexpr std::array<FdRegionNames, 7> kFdRegions{{
    {FdRegion::Sfo, "sfo", "sfo", "/fdwinds/text/sfo_fd1.shtml", "sfo_fd1.txt"},
    {FdRegion::Slc, "slc", "slc", "/fdwinds/text/slc_fd1.shtml", "slc_fd1.txt"},
    {FdRegion::Chicago, "chicago", "chi", "/fdwinds/text/chicago_fd1.shtml", "chicago_fd1.txt"},
    {FdRegion::FtWorth, "ftworth", "dfw", "/fdwinds/text/ftworth_fd1.shtml", "ftworth_fd1.txt"},
    {FdRegion::Boston, "boston", "bos", "/fdwinds/text/boston_fd1.shtml", "boston_fd1.txt"},
    {FdRegion::Miami, "miami", "mia", "/fdwinds/text/miami_fd1.shtml", "miami_fd1.txt"},
    {FdRegion::Alaska, "alaska", "alaska", "/fdwinds/text/alaska_fd1.shtml", "alaska_fd1.txt"},
}};

// Position of the region in kFdRegions (0..6), for tables indexed by region.
[[nodiscard]] constexpr std::size_t fdRegionIndex(FdRegion region) noexcept { return static_cast<std::size_t>(region); }

// The names of a region.
[[nodiscard]] constexpr const FdRegionNames& fdRegionNames(FdRegion region) noexcept {
    return kFdRegions[fdRegionIndex(region)];
}

// Every region, in kFdRegions order.
inline constexpr std::array<FdRegion, kFdRegions.size()> kAllFdRegions = [] {
    std::array<FdRegion, kFdRegions.size()> regions{};
    for (std::size_t i = 0; i < regions.size(); ++i) regions[i] = kFdRegions[i].region;
    return regions;
}();

static_assert(
    [] {
        for (std::size_t i = 0; i < kFdRegions.size(); ++i) {
            if (fdRegionIndex(kFdRegions[i].region) != i) return false;
        }
        return true;
    }(),
    "kFdRegions lists the regions in FdRegion order");

}  // namespace stratocue
