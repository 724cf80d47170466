#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "stations/station_tables.h"

namespace stratocue::stations {

// Fields 1 to 8 of a data line: identifier, latitude hemisphere, degrees, minutes,
// longitude hemisphere, degrees, minutes, elevation in metres. Index 0 holds field 1.
constexpr std::size_t kStationFieldCount = 8;
using StationFields = std::array<std::string_view, kStationFieldCount>;

// Cuts a data line at every ",", without trimming; empty fields count. Fields past the
// eighth are dropped, missing ones are empty. The views point into `line`.
[[nodiscard]] StationFields splitStationFields(std::string_view line) noexcept;

// Decodes one data line into a station. Latitude and longitude are assembled as text from
// the whole degrees and the minutes' fraction to five decimals, then read and turned into
// radians; "S" (latitude) and "W" (longitude), compared exactly, make them negative. The
// elevation (field 8, only when `withElevation`) is rounded down to whole metres.
// Throws RuntimeFault(Overflow) for a number that is not finite or an elevation outside
// -32768..32767.
[[nodiscard]] Station parseStationLine(std::string_view line, bool withElevation);

}  // namespace stratocue::stations
