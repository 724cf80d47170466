// The METAR report sources: the address each one asks and how its answer becomes the report
// text, the "not found" answer or a failure; and which source servers.txt chooses.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "metar/classic_metar_pages.h"
#include "metar/data_api_metar_service.h"
#include "metar/metar_services.h"
#include "metar/metar_source_choice.h"
#include "metar/vatsim_metar_service.h"
#include "web/server_addresses.h"
#include "web/web_answer.h"

namespace stratocue::metar {
namespace {

constexpr const char* kReport = "KSFO 071756Z 28012KT 10SM FEW010 17/09 A3002 RMK AO2";

struct UrlCase {
    const char* name;
    std::shared_ptr<const MetarReportSource> source;
    std::string stationId;
    std::string expectedUrl;
};

TEST(MetarSourceUrls, EachSourceAsksItsOwnAddress) {
    const std::vector<UrlCase> cases{
        {"VatsimServiceUpperCases", std::make_shared<VatsimMetarService>("https://metar.vatsim.net"), "ksfo",
         "https://metar.vatsim.net/KSFO"},
        {"DataApiSendsTheIdAsGiven", std::make_shared<DataApiMetarService>("https://aviationweather.gov"), "ksfo",
         "https://aviationweather.gov/api/data/metar?ids=ksfo&format=raw&hours=3"},
        {"DataApiAtAnotherHost", std::make_shared<DataApiMetarService>("http://127.0.0.1:8080"), "KSFO",
         "http://127.0.0.1:8080/api/data/metar?ids=KSFO&format=raw&hours=3"},
        {"VatsimServiceEncodesABlank", std::make_shared<VatsimMetarService>("http://h"), "k fo", "http://h/K%20FO"},
        {"DataApiEncodesAHash", std::make_shared<DataApiMetarService>("http://h"), "K#FO",
         "http://h/api/data/metar?ids=K%23FO&format=raw&hours=3"},
        {"DataApiAsksSeveralStationsInOneRequest", std::make_shared<DataApiMetarService>("http://h"), "KHAF,KSFO",
         "http://h/api/data/metar?ids=KHAF,KSFO&format=raw&hours=3"},
        {"ClassicVatsimPage", std::make_shared<ClassicMetarPages>("http://v", MetarSource::Vatsim), "ksfo",
         "http://v/search_metar.html?cod=KSFO"},
        {"ClassicWeatherServicePage", std::make_shared<ClassicMetarPages>("http://n", MetarSource::WeatherService),
         "ksfo", "http://n/cgi-bin/mgetmetar.pl?cccc=ksfo"},
    };
    for (const UrlCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.source->requestUrl(c.stationId), c.expectedUrl);
    }
}

enum class Outcome { Report, NotFound, Failure };

struct AnswerCase {
    const char* name;
    WebAnswer answer;
    std::string stationId;
    Outcome outcome;
    std::string report;  // for Outcome::Report
};

const std::vector<AnswerCase>& serviceAnswerCases() {
    static const std::vector<AnswerCase> cases{
        {"OneReport", {200, std::string(kReport) + "\n"}, "KSFO", Outcome::Report, kReport},
        {"NoLineEndAtAll", {200, kReport}, "KSFO", Outcome::Report, kReport},
        {"CrLfLineEnd", {200, std::string(kReport) + "\r\n"}, "KSFO", Outcome::Report, kReport},
        {"MetarPrefix", {200, "METAR " + std::string(kReport) + "\n"}, "KSFO", Outcome::Report, kReport},
        {"SpeciPrefix", {200, "SPECI " + std::string(kReport) + "\n"}, "KSFO", Outcome::Report, kReport},
        {"LowerCaseIdFindsTheReport", {200, std::string(kReport) + "\n"}, "ksfo", Outcome::Report, kReport},
        {"SecondOfSeveralLines",
         {200, "KOAK 071753Z 30008KT 8SM BKN030 14/11 A2996\r\n" + std::string(kReport) + "\r\nKSJC 071753Z\r\n"},
         "KSFO",
         Outcome::Report,
         kReport},
        {"FirstOfTwoLinesForTheStation",
         {200, std::string(kReport) + "\nKSFO 071656Z 27010KT 10SM CLR 16/08 A3001\n"},
         "KSFO",
         Outcome::Report,
         kReport},
        {"NewestOfSeveralForTheStation",
         {200, "METAR KSFO 071656Z 27010KT A3001\nSPECI " + std::string(kReport) + "\nKSFO 071556Z 27011KT A3000\n"},
         "KSFO",
         Outcome::Report,
         kReport},
        {"FirstOfTheMonthIsNewerThanTheLastDay",
         {200, "KSFO 312356Z 27010KT A3001\nKSFO 010056Z 27011KT A3000\n"},
         "KSFO",
         Outcome::Report,
         "KSFO 010056Z 27011KT A3000"},
        {"StationAmongOthersOfAMultiStationAnswer",
         {200, "METAR KOAK 071753Z 30008KT A2996\nMETAR " + std::string(kReport) + "\nMETAR KSJC 071753Z A2999\n"},
         "KSFO",
         Outcome::Report,
         kReport},
        {"ReportLineWithTrailingBlankKept",
         {200, "KSFO 071756Z A3002 \n"},
         "KSFO",
         Outcome::Report,
         "KSFO 071756Z A3002 "},
        {"EmptyBody", {200, ""}, "KSFO", Outcome::NotFound, ""},
        {"NoContent", {204, ""}, "KSFO", Outcome::NotFound, ""},
        {"NoContentWithABody", {204, std::string(kReport)}, "KSFO", Outcome::NotFound, ""},
        {"OnlyAnotherStation", {200, "KOAK 071753Z 30008KT A2996\n"}, "KSFO", Outcome::NotFound, ""},
        {"LongerIdentifierIsAnotherStation", {200, "KSFOX 071753Z 30008KT A2996\n"}, "KSFO", Outcome::NotFound, ""},
        {"IdentifierNotAtTheStart", {200, "No METAR for KSFO\n"}, "KSFO", Outcome::NotFound, ""},
        {"HtmlPageIsNoReport", {200, "<html><body>KSFO not found</body></html>"}, "KSFO", Outcome::NotFound, ""},
        {"OnlyBlankLines", {200, "\n\r\n\n"}, "KSFO", Outcome::NotFound, ""},
        {"NotFoundStatusIsAFailure", {404, "Not Found"}, "KSFO", Outcome::Failure, ""},
        {"BadRequestIsAFailure", {400, "Invalid id"}, "KSFO", Outcome::Failure, ""},
        {"ServerErrorIsAFailure", {500, std::string(kReport)}, "KSFO", Outcome::Failure, ""},
        {"UnfollowedRedirectIsAFailure", {301, ""}, "KSFO", Outcome::Failure, ""},
    };
    return cases;
}

void expectAnswers(const MetarReportSource& source, const std::vector<AnswerCase>& cases) {
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.name);
        switch (c.outcome) {
            case Outcome::Report: {
                const std::optional<std::string> report = source.reportFromAnswer(c.answer, c.stationId);
                ASSERT_TRUE(report.has_value());
                EXPECT_EQ(*report, c.report);
                break;
            }
            case Outcome::NotFound:
                EXPECT_EQ(source.reportFromAnswer(c.answer, c.stationId), std::nullopt);
                break;
            case Outcome::Failure:
                EXPECT_THROW(static_cast<void>(source.reportFromAnswer(c.answer, c.stationId)), WebAnswerError);
                break;
        }
    }
}

TEST(MetarServiceAnswers, VatsimServiceFindsTheStationLine) {
    expectAnswers(VatsimMetarService("http://h"), serviceAnswerCases());
}

TEST(MetarServiceAnswers, DataApiFindsTheStationLine) {
    expectAnswers(DataApiMetarService("http://h"), serviceAnswerCases());
}

TEST(ClassicMetarAnswers, ErrorStatusAndEmptyPageAreFailuresOtherPagesAreCut) {
    const std::string page = std::string(100, '.') + "<td>" + kReport + "\r\n</td>";
    const ClassicMetarPages source("http://v", MetarSource::Vatsim);
    expectAnswers(source, {
                              {"PageWithTheReport", {200, page}, "KSFO", Outcome::Report, kReport},
                              {"PageWithoutTheReport", {200, "<p>No METAR found</p>"}, "KSFO", Outcome::NotFound, ""},
                              {"NoContentWithThePageIsCut", {204, page}, "KSFO", Outcome::Report, kReport},
                              {"EmptyPage", {200, ""}, "KSFO", Outcome::Failure, ""},
                              {"NotFoundStatus", {404, page}, "KSFO", Outcome::Failure, ""},
                              {"ServerError", {500, page}, "KSFO", Outcome::Failure, ""},
                          });
}

struct ChoiceCase {
    const char* name;
    std::string serversText;
    MetarSource selected;
    std::string expectedUrl;  // of station KSFO
};

TEST(MetarSourceChoice, ClassicKeysSwitchToThePageLayoutTodaysServicesOtherwise) {
    const std::vector<ChoiceCase> cases{
        {"DefaultVatsim", "", MetarSource::Vatsim, "https://metar.vatsim.net/KSFO"},
        {"DefaultDataApi", "", MetarSource::WeatherService,
         "https://aviationweather.gov/api/data/metar?ids=KSFO&format=raw&hours=3"},
        {"VatsimApiElsewhere", "vatsim_api=http://127.0.0.1:9000/", MetarSource::Vatsim, "http://127.0.0.1:9000/KSFO"},
        {"AwcApiElsewhere", "awc_api=http://127.0.0.1:9001", MetarSource::WeatherService,
         "http://127.0.0.1:9001/api/data/metar?ids=KSFO&format=raw&hours=3"},
        {"ClassicVatsimKey", "metar_vatsim=http://v", MetarSource::Vatsim, "http://v/search_metar.html?cod=KSFO"},
        {"ClassicWeatherServiceKey", "metar_nws=http://n", MetarSource::WeatherService,
         "http://n/cgi-bin/mgetmetar.pl?cccc=KSFO"},
        {"ClassicKeyWinsOverTheApiKey", "awc_api=http://a\nmetar_nws=http://n", MetarSource::WeatherService,
         "http://n/cgi-bin/mgetmetar.pl?cccc=KSFO"},
        {"ClassicKeyOfTheOtherSourceLeavesThisOne", "metar_nws=http://n", MetarSource::Vatsim,
         "https://metar.vatsim.net/KSFO"},
        {"WindsKeyLeavesTheMetarSources", "fdwinds=http://f", MetarSource::WeatherService,
         "https://aviationweather.gov/api/data/metar?ids=KSFO&format=raw&hours=3"},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(chooseMetarSource(parseServerAddresses(c.serversText), c.selected)->requestUrl("KSFO"),
                  c.expectedUrl);
    }
}

}  // namespace
}  // namespace stratocue::metar
