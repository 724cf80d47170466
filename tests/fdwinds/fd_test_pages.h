#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "fdwinds/fd_decoder.h"

namespace stratocue::fdwinds::testing_pages {

inline const std::filesystem::path kDataFolder = FDWINDS_TEST_DATA_DIR;

// The header line of a bulletin table, ending with the last column title.
constexpr std::string_view kHeaderLine = "FT  3000    6000    9000   12000   18000   24000  30000  34000  39000";

// A station line of the usual layout with every level filled in.
constexpr std::string_view kFullLine = "ABC 2710 2812-05 2915-10 3020-15 3125-25 3230-35 333545 344050 354555";

// A bulletin page as the server sends it: the station lines, each ended by LF, between the
// table header and "</PRE>".
inline std::string pageOf(const std::vector<std::string>& stationLines) {
    std::string page = "<html><head><title>FD Winds</title></head><body>\n<PRE>\n000\nFBUS31 KWNO 171357\nFD1US1\n";
    page += "VALID 171800Z   FOR USE 1400-2100Z. TEMPS NEG ABV 24000\n\n";
    page += kHeaderLine;
    page += '\n';
    for (const std::string& line : stationLines) page += line + '\n';
    page += "</PRE>\n</body></html>\n";
    return page;
}

// The whole file as text, one character per byte.
inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) ADD_FAILURE() << "cannot open " << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every LF preceded by a CR, as a server with CR+LF line ends sends the page.
inline std::string withCrLf(std::string_view text) {
    std::string result;
    for (const char c : text) {
        if (c == '\n') result += '\r';
        result += c;
    }
    return result;
}

// Cuts, joins, splits and decodes the pages, as one winds-aloft run does.
inline FdWinds decodePages(const std::vector<std::string>& pages, std::string_view surfaceTempText) {
    std::vector<std::string> cuts;
    for (const std::string& page : pages) cuts.push_back(FD_CutBulletin(page));
    FdWinds winds;
    FD_DecodeRows(FD_SplitTokens(FD_JoinCuts(cuts)), surfaceTempText, winds);
    return winds;
}

inline const FdLevelValues& levelOf(const FdWinds& winds, int row, FdLevel level) {
    return winds.levels.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(level));
}

}  // namespace stratocue::fdwinds::testing_pages
