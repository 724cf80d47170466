#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "gfs_answers.h"
#include "tools/decode_commands.h"

namespace stratocue::tools {
namespace {

using Json = nlohmann::json;

const std::filesystem::path kPagesFolder = std::filesystem::path(TOOLS_FDWINDS_DATA_DIR) / "pages-171357";

// The seven regional pages of one bulletin issue, in the order they are fetched.
constexpr std::array<std::string_view, 7> kRegionPageFiles{"sfo_fd1.shtml",     "slc_fd1.shtml",    "chicago_fd1.shtml",
                                                           "ftworth_fd1.shtml", "boston_fd1.shtml", "miami_fd1.shtml",
                                                           "alaska_fd1.shtml"};
constexpr std::array<std::string_view, 9> kLevelNames{"3K", "6K", "9K", "12K", "18K", "24K", "30K", "34K", "39K"};

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) ADD_FAILURE() << "cannot open " << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<FdPage> regionPages() {
    std::vector<FdPage> pages;
    for (const std::string_view file : kRegionPageFiles) {
        pages.push_back({std::string(file), readFile(kPagesFolder / file)});
    }
    return pages;
}

// Each output line parsed as JSON.
std::vector<Json> outputObjects(std::string_view output) {
    std::vector<Json> objects;
    std::size_t start = 0;
    while (start < output.size()) {
        const std::size_t end = output.find('\n', start);
        if (end == std::string_view::npos) {
            ADD_FAILURE() << "output does not end with a line feed";
            break;
        }
        objects.push_back(Json::parse(output.substr(start, end - start)));
        start = end + 1;
    }
    return objects;
}

// A number as the summary writes it: at least two digits, a minus sign when negative.
std::string twoDigits(int value) {
    const std::string digits = std::to_string(value < 0 ? -value : value);
    return (value < 0 ? "-" : "") + (digits.size() < 2 ? "0" + digits : digits);
}

// The summary text rebuilt from the row's level arrays.
std::string summaryFromLevels(const Json& row) {
    std::string summary = row.at("rowId").get<std::string>();
    for (const std::string_view level : kLevelNames) {
        summary += " " + std::string(level) + ":";
        for (const Json& value : row.at("levels").at(std::string(level))) summary += twoDigits(value.get<int>());
    }
    return summary;
}

TEST(DecodeFdPages, SevenRegionPagesGiveOneObjectPerStationLine) {
    const CommandResult result = decodeFdPages(regionPages(), "7");
    ASSERT_EQ(result.exitCode, kExitSuccess) << result.standardOutput;
    EXPECT_EQ(result.standardError, "");
    const std::vector<Json> rows = outputObjects(result.standardOutput);
    ASSERT_EQ(rows.size(), 212u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i + 1));
        EXPECT_EQ(rows[i].at("row"), i + 1);
        EXPECT_EQ(rows[i].at("rowId").get<std::string>().size(), 3u);
        EXPECT_EQ(rows[i].at("levels").size(), kLevelNames.size());
        EXPECT_EQ(rows[i].at("summary"), summaryFromLevels(rows[i]));
    }
}

// The data API's winds-aloft text of a region: the bulletin of its page, without the page's
// markup.
std::string windTempTextOf(const std::string& page) {
    const std::size_t start = page.find("<PRE>") + std::string_view("<PRE>\n").size();
    return page.substr(start, page.find("</PRE>") - start);
}

struct TextInputCase {
    const char* name;
    bool asTextFrom[kRegionPageFiles.size()];  // which regions come as the data API's text
};

TEST(DecodeFdPages, DataApiTextsGiveTheRowsOfTheirPages) {
    const CommandResult fromPages = decodeFdPages(regionPages(), "7");
    ASSERT_EQ(fromPages.exitCode, kExitSuccess) << fromPages.standardOutput;
    const std::vector<TextInputCase> cases{
        {"AllSevenAsTexts", {true, true, true, true, true, true, true}},
        {"PagesAndTextsMixed", {true, false, true, false, false, true, false}},
    };
    for (const TextInputCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<FdPage> inputs = regionPages();
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            if (c.asTextFrom[i]) inputs[i].text = windTempTextOf(inputs[i].text);
            ASSERT_EQ(inputs[i].text.find('<') == std::string::npos, c.asTextFrom[i]);
        }
        EXPECT_EQ(decodeFdPages(inputs, "7"), fromPages);
    }
}

struct KnownRowCase {
    const char* name;
    std::size_t row;
    std::string rowId;
    std::string summary;
};

TEST(DecodeFdPages, KnownRowsOfTheRegionPages) {
    const std::vector<Json> rows = outputObjects(decodeFdPages(regionPages(), "7").standardOutput);
    ASSERT_EQ(rows.size(), 212u);
    const std::vector<KnownRowCase> cases{
        {"SanFranciscoOnTheFirstPage", 25, "SFO",
         "SFO 3K:321507 6K:261007 9K:251502 12K:2620-03 18K:2838-14 24K:2953-26 30K:296042 34K:297751 39K:308263"},
        {"BishopWithBlank3KAnd6KTemperature", 3, "BIH",
         "BIH 3K:990007 6K:990007 9K:200903 12K:2220-01 18K:2532-16 24K:2845-27 30K:295543 34K:307353 39K:307464"},
        {"FirstRowOfTheSecondPage", 29, "ABQ", ""},
        {"LastRowOfTheLastPage", 212, "5AG", ""},
    };
    for (const KnownRowCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Json& row = rows.at(c.row - 1);
        EXPECT_EQ(row.at("rowId"), c.rowId);
        if (!c.summary.empty()) {
            EXPECT_EQ(row.at("summary"), c.summary);
        }
    }
    EXPECT_EQ(rows.at(24).at("levels").at("12K"), Json::array({26, 20, -3}));
    EXPECT_EQ(rows.at(211).at("levels").at("24K"), Json::array({2, 12, -31}));
}

struct SurfaceTempCase {
    const char* name;
    std::string surfaceTemp;
    int expected4CharTempC;
};

TEST(DecodeFdPages, SurfaceTemperatureFillsFourCharacterFields) {
    const std::vector<SurfaceTempCase> cases{
        {"NoMetarYet", ".", 0},   {"NegativeWithLeadingZero", "-05", -5},
        {"Positive", "17", 17},   {"HalfRoundsToEven", "2.5", 2},
        {"NotANumber", "M05", 0},
    };
    for (const SurfaceTempCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Json> rows = outputObjects(decodeFdPages(regionPages(), c.surfaceTemp).standardOutput);
        ASSERT_EQ(rows.size(), 212u);
        const Json& bishop = rows.at(2);  // blank 3K, 6K without temperature
        ASSERT_EQ(bishop.at("rowId"), "BIH");
        EXPECT_EQ(bishop.at("levels").at("3K"), Json::array({99, 0, c.expected4CharTempC}));
        EXPECT_EQ(bishop.at("levels").at("6K"), Json::array({99, 0, c.expected4CharTempC}));
        EXPECT_EQ(bishop.at("levels").at("9K"), Json::array({20, 9, 3}));
        const Json& sanFrancisco = rows.at(24);
        EXPECT_EQ(sanFrancisco.at("levels").at("3K"), Json::array({32, 15, c.expected4CharTempC}));
        EXPECT_EQ(sanFrancisco.at("levels").at("6K"), Json::array({26, 10, 7}));
        const std::string summaryStart = "SFO 3K:3215" + twoDigits(c.expected4CharTempC) + " 6K:261007 ";
        EXPECT_TRUE(sanFrancisco.at("summary").get<std::string>().starts_with(summaryStart))
            << sanFrancisco.at("summary");
    }
}

struct FailureCase {
    const char* name;
    std::vector<FdPage> pages;
    std::string expectedError;
};

// Three pages holding `tokenCount` one-letter tokens together; one page cannot hold them
// all within its 5000-character window.
std::vector<FdPage> manyTokenPages(std::size_t tokenCount) {
    std::vector<FdPage> pages;
    for (std::size_t part = 0; part < 3; ++part) {
        const std::size_t partTokens = tokenCount / 3 + (part < tokenCount % 3 ? 1 : 0);
        std::string page = "39000\n";
        for (std::size_t i = 0; i < partTokens; ++i) page += (i == 0 ? "X" : " X");
        pages.push_back({"many" + std::to_string(part + 1) + ".shtml", page + "\n</PRE>"});
    }
    return pages;
}

TEST(DecodeFdPages, RefusedInputGivesOneErrorObject) {
    std::vector<FdPage> withBrokenLastPage = regionPages();
    withBrokenLastPage.back().text = readFile(kPagesFolder / "alaska_fd1.shtml").substr(0, 800);
    const std::vector<FailureCase> cases{
        {"PageWithoutPreEnd",
         {{"cut.shtml", "FT 39000\nABC 2710 2812-05\n</BODY>"}},
         "cut.shtml: no \"</PRE>\" within 5000 characters of the station table"},
        {"PreEndAtTheStartOfTheCut",
         {{"first.shtml", "FT 39000\n</PRE>"}},
         "first.shtml: \"</PRE>\" at the first position of the station table"},
        {"OneBrokenPageFailsTheWholeRun", withBrokenLastPage,
         "alaska_fd1.shtml: no \"</PRE>\" within 5000 characters of the station table"},
        {"TooManyTokens", manyTokenPages(3501), "the bulletins hold 3501 tokens, more than 3500"},
        {"TextWithoutHeaderLine",
         {{"sfo.txt", "FD1US1\nDATA BASED ON 061200Z\n"}},
         "sfo.txt: no \"39000\" header line in the winds-aloft text"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandResult result = decodeFdPages(c.pages, ".");
        EXPECT_EQ(result.exitCode, kExitFailure);
        EXPECT_EQ(result.standardError, "");
        const std::vector<Json> objects = outputObjects(result.standardOutput);
        ASSERT_EQ(objects.size(), 1u);
        EXPECT_EQ(objects[0], Json({{"error", c.expectedError}}));
    }
}

TEST(DecodeFdPages, MostTokensStillDecode) {
    const CommandResult result = decodeFdPages(manyTokenPages(3500), ".");
    EXPECT_EQ(result.exitCode, kExitSuccess);
    EXPECT_EQ(outputObjects(result.standardOutput).size(), 350u);
}

// A saved answer of the forecast model gives the row of the hour asked for, or an error.
TEST(DecodeGfsAnswer, TheRowOfTheHourAsJson) {
    using namespace fdwinds::testing_gfs;
    const std::string answer =
        gfsAnswer({"2026-12-08T11:00", "2026-12-08T12:00"}, {allLevels({1, 1, 1}), distinctLevels()}).dump();

    const CommandResult row = decodeGfsAnswer(answer, "2026-12-08T12:00");
    EXPECT_EQ(row.exitCode, kExitSuccess);
    const Json object = Json::parse(row.standardOutput);
    EXPECT_EQ(object["rowId"], "GFS");
    EXPECT_EQ(object["levels"]["3K"], Json::array({10, 10, 5}));
    EXPECT_EQ(object["levels"]["39K"], Json::array({18, 18, 75}));
    EXPECT_EQ(object["summary"].get<std::string>().substr(0, 14), "GFS 3K:101005 ");

    const CommandResult missing = decodeGfsAnswer(answer, "2026-12-08T13:00");
    EXPECT_EQ(missing.exitCode, kExitFailure);
    EXPECT_TRUE(Json::parse(missing.standardOutput).contains("error"));
}

}  // namespace
}  // namespace stratocue::tools
