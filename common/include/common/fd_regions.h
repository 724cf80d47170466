#pragma once

#include <array>
#include <string_view>

namespace stratocue {

// One of the seven FD bulletin regions, by the names each server and folder knows it by.
struct FdRegionNames {
    std::string_view name;      // in the classic page's and the bulletin file's names: "chicago"
    std::string_view apiName;   // in the data API's winds-aloft query: "chi"
    std::string_view pagePath;  // the classic page at a host: "/fdwinds/text/chicago_fd1.shtml"
};

// The seven regions, in the order the program fetches their bulletins and joins them. The
// FD sources, the weather stand-in and the benchmarks all read this one table.
inline constexpr std::array<FdRegionNames, 7> kFdRegions{{
    {"sfo", "sfo", "/fdwinds/text/sfo_fd1.shtml"},
    {"slc", "slc", "/fdwinds/text/slc_fd1.shtml"},
    {"chicago", "chi", "/fdwinds/text/chicago_fd1.shtml"},
    {"ftworth", "dfw", "/fdwinds/text/ftworth_fd1.shtml"},
    {"boston", "bos", "/fdwinds/text/boston_fd1.shtml"},
    {"miami", "mia", "/fdwinds/text/miami_fd1.shtml"},
    {"alaska", "alaska", "/fdwinds/text/alaska_fd1.shtml"},
}};

}  // namespace stratocue
