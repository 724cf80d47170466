#include "metar/metar_page.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/fault.h"

namespace stratocue::metar {
namespace {

constexpr std::string_view kReport = "KSFO 061756Z 28012KT 10SM FEW010 17/09 A3002";

// The 27 characters the weather-service page puts between its phrase and the report.
constexpr std::string_view kAfterPhrase = "</h3>\n<hr>\n<pre>\n<tt>\n     ";
static_assert(kAfterPhrase.size() == 27);

// `count` characters that hold no "<" and no identifier mark.
std::string filler(std::size_t count) { return std::string(count, '.'); }

// A VATSIM page whose ">" before the identifier stands at 1-based position `markAt`.
std::string vatsimPage(std::size_t markAt, std::string_view idAsShown, std::string_view afterId) {
    return filler(markAt - 1) + ">" + std::string(idAsShown) + std::string(afterId);
}

// A weather-service page whose phrase starts at 1-based position `phraseAt`, followed by
// the 27 skipped characters and then `rest`.
std::string weatherServicePage(std::size_t phraseAt, std::string_view rest) {
    return filler(phraseAt - 1) + "The observation is:" + std::string(kAfterPhrase) + std::string(rest);
}

enum class Outcome { Report, NotFound, Fault };

struct CutCase {
    const char* name;
    MetarSource source;
    std::string stationId;
    std::string page;
    Outcome outcome;
    std::string report;  // for Outcome::Report
};

void expectCuts(const std::vector<CutCase>& cases) {
    for (const CutCase& c : cases) {
        SCOPED_TRACE(c.name);
        switch (c.outcome) {
            case Outcome::Report: {
                const std::optional<std::string> cut = cutReportFromPage(c.page, c.source, c.stationId);
                ASSERT_TRUE(cut.has_value());
                EXPECT_EQ(*cut, c.report);
                break;
            }
            case Outcome::NotFound:
                EXPECT_EQ(cutReportFromPage(c.page, c.source, c.stationId), std::nullopt);
                break;
            case Outcome::Fault:
                EXPECT_THROW(static_cast<void>(cutReportFromPage(c.page, c.source, c.stationId)), RuntimeFault);
                break;
        }
    }
}

const std::string kReportEnd = "\r\n</pre>";  // the report ends 3 characters before "<"

TEST(CutReportFromPage, VatsimReportStartsAtTheIdentifierAfterPosition45) {
    const std::string afterId = std::string(kReport.substr(4)) + kReportEnd;
    expectCuts({
        {"MarkAt46", MetarSource::Vatsim, "KSFO", vatsimPage(46, "KSFO", afterId), Outcome::Report,
         std::string(kReport)},
        {"MarkAt45IsTooEarly", MetarSource::Vatsim, "KSFO", vatsimPage(45, "KSFO", afterId), Outcome::NotFound, ""},
        {"MarkAtStart", MetarSource::Vatsim, "KSFO", vatsimPage(1, "KSFO", afterId), Outcome::NotFound, ""},
        {"EarlyMarkHidesALaterOne", MetarSource::Vatsim, "KSFO",
         vatsimPage(10, "KSFO", " old" + kReportEnd) + vatsimPage(100, "KSFO", afterId), Outcome::NotFound, ""},
        {"NoMark", MetarSource::Vatsim, "KSFO", filler(100) + "KSFO" + afterId, Outcome::NotFound, ""},
        {"LowerCaseIdSearchedUpperCase", MetarSource::Vatsim, "ksfo", vatsimPage(60, "KSFO", afterId), Outcome::Report,
         std::string(kReport)},
        {"MarkIsCaseSensitive", MetarSource::Vatsim, "KSFO", vatsimPage(60, "ksfo", afterId), Outcome::NotFound, ""},
        {"OtherStationOnly", MetarSource::Vatsim, "KSFO", vatsimPage(60, "KLAX", afterId), Outcome::NotFound, ""},
        {"TwoCharactersBeforeTagDropped", MetarSource::Vatsim, "KSFO", vatsimPage(60, "KSFO", " A3002xy<br>"),
         Outcome::Report, "KSFO A3002"},
        {"IdentifierRightBeforeTag", MetarSource::Vatsim, "KSFO", vatsimPage(60, "KSFO", "<"), Outcome::Report, "KS"},
    });
}

TEST(CutReportFromPage, WeatherServiceReportStarts46CharactersAfterThePhrase) {
    const std::string reportAndEnd = std::string(kReport) + kReportEnd;
    expectCuts({
        {"PhraseAtStart", MetarSource::WeatherService, "KSFO", weatherServicePage(1, reportAndEnd), Outcome::Report,
         std::string(kReport)},
        {"PhraseInsideAPage", MetarSource::WeatherService, "KSFO",
         "<html><body><h3>" + weatherServicePage(1, reportAndEnd) + "\n</body></html>", Outcome::Report,
         std::string(kReport)},
        {"IdentifierNotLookedFor", MetarSource::WeatherService, "EDDF", weatherServicePage(1, reportAndEnd),
         Outcome::Report, std::string(kReport)},
        {"PhraseMissing", MetarSource::WeatherService, "KSFO", filler(60) + reportAndEnd, Outcome::NotFound, ""},
        {"PhraseInOtherCase", MetarSource::WeatherService, "KSFO",
         "the observation is:" + std::string(kAfterPhrase) + reportAndEnd, Outcome::NotFound, ""},
        {"LineBreaksKept", MetarSource::WeatherService, "KSFO",
         weatherServicePage(1, "KSFO 061756Z\r\n     28012KT A3002" + kReportEnd), Outcome::Report,
         "KSFO 061756Z\r\n     28012KT A3002"},
    });
}

TEST(CutReportFromPage, ReportEndsThreeCharactersBeforeTheFirstTagWithin255) {
    const std::string fullWindow = std::string(252, 'R') + "xy<";  // "<" is the 255th character
    const std::string beyondWindow = std::string(253, 'R') + "xy<";
    expectCuts({
        {"TagAtPosition1", MetarSource::WeatherService, "KSFO", weatherServicePage(1, "<pre>"), Outcome::Fault, ""},
        {"TagAtPosition2", MetarSource::WeatherService, "KSFO", weatherServicePage(1, "x<pre>"), Outcome::Fault, ""},
        {"TagAtPosition3GivesEmptyReport", MetarSource::WeatherService, "KSFO", weatherServicePage(1, "xy<pre>"),
         Outcome::Report, ""},
        {"TagAtPosition4", MetarSource::WeatherService, "KSFO", weatherServicePage(1, "Rxy<pre>"), Outcome::Report,
         "R"},
        {"TagAtPosition255", MetarSource::WeatherService, "KSFO", weatherServicePage(1, fullWindow), Outcome::Report,
         std::string(252, 'R')},
        {"TagAtPosition256", MetarSource::WeatherService, "KSFO", weatherServicePage(1, beyondWindow), Outcome::Fault,
         ""},
        {"NoTagAtAll", MetarSource::WeatherService, "KSFO", weatherServicePage(1, kReport), Outcome::Fault, ""},
        {"PageEndsAtTheStart", MetarSource::WeatherService, "KSFO", weatherServicePage(1, ""), Outcome::Fault, ""},
        {"VatsimNoTag", MetarSource::Vatsim, "KSFO", vatsimPage(60, "KSFO", std::string(300, 'R')), Outcome::Fault, ""},
        // The start position is 16-bit: the phrase near the end of the largest page overflows it.
        {"StartBeyond16Bits", MetarSource::WeatherService, "KSFO", weatherServicePage(32722, ""), Outcome::Fault, ""},
    });
}

struct UrlCase {
    const char* name;
    MetarSource source;
    std::string stationId;
    std::string url;
};

TEST(MetarPageUrl, PagePerSourceWithThePlainIdentifierAsItIs) {
    const std::vector<UrlCase> cases{
        {"VatsimUpperCased", MetarSource::Vatsim, "ksfo", "http://vatsim.test/search_metar.html?cod=KSFO"},
        {"VatsimAlreadyUpper", MetarSource::Vatsim, "EDDF", "http://vatsim.test/search_metar.html?cod=EDDF"},
        {"WeatherServiceAsGiven", MetarSource::WeatherService, "ksfo",
         "http://nws.test/cgi-bin/mgetmetar.pl?cccc=ksfo"},
        {"DigitsAndOtherPunctuationKept", MetarSource::WeatherService,
         "K0&=", "http://nws.test/cgi-bin/mgetmetar.pl?cccc=K0&="},
    };
    for (const UrlCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string base = c.source == MetarSource::Vatsim ? "http://vatsim.test" : "http://nws.test";
        EXPECT_EQ(metarPageUrl(base, c.source, c.stationId), c.url);
    }
}

TEST(MetarPageUrl, BytesThatCannotStandInAUrlArePercentEncoded) {
    const std::vector<UrlCase> cases{
        {"Blank", MetarSource::WeatherService, "KS O", "http://nws.test/cgi-bin/mgetmetar.pl?cccc=KS%20O"},
        {"BlankVatsim", MetarSource::Vatsim, "ks o", "http://vatsim.test/search_metar.html?cod=KS%20O"},
        {"HashWouldCutTheQuery", MetarSource::WeatherService, "KS#O",
         "http://nws.test/cgi-bin/mgetmetar.pl?cccc=KS%23O"},
        {"Percent", MetarSource::Vatsim, "K%41O", "http://vatsim.test/search_metar.html?cod=K%2541O"},
        {"ControlCharacter", MetarSource::WeatherService, "KS\tO", "http://nws.test/cgi-bin/mgetmetar.pl?cccc=KS%09O"},
        {"ZeroByte", MetarSource::WeatherService, std::string("KS\0O", 4),
         "http://nws.test/cgi-bin/mgetmetar.pl?cccc=KS%00O"},
        {"Delete", MetarSource::WeatherService, "KS\x7FO", "http://nws.test/cgi-bin/mgetmetar.pl?cccc=KS%7FO"},
        {"ByteAbove127KeptByUpperCase", MetarSource::Vatsim, "k\xE9\x66o",  // \x66 is "f"
         "http://vatsim.test/search_metar.html?cod=K%E9FO"},
        {"ByteAbove127", MetarSource::WeatherService, "K\xFF\x80O",
         "http://nws.test/cgi-bin/mgetmetar.pl?cccc=K%FF%80O"},
    };
    for (const UrlCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string base = c.source == MetarSource::Vatsim ? "http://vatsim.test" : "http://nws.test";
        EXPECT_EQ(metarPageUrl(base, c.source, c.stationId), c.url);
    }
}

}  // namespace
}  // namespace stratocue::metar
