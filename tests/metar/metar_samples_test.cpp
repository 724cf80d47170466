#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "metar/metar_decoder.h"

namespace stratocue::metar {
namespace {

// The file's lines, bytes kept exactly (the samples are not UTF-8).
std::vector<std::string> readLines(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file.good()) << path;
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find('\n', start);
        const std::size_t stop = end == std::string::npos ? bytes.size() : end;
        lines.push_back(bytes.substr(start, stop - start));
        start = stop + 1;
    }
    return lines;
}

// Token 2 of a report: the text between its first and second blank.
std::string_view secondToken(std::string_view report) {
    const std::size_t first = report.find(' ');
    if (first == std::string_view::npos) return {};
    const std::string_view rest = report.substr(first + 1);
    return rest.substr(0, rest.find(' '));
}

TEST(DecodeMetarSamples, EveryRealReportDecodesOrFaultsCleanly) {
    struct Case {
        const char* file;
        std::size_t lineCount;
    };
    const std::vector<Case> cases = {{"samples.txt", 400}, {"odd.txt", 1500}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::vector<std::string> lines = readLines(std::string(METAR_TEST_DATA_DIR) + "/" + c.file);
        ASSERT_EQ(lines.size(), c.lineCount);
        for (std::size_t k = 0; k < lines.size(); ++k) {
            MetarReport report;
            MetarDecodeResult result;
            ASSERT_NO_THROW(result = decodeMetar(lines[k], report)) << "line " << k + 1;
            if (result.faulted) {
                EXPECT_EQ(report.datetime, "PARSE ERROR") << "line " << k + 1;
                EXPECT_EQ(result.txtMETARstr, kParseErrorReportText) << "line " << k + 1;
            } else {
                EXPECT_EQ(report.datetime, secondToken(lines[k])) << "line " << k + 1;
            }
        }
    }
}

TEST(DecodeMetarSamples, EveryCutShortReportDecodesOrFaultsCleanly) {
    const std::vector<std::string_view> reports = {
        "KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002 RMK AO2",
        "EDDF 061750Z 24008MPS 9999 -RA BKN015 OVC030 12/10 Q1008 NOSIG",
        "CYVM 272222Z AUTO 00000KT 1 1/2SM -SN OVC017 M20/M22 A2942 RMK SLP966",
    };
    for (const std::string_view full : reports) {
        for (std::size_t length = 0; length <= full.size(); ++length) {
            const std::string_view cut = full.substr(0, length);
            MetarReport report;
            MetarDecodeResult result;
            ASSERT_NO_THROW(result = decodeMetar(cut, report)) << cut;
            EXPECT_EQ(report.datetime, result.faulted ? "PARSE ERROR" : secondToken(cut)) << cut;
        }
    }
}

}  // namespace
}  // namespace stratocue::metar
