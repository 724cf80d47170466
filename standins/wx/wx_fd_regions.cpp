#include "standins/wx/wx_fd_regions.h"

#include "common/fd_regions.h"

namespace stratocue::standins {
namespace {

// The program's region table, in the order of kAllFdRegions.
static_assert(kFdRegions.size() == kAllFdRegions.size());

constexpr std::string_view kFileSuffix = "_fd1.txt";

}  // namespace

std::string_view fdRegionName(FdRegion region) noexcept { return kFdRegions[fdRegionIndex(region)].name; }

std::string fdPagePath(FdRegion region) { return std::string(kFdRegions[fdRegionIndex(region)].pagePath); }

std::string_view fdApiRegionName(FdRegion region) noexcept { return kFdRegions[fdRegionIndex(region)].apiName; }

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
