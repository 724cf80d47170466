#include "standins/wx/wx_fd_regions.h"

namespace stratocue::standins {
namespace {

constexpr std::array<std::string_view, kAllFdRegions.size()> kRegionNames = {"sfo",    "slc",   "chicago", "ftworth",
                                                                             "boston", "miami", "alaska"};
constexpr std::array<std::string_view, kAllFdRegions.size()> kApiRegionNames = {"sfo", "slc", "chi",   "dfw",
                                                                                "bos", "mia", "alaska"};

constexpr std::string_view kPageFolder = "/fdwinds/text/";
constexpr std::string_view kPageSuffix = "_fd1.shtml";
constexpr std::string_view kFileSuffix = "_fd1.txt";

}  // namespace

std::string_view fdRegionName(FdRegion region) noexcept { return kRegionNames[fdRegionIndex(region)]; }

std::string fdPagePath(FdRegion region) {
    return std::string(kPageFolder) + std::string(fdRegionName(region)) + std::string(kPageSuffix);
}

std::string_view fdApiRegionName(FdRegion region) noexcept { return kApiRegionNames[fdRegionIndex(region)]; }

std::optional<FdRegion> fdRegionFromApiName(std::string_view name) {
    for (const FdRegion region : kAllFdRegions) {
        if (name == fdApiRegionName(region)) return region;
    }
    return std::nullopt;
}

std::string fdBulletinFileName(FdRegion region) { return std::string(fdRegionName(region)) + std::string(kFileSuffix); }

std::optional<FdRegion> fdRegionFromPagePath(std::string_view path) {
    for (const FdRegion region : kAllFdRegions) {
        if (path == fdPagePath(region)) return region;
    }
    return std::nullopt;
}

}  // namespace stratocue::standins
