#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/support/temp_folder.h"
#include "tools/command_line.h"
#include "tools/decode_commands.h"

namespace stratocue::tools {
namespace {

using Json = nlohmann::json;

const std::filesystem::path kPagesFolder = std::filesystem::path(TOOLS_FDWINDS_DATA_DIR) / "pages-171357";
const std::string kSfoPage = (kPagesFolder / "sfo_fd1.shtml").string();
const std::string kSlcPage = (kPagesFolder / "slc_fd1.shtml").string();

// Standard input that fails the test when the tool reads it.
std::string unexpectedInput() {
    ADD_FAILURE() << "standard input read";
    return {};
}

struct UsageCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string expectedReason;
};

TEST(RunDecodeTool, WrongCommandLinesShowTheUsage) {
    const std::vector<UsageCase> cases{
        {"NoCommand", {}, "missing command"},
        {"UnknownCommand", {"taf", "KSFO"}, "unknown command taf"},
        {"FdWithoutPages", {"fd"}, "fd needs at least one PAGE_FILE"},
        {"FdWithOnlyATemperature", {"fd", "--temp", "15"}, "fd needs at least one PAGE_FILE"},
        {"TemperatureWithoutValue", {"fd", kSfoPage, "--temp"}, "--temp needs a value"},
        {"UnknownOption", {"fd", "--tmp", "15", kSfoPage}, "unknown option --tmp"},
        {"IdsWithoutAList", {"metar", "--ids"}, "--ids needs one comma-separated list of IDs"},
        {"GfsWithoutAnswer", {"gfs", "--hour", "2026-12-08T12:00"}, "gfs needs one ANSWER_FILE"},
        {"GfsHourWithoutValue", {"gfs", kSfoPage, "--hour"}, "--hour needs a value"},
    };
    for (const UsageCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandResult result = runDecodeTool(c.arguments, unexpectedInput);
        EXPECT_EQ(result.exitCode, kExitUsage);
        EXPECT_EQ(result.standardOutput, "");
        EXPECT_EQ(result.standardError, "stratocue-decode: " + c.expectedReason + "\n" + std::string(kUsageText));
    }
}

TEST(RunDecodeTool, HelpGoesToStandardOutput) {
    const CommandResult result = runDecodeTool({"--help"}, unexpectedInput);
    EXPECT_EQ(result, (CommandResult{std::string(kUsageText), "", kExitSuccess}));
}

struct MetarSourceCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string standardInput;
    int expectedReads;
    std::vector<std::string_view> expectedReports;
};

TEST(RunDecodeTool, MetarReportsComeFromArgumentsOrStandardInput) {
    const std::string sfo = "KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002 RMK AO2";
    const std::string eddf = "EDDF 061750Z 24008MPS 9999 -RA BKN015 OVC030 12/10 Q1008 NOSIG";
    const std::vector<MetarSourceCase> cases{
        {"Arguments", {"metar", sfo, eddf}, "ignored\n", 0, {sfo, eddf}},
        {"StandardInput", {"metar"}, sfo + "\n" + eddf + "\n", 1, {sfo, eddf}},
        {"EmptyStandardInput", {"metar"}, "", 1, {}},
        {"OptionLookingReportIsAReport", {"metar", "--temp"}, "", 0, {"--temp"}},
    };
    for (const MetarSourceCase& c : cases) {
        SCOPED_TRACE(c.name);
        int reads = 0;
        const CommandResult result = runDecodeTool(c.arguments, [&] {
            ++reads;
            return c.standardInput;
        });
        EXPECT_EQ(reads, c.expectedReads);
        EXPECT_EQ(result, decodeMetarReports(c.expectedReports));
    }
}

TEST(RunDecodeTool, MetarIdsPickTheReportTheProgramWouldApply) {
    const std::string answer =
        "METAR KOAK 081153Z 29010KT 10SM SCT015 15/10 A3000\r\n"
        "SPECI KSQL 081010Z 30004KT 9SM A3000\r\n"
        "METAR KSQL 081153Z 30006KT 10SM FEW012 16/09 A3001\r\n";
    const struct {
        const char* name;
        std::string ids;
        std::string expectedReport;  // empty: none of them has one
    } cases[] = {
        {"SilentFirstNeighbourNewest", "KHAF,KSQL,KOAK", "KSQL 081153Z 30006KT 10SM FEW012 16/09 A3001"},
        {"NearestFirst", "KOAK,KSQL", "KOAK 081153Z 29010KT 10SM SCT015 15/10 A3000"},
        {"NoneReports", "KHAF,KSFO", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandResult result = runDecodeTool({"metar", "--ids", c.ids}, [&] { return answer; });
        if (c.expectedReport.empty()) {
            EXPECT_EQ(result, failureResult("no report for " + c.ids));
        } else {
            EXPECT_EQ(result, decodeMetarReports({c.expectedReport}));
        }
    }
}

struct FdArgumentsCase {
    const char* name;
    std::vector<std::string> arguments;
    std::vector<std::string> expectedFiles;
    std::string expectedSurfaceTemp;
};

TEST(RunDecodeTool, FdReadsThePageFilesInOrder) {
    const std::vector<FdArgumentsCase> cases{
        {"DefaultTemperature", {"fd", kSfoPage, kSlcPage}, {kSfoPage, kSlcPage}, "."},
        {"TemperatureBeforeThePages", {"fd", "--temp", "-05", kSfoPage}, {kSfoPage}, "-05"},
        {"TemperatureAfterThePages", {"fd", kSlcPage, kSfoPage, "--temp", "12"}, {kSlcPage, kSfoPage}, "12"},
        {"TemperatureWithEqualsSign", {"fd", "--temp=-05", kSfoPage}, {kSfoPage}, "-05"},
        {"LastTemperatureWins", {"fd", "--temp", "3", "--temp", "4", kSfoPage}, {kSfoPage}, "4"},
        {"DoubleDashEndsTheOptions", {"fd", "--", kSfoPage}, {kSfoPage}, "."},
    };
    for (const FdArgumentsCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<FdPage> pages;
        for (const std::string& file : c.expectedFiles) pages.push_back({file, *readFileBytes(file)});
        const CommandResult result = runDecodeTool(c.arguments, unexpectedInput);
        EXPECT_EQ(result.exitCode, kExitSuccess);
        EXPECT_EQ(result, decodeFdPages(pages, c.expectedSurfaceTemp));
    }
}

struct UnreadableCase {
    const char* name;
    std::string file;
};

TEST(RunDecodeTool, UnreadablePageFileIsAnError) {
    const test_support::TempFolder folder;  // empty: the page file is not there
    const std::string missing = folder.file("no-such-page.shtml").string();
    const std::vector<UnreadableCase> cases{
        {"MissingFile", missing},
        {"Folder", kPagesFolder.string()},
    };
    for (const UnreadableCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(readFileBytes(c.file).has_value());
        const CommandResult result = runDecodeTool({"fd", kSfoPage, c.file}, unexpectedInput);
        EXPECT_EQ(result.exitCode, kExitFailure);
        EXPECT_EQ(result.standardError, "");
        EXPECT_EQ(Json::parse(result.standardOutput), Json({{"error", "cannot read " + c.file}}));
    }
}

}  // namespace
}  // namespace stratocue::tools
