#include "standins/wx/wx_fd_regions.h"

namespace stratocue::standins {

std::string_view fdRegionName(FdRegion region) noexcept { return fdRegionNames(region).name; }

std::string fdPagePath(FdRegion region) { return std::string(fdRegionNames(region).pagePath); }

std::string_view fdApiRegionName(FdRegion region) noexcept { return fdRegionNames(region).apiName; }

std::optional<FdRegion> fdRegionFromApiName(std::string_view name) {
    for (const FdRegionNames& region : kFdRegions) {
        if (name == region.apiName) return region.region;
    }
    return std::nullopt;
}

std::string fdBulletinFileName(FdRegion region) { return std::string(fdRegionNames(region).bulletinFile); }

std::optional<FdRegion> fdRegionFromPagePath(std::string_view path) {
    for (const FdRegionNames& region : kFdRegions) {
        if (path == region.pagePath) return region.region;
    }
    return std::nullopt;
}

}  // namespace stratocue::standins
