#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "common/fd_regions.h"
#include "fdwinds/fd_bulletin_source.h"
#include "web/server_addresses.h"

namespace stratocue::fdwinds {

// The data API's names of the seven regions, in FdRegionPages order.
inline constexpr std::array<std::string_view, kFdRegionCount> FdWindTempRegions = [] {
    std::array<std::string_view, kFdRegionCount> names{};
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = kFdRegions[i].apiName;
    return names;
}();

// What an FD bulletin source says about itself: its server (the servers.txt key and the
// default address) and how it is made for an address. The page layout comes with what
// `make` builds.
struct FdSourceEntry {
    SourceServer server;
    std::unique_ptr<FdBulletinSource> (*make)(std::string address);
};

// The station table of a data-API winds-aloft text, in the form FD_CutBulletin gives from
// a page: the rows after the line that holds "39000" up to the end of the text (its last
// line end dropped). CR LF reads as LF. Throws FdFormatError when no line holds "39000"
// or nothing follows that line.
[[nodiscard]] std::string FD_CutWindTempText(std::string_view answerText);

// The bulletin source as servers.txt decides: one whose key servers.txt names, else the one
// with a default address (the classic pages when "fdwinds" is named, else the data API).
[[nodiscard]] std::unique_ptr<FdBulletinSource> chooseFdSource(const ServerAddresses& servers);

}  // namespace stratocue::fdwinds
