#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "common/ansi_text.h"
#include "tools/decode_commands.h"

namespace stratocue::tools {
namespace {

using Json = nlohmann::json;

// The output text cut into its lines (each ended by a line feed).
std::vector<std::string> outputLines(std::string_view output) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < output.size()) {
        const std::size_t end = output.find('\n', start);
        EXPECT_NE(end, std::string_view::npos) << "output does not end with a line feed";
        if (end == std::string_view::npos) break;
        lines.emplace_back(output.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

struct JsonLineCase {
    const char* name;
    std::string report;
    std::string expectedLine;
};

// The worked San Francisco report, decoded.
const std::string kSfoLine =
    R"({"datetime":"061756Z","winddir":"280","windspeed":"12","gusting":"20","vis":"10","ptype":"0",)"
    R"("pint":"0","temp":"17","dewpoint":"09","tsdensity":"0","c1density":"NONE","c1base":"0",)"
    R"("c2density":"FEW","c2base":"010","c3density":"SCT","c3base":"250","alt":"1016",)"
    R"("txtMETARstr":"KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002"})";

TEST(MetarJsonLine, WritesTheFieldsInRecordOrder) {
    const std::vector<JsonLineCase> cases{
        {"WorkedSanFranciscoReport", "KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002 RMK AO2", kSfoLine},
        // The data API's lines name the report type before the station.
        {"DataApiMetarTypeDropped", "METAR KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002 RMK AO2", kSfoLine},
        {"DataApiSpeciTypeDropped", "SPECI KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002 RMK AO2", kSfoLine},
        // The fault comes after the wind step: a fresh record keeps "." in the later fields.
        {"FaultLeavesUnwrittenFieldsAtTheirStart", "KSFO 061756Z 28012G20KT 1/0SM",
         R"({"datetime":"PARSE ERROR","winddir":"280","windspeed":"12","gusting":"20","vis":".","ptype":".",)"
         R"("pint":".","temp":".","dewpoint":".","tsdensity":".","c1density":".","c1base":".",)"
         R"("c2density":".","c2base":".","c3density":".","c3base":".","alt":".",)"
         R"("txtMETARstr":"PARSEERROR 000000Z 00000KT SCT020 BKN050 5SM 15/10 A2992"})"},
        {"EmptyReportIsAFault", "",
         R"({"datetime":"PARSE ERROR","winddir":"","windspeed":".","gusting":".","vis":".","ptype":".",)"
         R"("pint":".","temp":".","dewpoint":".","tsdensity":".","c1density":".","c1base":".",)"
         R"("c2density":".","c2base":".","c3density":".","c3base":".","alt":".",)"
         R"("txtMETARstr":"PARSEERROR 000000Z 00000KT SCT020 BKN050 5SM 15/10 A2992"})"},
    };
    for (const JsonLineCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(metarJsonLine(c.report), c.expectedLine);
    }
}

struct ByteCase {
    const char* name;
    std::string report;
    std::string expectedDatetime;
    std::string expectedReportText;
    std::string expectedUtf8;  // a piece the output must hold
};

TEST(MetarJsonLine, EveryByteRoundTrips) {
    const std::vector<ByteCase> cases{
        {"LowQuoteAndEAcute", "KSFO 06\x82\xE9Z 28012KT", "06\x82\xE9Z", "KSFO 06\x82\xE9Z 28012KT",
         "06\xC2\x82\xC3\xA9Z"},
        {"HighestByte", "KSFO \xFF 28012KT", "\xFF", "KSFO \xFF 28012KT", "\xC3\xBF"},
        {"ControlCharacterIsEscaped", "KSFO 06\x01Z 28012KT", "06\x01Z", "KSFO 06\x01Z 28012KT", "06\\u0001Z"},
        {"ZeroByte", std::string("KSFO 06\0Z 28012KT", 17), std::string("06\0Z", 4),
         std::string("KSFO 06\0Z 28012KT", 17), "06\\u0000Z"},
    };
    for (const ByteCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string line = metarJsonLine(c.report);
        EXPECT_NE(line.find(c.expectedUtf8), std::string::npos) << line;
        const Json parsed = Json::parse(line);
        EXPECT_EQ(ansiFromUtf8(parsed.at("datetime").get<std::string>()), c.expectedDatetime);
        EXPECT_EQ(ansiFromUtf8(parsed.at("txtMETARstr").get<std::string>()), c.expectedReportText);
        EXPECT_EQ(parsed.at("winddir"), "280");
    }
}

struct LinesCase {
    const char* name;
    std::string input;
    std::vector<std::string_view> expectedLines;
};

TEST(ReportLines, LinesEndAtLineFeedsOnly) {
    const std::vector<LinesCase> cases{
        {"EmptyInputHasNoReport", "", {}},
        {"LastLineWithoutLineFeed", "A B", {"A B"}},
        {"FinalLineFeedAddsNoReport", "A B\n", {"A B"}},
        {"SeveralLines", "A\nB\nC", {"A", "B", "C"}},
        {"EmptyLineInBetweenIsAReport", "A\n\nB\n", {"A", "", "B"}},
        {"LoneLineFeedIsOneEmptyReport", "\n", {""}},
        {"CarriageReturnStaysInTheReport", "A\r\nB\r\n", {"A\r", "B\r"}},
        {"LoneCarriageReturnDoesNotEndALine", "A\rB\n", {"A\rB"}},
    };
    for (const LinesCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(reportLines(c.input), c.expectedLines);
    }
}

TEST(DecodeMetarReports, OneLinePerReport) {
    const std::vector<std::string> reports{
        "KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002 RMK AO2",
        "EDDF 061750Z 24008MPS 9999 -RA BKN015 OVC030 12/10 Q1008 NOSIG",
        "KXYZ 061756Z AUTO 00000KT 10SM CLR 20/15 A2992",
        "KSFO 061756Z 28012G20KT 1/0SM",
    };
    std::string input;
    for (const std::string& report : reports) input += report + "\n";

    const CommandResult result = decodeMetarReports(reportLines(input));
    EXPECT_EQ(result.exitCode, kExitSuccess);
    EXPECT_EQ(result.standardError, "");
    const std::vector<std::string> lines = outputLines(result.standardOutput);
    ASSERT_EQ(lines.size(), reports.size());
    for (std::size_t i = 0; i < reports.size(); ++i) EXPECT_EQ(lines[i], metarJsonLine(reports[i])) << "line " << i;
    EXPECT_EQ(Json::parse(lines[1]).at("alt"), "1008");
    EXPECT_EQ(Json::parse(lines[2]).at("winddir"), "000");
    EXPECT_EQ(Json::parse(lines[3]).at("datetime"), "PARSE ERROR");
}

struct CarriageReturnCase {
    const char* name;
    std::string input;
    std::string expectedAlt;
    std::string expectedReportText;
};

TEST(DecodeMetarReports, CarriageReturnIsPartOfTheReport) {
    const std::vector<CarriageReturnCase> cases{
        // "A3002\r" is six characters long, so it is no altimeter group.
        {"CarriageReturnAfterTheAltimeter", "KSFO 061756Z 28012KT 10SM 17/09 A3002\r\n", "1013",
         "KSFO 061756Z 28012KT 10SM 17/09 A3002 "},
        {"CarriageReturnInTheRemarks", "KSFO 061756Z 28012KT 10SM 17/09 A3002 RMK\r\n", "1016",
         "KSFO 061756Z 28012KT 10SM 17/09 A3002"},
    };
    for (const CarriageReturnCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::string> lines = outputLines(decodeMetarReports(reportLines(c.input)).standardOutput);
        ASSERT_EQ(lines.size(), 1u);
        const Json parsed = Json::parse(lines[0]);
        EXPECT_EQ(parsed.at("alt"), c.expectedAlt);
        EXPECT_EQ(parsed.at("txtMETARstr"), c.expectedReportText);
    }
}

}  // namespace
}  // namespace stratocue::tools
