#pragma once

#include <array>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "common/fd_regions.h"

namespace stratocue::tools {

// A station list or bulletin the splitter cannot take, or a file it cannot read or write;
// the message names the file or line and what is wrong.
class FdSplitError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The six regions cut out of the national bulletin (all but Alaska), in kFdRegions order.
inline constexpr std::array<FdRegion, 6> kLowerFdRegions = {FdRegion::Sfo,     FdRegion::Slc,    FdRegion::Chicago,
                                                            FdRegion::FtWorth, FdRegion::Boston, FdRegion::Miami};

// A station of the FD station list, in degrees with north and east positive.
struct FdStationPosition {
    double latitudeDegrees = 0.0;
    double longitudeDegrees = 0.0;
};

using FdStationPositions = std::map<std::string, FdStationPosition, std::less<>>;

// Stations of the national bulletin that the station list does not hold go to this
// region: they are the offshore points over the Gulf of Mexico and the western Atlantic.
inline constexpr FdRegion kUnlistedStationRegion = FdRegion::Miami;

// The longest run of station lines (line breaks included) that the program's page cut
// still sees whole, with "</PRE>" after it, in its 5000 characters after "39000".
inline constexpr std::size_t kMaxStationLineChars = 5000 - 6;

// One regional bulletin cut out of the national one.
struct RegionalBulletin {
    FdRegion region = FdRegion::Sfo;
    std::string text;  // header lines, then the region's station lines, each ending in LF
};

// Reads an FD station list, lines "ID,N|S,deg,min,E|W,deg,min" ending in LF or CR LF;
// blank lines are skipped. Throws FdSplitError naming the line of a malformed entry.
[[nodiscard]] FdStationPositions parseFdStationPositions(std::string_view stationListText);

// The region of a position: west of 114 W the west coast (sfo), to 102 W the mountains
// (slc), to 87 W north central (chicago) from 37 N up and south central (ftworth) below,
// further east the north east (boston) from 37 N up and the south east (miami) below.
[[nodiscard]] FdRegion fdRegionOfPosition(FdStationPosition position) noexcept;

// The region of a bulletin station by its position in the list, kUnlistedStationRegion
// when the list does not hold it.
[[nodiscard]] FdRegion fdRegionOfStation(const FdStationPositions& positions, std::string_view stationId);

// Splits a national FD bulletin into the six regional bulletins (kLowerFdRegions order).
// Each keeps all header lines up to and including the line with "39000" and gets the
// station lines of its region in bulletin order. Throws FdSplitError when the bulletin has
// no "39000" header line, or a region would be empty or longer than kMaxStationLineChars.
[[nodiscard]] std::vector<RegionalBulletin> splitNationalBulletin(std::string_view nationalText,
                                                                  const FdStationPositions& positions);

}  // namespace stratocue::tools
