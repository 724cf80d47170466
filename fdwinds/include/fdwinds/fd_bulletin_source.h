#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "common/fd_regions.h"
#include "web/web_answer.h"

namespace stratocue::fdwinds {

// The seven regional bulletins of one winds-aloft run.
inline constexpr std::size_t kFdRegionCount = kFdRegions.size();
using FdBulletinUrls = std::array<std::string, kFdRegionCount>;

// Where the seven FD bulletins come from: the address of each, and how an answer turns
// into its station table. The table is the one FD_CutBulletin gives from a page, so the
// decoder, the station choice and the writer never know which source answered.
class FdBulletinSource {
public:
    FdBulletinSource() = default;
    FdBulletinSource(const FdBulletinSource&) = delete;
    FdBulletinSource& operator=(const FdBulletinSource&) = delete;
    FdBulletinSource(FdBulletinSource&&) = delete;
    FdBulletinSource& operator=(FdBulletinSource&&) = delete;
    virtual ~FdBulletinSource() = default;

    // The address of each regional bulletin, in the order they are fetched and joined:
    // west coast, mountains, north central, south central, north east, south east, Alaska.
    [[nodiscard]] virtual FdBulletinUrls bulletinUrls() const = 0;

    // The station table in one answer. Throws when the answer holds no bulletin (a failed
    // run: "Download Timeout or Error").
    [[nodiscard]] virtual std::string stationTableFromAnswer(const WebAnswer& answer) const = 0;
};

}  // namespace stratocue::fdwinds
