#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "standins/wx/wx_fd_regions.h"
#include "standins/wx/wx_files.h"
#include "standins/wx/wx_options.h"
#include "standins/wx/wx_text_lines.h"

namespace stratocue::standins::wxtest {

// The demo's weather data folder and the FD station list of the repository.
inline const std::filesystem::path kDemoWeatherDir = WX_DEMO_WEATHER_DIR;
inline const std::filesystem::path kFdStationListFile = WX_FD_STATION_LIST;
inline const std::filesystem::path kNationalSampleFile = kDemoWeatherDir / "source" / "FD1US1-080201.txt";
inline const std::filesystem::path kAlaskaSampleFile = kDemoWeatherDir / "source" / "FD1AK1-031352.txt";

// Test names of table rows: the row's `name`, or the region's short name.
struct NameOfRow {
    template <class Info>
    std::string operator()(const Info& row) const {
        return row.param.name;
    }
};
struct NameOfRegion {
    std::string operator()(const ::testing::TestParamInfo<FdRegion>& row) const {
        return std::string(fdRegionName(row.param));
    }
};

// Fault sets for the tables.
inline WxFaults faults(bool slow, std::optional<int> status, bool oversize) {
    WxFaults result;
    result.slow = slow;
    result.status = status;
    result.oversize = oversize;
    return result;
}
inline WxFaults slowFault() { return faults(true, std::nullopt, false); }
inline WxFaults statusFault(int status) { return faults(false, status, false); }
inline WxFaults oversizeFault() { return faults(false, std::nullopt, true); }

// The file's text; fails the test when it cannot be read.
inline std::string requiredFile(const std::filesystem::path& path) {
    const auto text = readTextFile(path);
    EXPECT_TRUE(text.has_value()) << "cannot read " << path;
    return text.value_or(std::string());
}

// Station identifiers of the lines after the bulletin's "39000" header line, in order.
inline std::vector<std::string> bulletinStationIds(std::string_view bulletin) {
    std::vector<std::string> ids;
    bool inTable = false;
    for (const std::string_view line : textLines(bulletin)) {
        if (inTable && !firstWord(line).empty()) ids.emplace_back(firstWord(line));
        if (line.find("39000") != std::string_view::npos) inTable = true;
    }
    return ids;
}

}  // namespace stratocue::standins::wxtest
