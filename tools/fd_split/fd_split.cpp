#include "tools/fd_split/fd_split.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <optional>

#include "common/text_lines.h"
#include "common/units.h"

namespace stratocue::tools {
namespace {

constexpr std::string_view kHeaderEnd = "39000";  // last column title of the "FT" line

// Region boundaries in degrees (east and north positive).
constexpr double kWestCoastEastEdge = -114.0;
constexpr double kMountainEastEdge = -102.0;
constexpr double kCentralEastEdge = -87.0;
constexpr double kSouthernNorthEdge = 37.0;

constexpr std::size_t kStationListFields = 7;  // ID,N|S,deg,min,E|W,deg,min

std::optional<double> parseDecimal(std::string_view text) {
    const std::string_view trimmed = trimmedBlanks(text);
    double value = 0.0;
    const auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (error != std::errc{} || end != trimmed.data() + trimmed.size() || trimmed.empty()) return std::nullopt;
    return value;
}

std::vector<std::string_view> commaFields(std::string_view line) {
    std::vector<std::string_view> fields;
    while (true) {
        const auto comma = line.find(',');
        fields.push_back(line.substr(0, comma));
        if (comma == std::string_view::npos) return fields;
        line.remove_prefix(comma + 1);
    }
}

// Degrees and minutes with the hemisphere letter that makes them negative (S or W).
std::optional<double> signedDegrees(std::string_view hemisphere, std::string_view negativeLetter,
                                    std::string_view positiveLetter, std::string_view degrees,
                                    std::string_view minutes) {
    const std::string_view letter = trimmedBlanks(hemisphere);
    if (letter != negativeLetter && letter != positiveLetter) return std::nullopt;
    const auto wholeDegrees = parseDecimal(degrees);
    const auto wholeMinutes = parseDecimal(minutes);
    if (!wholeDegrees || !wholeMinutes) return std::nullopt;
    const double value = *wholeDegrees + *wholeMinutes / units::kMinutesPerDegree;
    return letter == negativeLetter ? -value : value;
}

std::string lineNumberText(std::size_t index) { return "line " + std::to_string(index + 1); }

}  // namespace

FdStationPositions parseFdStationPositions(std::string_view stationListText) {
    FdStationPositions positions;
    const std::vector<std::string_view> lines = textLines(stationListText);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (trimmedBlanks(lines[i]).empty()) continue;
        const std::vector<std::string_view> fields = commaFields(lines[i]);
        const std::string_view id = trimmedBlanks(fields[0]);
        if (fields.size() != kStationListFields || id.empty()) {
            throw FdSplitError(lineNumberText(i) + ": expected ID,N|S,deg,min,E|W,deg,min");
        }
        const auto latitude = signedDegrees(fields[1], "S", "N", fields[2], fields[3]);
        const auto longitude = signedDegrees(fields[4], "W", "E", fields[5], fields[6]);
        if (!latitude || !longitude) {
            throw FdSplitError(lineNumberText(i) + ": bad position of station " + std::string(id));
        }
        positions.insert_or_assign(std::string(id), FdStationPosition{*latitude, *longitude});
    }
    return positions;
}

FdRegion fdRegionOfPosition(FdStationPosition position) noexcept {
    const bool southern = position.latitudeDegrees < kSouthernNorthEdge;
    if (position.longitudeDegrees < kWestCoastEastEdge) return FdRegion::Sfo;
    if (position.longitudeDegrees < kMountainEastEdge) return FdRegion::Slc;
    if (position.longitudeDegrees < kCentralEastEdge) return southern ? FdRegion::FtWorth : FdRegion::Chicago;
    return southern ? FdRegion::Miami : FdRegion::Boston;
}

FdRegion fdRegionOfStation(const FdStationPositions& positions, std::string_view stationId) {
    const auto found = positions.find(stationId);
    return found == positions.end() ? kUnlistedStationRegion : fdRegionOfPosition(found->second);
}

std::vector<RegionalBulletin> splitNationalBulletin(std::string_view nationalText,
                                                    const FdStationPositions& positions) {
    const std::vector<std::string_view> lines = textLines(nationalText);
    std::size_t firstStationLine = 0;
    while (firstStationLine < lines.size() && lines[firstStationLine].find(kHeaderEnd) == std::string_view::npos) {
        ++firstStationLine;
    }
    if (firstStationLine == lines.size()) throw FdSplitError("the bulletin has no header line ending in 39000");
    ++firstStationLine;

    std::string header;
    for (std::size_t i = 0; i < firstStationLine; ++i) {
        header += lines[i];
        header += '\n';
    }

    std::array<std::string, kAllFdRegions.size()> stationLines;
    for (std::size_t i = firstStationLine; i < lines.size(); ++i) {
        const std::string_view id = firstWord(lines[i]);
        if (id.empty()) continue;
        std::string& region = stationLines[fdRegionIndex(fdRegionOfStation(positions, id))];
        region += lines[i];
        region += '\n';
    }

    std::vector<RegionalBulletin> bulletins;
    for (const FdRegion region : kLowerFdRegions) {
        const std::string& stations = stationLines[fdRegionIndex(region)];
        const std::string name(fdRegionNames(region).name);
        if (stations.empty()) throw FdSplitError("region " + name + " gets no station lines");
        if (stations.size() > kMaxStationLineChars) {
            throw FdSplitError("region " + name + " gets " + std::to_string(stations.size()) +
                               " characters of station lines, more than the page cut takes");
        }
        bulletins.push_back({region, header + stations});
    }
    return bulletins;
}

}  // namespace stratocue::tools
