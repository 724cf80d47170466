// The FD bulletin sources: the seven addresses each one asks, in order, and how an answer
// becomes the station table the classic page cut gives, or a failure; and which source
// servers.txt chooses.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fd_test_pages.h"
#include "fd_windtemp_texts.h"
#include "fdwinds/classic_fd_pages.h"
#include "fdwinds/data_api_windtemp.h"
#include "fdwinds/fd_decoder.h"
#include "fdwinds/fd_sources.h"
#include "web/server_addresses.h"
#include "web/web_answer.h"

namespace stratocue::fdwinds {
namespace {

using testing_pages::kDataFolder;
using testing_pages::kFullLine;
using testing_pages::kHeaderLine;
using testing_pages::pageOf;
using testing_pages::readFile;
using testing_pages::windTempTextOfPage;
using testing_pages::withCrLf;

const std::vector<std::string> kRegionPageFiles{"sfo_fd1.shtml",     "slc_fd1.shtml",    "chicago_fd1.shtml",
                                                "ftworth_fd1.shtml", "boston_fd1.shtml", "miami_fd1.shtml",
                                                "alaska_fd1.shtml"};

TEST(FdSourceUrls, DataApiAsksTheSevenRegionsInPageOrder) {
    const FdBulletinUrls expected{
        "https://aviationweather.gov/api/data/windtemp?region=sfo&level=low&fcst=06",
        "https://aviationweather.gov/api/data/windtemp?region=slc&level=low&fcst=06",
        "https://aviationweather.gov/api/data/windtemp?region=chi&level=low&fcst=06",
        "https://aviationweather.gov/api/data/windtemp?region=dfw&level=low&fcst=06",
        "https://aviationweather.gov/api/data/windtemp?region=bos&level=low&fcst=06",
        "https://aviationweather.gov/api/data/windtemp?region=mia&level=low&fcst=06",
        "https://aviationweather.gov/api/data/windtemp?region=alaska&level=low&fcst=06",
    };
    EXPECT_EQ(DataApiWindTemp("https://aviationweather.gov").bulletinUrls(), expected);
}

TEST(FdSourceUrls, ClassicPagesAskTheSevenPagesInOrder) {
    const FdBulletinUrls expected{
        "http://fd.test/fdwinds/text/sfo_fd1.shtml",     "http://fd.test/fdwinds/text/slc_fd1.shtml",
        "http://fd.test/fdwinds/text/chicago_fd1.shtml", "http://fd.test/fdwinds/text/ftworth_fd1.shtml",
        "http://fd.test/fdwinds/text/boston_fd1.shtml",  "http://fd.test/fdwinds/text/miami_fd1.shtml",
        "http://fd.test/fdwinds/text/alaska_fd1.shtml",
    };
    EXPECT_EQ(ClassicFdPages("http://fd.test").bulletinUrls(), expected);
}

// Every regional page of one issue, as a page and as the data API's text, gives the same
// station table.
TEST(WindTempCut, GivesTheTableTheClassicCutGivesForEveryRegion) {
    for (const std::string& file : kRegionPageFiles) {
        SCOPED_TRACE(file);
        const std::string page = readFile(kDataFolder / "pages-171357" / file);
        const std::string text = windTempTextOfPage(page);
        ASSERT_TRUE(text.starts_with("(Extracted from FB")) << text.substr(0, 40);
        EXPECT_EQ(FD_CutWindTempText(text), FD_CutBulletin(page));
        EXPECT_EQ(FD_CutWindTempText(withCrLf(text)), FD_CutBulletin(page));
    }
}

struct WindTempCase {
    const char* name;
    std::vector<std::string> stationLines;
};

TEST(WindTempCut, MissingLevelsAndLineEndsAsOnAPage) {
    const std::string levels9To39 = "2915-10 3020-15 3125-25 3230-35 333545 344050 354555";
    const std::vector<WindTempCase> cases{
        {"FullLine", {std::string(kFullLine)}},
        {"Blank3K", {"ABC      2812-05 " + levels9To39}},
        {"Blank3KAnd6K", {"ABC              " + levels9To39}},
        {"Blank3KAndTemperatureless6K", {"AMA      2932    " + levels9To39}},
        {"SeveralLines", {std::string(kFullLine), "DEF              " + levels9To39, "GHI 9900 " + levels9To39}},
        {"TrailingBlanksOfALine", {std::string(kFullLine) + "   "}},
    };
    for (const WindTempCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string page = pageOf(c.stationLines);
        const std::string text = windTempTextOfPage(page);
        EXPECT_EQ(FD_CutWindTempText(text), FD_CutBulletin(page));
        EXPECT_EQ(FD_CutWindTempText(withCrLf(text)), FD_CutBulletin(page));
        // A text without a line end after its last row reads the same.
        EXPECT_EQ(FD_CutWindTempText(text.substr(0, text.size() - 1)), FD_CutBulletin(page));
    }
}

enum class Outcome { Table, Failure };

struct AnswerCase {
    const char* name;
    WebAnswer answer;
    Outcome outcome;
    std::string table;  // for Outcome::Table
};

const std::string kHeader = std::string(kHeaderLine) + "\n";

TEST(DataApiWindTempAnswers, BulletinGivesItsTableEverythingElseFails) {
    const std::string text = "(Extracted from FBUS31 KWNO 071359)\nFD1US1\n" + kHeader + std::string(kFullLine) + "\n";
    const std::vector<AnswerCase> cases{
        {"Bulletin", {200, text}, Outcome::Table, std::string(kFullLine)},
        {"HeaderWithAnEmptyLineAfterIt", {200, kHeader + "\n"}, Outcome::Table, ""},
        {"EmptyBody", {200, ""}, Outcome::Failure, ""},
        {"NoContent", {204, ""}, Outcome::Failure, ""},
        {"NotFound", {404, text}, Outcome::Failure, ""},
        {"ServerError", {500, text}, Outcome::Failure, ""},
        {"TextWithoutHeader", {200, "No data for region xyz\n"}, Outcome::Failure, ""},
        {"HeaderWithoutRows", {200, "FD1US1\n" + kHeader}, Outcome::Failure, ""},
        {"HeaderAtTheVeryEnd", {200, "FD1US1\n" + std::string(kHeaderLine)}, Outcome::Failure, ""},
    };
    const DataApiWindTemp source("http://h");
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.outcome == Outcome::Table) {
            EXPECT_EQ(source.stationTableFromAnswer(c.answer), c.table);
        } else {
            EXPECT_ANY_THROW(static_cast<void>(source.stationTableFromAnswer(c.answer)));
        }
    }
}

TEST(ClassicFdAnswers, ErrorStatusAndEmptyPageFailOtherPagesAreCut) {
    const std::string page = pageOf({std::string(kFullLine)});
    const ClassicFdPages source("http://h");
    EXPECT_EQ(source.stationTableFromAnswer({200, page}), std::string(kFullLine));
    EXPECT_THROW(static_cast<void>(source.stationTableFromAnswer({200, ""})), WebAnswerError);
    EXPECT_THROW(static_cast<void>(source.stationTableFromAnswer({404, page})), WebAnswerError);
    EXPECT_THROW(static_cast<void>(source.stationTableFromAnswer({500, page})), WebAnswerError);
    EXPECT_THROW(static_cast<void>(source.stationTableFromAnswer({200, "<html>no table</html>"})), FdFormatError);
}

struct ChoiceCase {
    const char* name;
    std::string serversText;
    std::string expectedFirstUrl;
};

TEST(FdSourceChoice, ClassicKeySwitchesToThePagesTheDataApiOtherwise) {
    const std::vector<ChoiceCase> cases{
        {"Default", "", "https://aviationweather.gov/api/data/windtemp?region=sfo&level=low&fcst=06"},
        {"AwcApiElsewhere", "awc_api=http://127.0.0.1:9001/",
         "http://127.0.0.1:9001/api/data/windtemp?region=sfo&level=low&fcst=06"},
        {"ClassicKey", "fdwinds=http://f", "http://f/fdwinds/text/sfo_fd1.shtml"},
        {"ClassicKeyWinsOverTheApiKey", "fdwinds=http://f\nawc_api=http://a", "http://f/fdwinds/text/sfo_fd1.shtml"},
        {"MetarKeysLeaveTheWinds", "metar_nws=http://n\nmetar_vatsim=http://v\nvatsim_api=http://x",
         "https://aviationweather.gov/api/data/windtemp?region=sfo&level=low&fcst=06"},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(chooseFdSource(parseServerAddresses(c.serversText))->bulletinUrls().front(), c.expectedFirstUrl);
    }
}

}  // namespace
}  // namespace stratocue::fdwinds
