#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "metar/metar_page.h"
#include "standins/wx/wx_metar_table.h"
#include "standins/wx/wx_pages.h"
#include "standins/wx/wx_weather_data.h"
#include "wx_test_files.h"

namespace stratocue::standins {
namespace {

using metar::cutReportFromPage;
using metar::MetarSource;

constexpr std::size_t kLongestCuttableReport = 252;  // 255 characters less CR LF and "<"

std::string longestReport() {
    std::string report = "KXYZ 071756Z 27010KT 10SM CLR 15/05 A2992 RMK";
    while (report.size() < kLongestCuttableReport) report += " AO2";
    return report.substr(0, kLongestCuttableReport);
}

struct CutCase {
    const char* name;
    std::string requestedId;
    std::string report;
};

const CutCase kCutCases[] = {
    {"UpperCaseId", "KSFO", "KSFO 180656Z 11013KT 6SM -RA BR FEW009 SCT016 OVC022 12/11 A3006 RMK AO2 SLP179 P0005"},
    {"LowerCaseId", "ksfo", "KSFO 180656Z 11013KT 6SM -RA BR FEW009 SCT016 OVC022 12/11 A3006 RMK AO2 SLP179 P0005"},
    {"MixedCaseId", "kOaK", "KOAK 262053Z 26008KT 10SM SCT020TCU 21/13 A2997 RMK AO2 SLP148"},
    {"ShortReport", "KPAO", "KPAO 012347Z 30012KT 10SM SKC 22/08 A3006"},
    {"DigitsInId", "K0Q5", "K0Q5 141153Z AUTO 00000KT 10SM CLR 12/06 A3017"},
    {"LongestReportThatFits", "KXYZ", longestReport()},
};

class MetarPageCut : public ::testing::TestWithParam<CutCase> {};

TEST_P(MetarPageCut, VatsimLayoutGivesStoredReport) {
    const CutCase& row = GetParam();
    const std::string page = vatsimMetarPage(row.requestedId, row.report);
    EXPECT_EQ(cutReportFromPage(page, MetarSource::Vatsim, row.requestedId), row.report);
}

TEST_P(MetarPageCut, WeatherServiceLayoutGivesStoredReport) {
    const CutCase& row = GetParam();
    const std::string page = weatherServiceMetarPage(row.requestedId, row.report);
    EXPECT_EQ(cutReportFromPage(page, MetarSource::WeatherService, row.requestedId), row.report);
}

INSTANTIATE_TEST_SUITE_P(Stations, MetarPageCut, ::testing::ValuesIn(kCutCases), wxtest::NameOfRow{});

struct UnknownCase {
    const char* name;
    std::string requestedId;
};

const UnknownCase kUnknownCases[] = {
    {"UpperCaseId", "KXYZ"},    {"LowerCaseId", "kxyz"}, {"EmptyId", ""},
    {"WordsOfThePage", "META"}, {"MarkupInId", "<b>X"},
};

class UnknownStationPage : public ::testing::TestWithParam<UnknownCase> {};

TEST_P(UnknownStationPage, VatsimLayoutHasNoReport) {
    const std::string& id = GetParam().requestedId;
    EXPECT_EQ(cutReportFromPage(vatsimMetarPage(id, std::nullopt), MetarSource::Vatsim, id), std::nullopt);
}

TEST_P(UnknownStationPage, WeatherServiceLayoutHasNoReport) {
    const std::string& id = GetParam().requestedId;
    const std::string page = weatherServiceMetarPage(id, std::nullopt);
    EXPECT_EQ(cutReportFromPage(page, MetarSource::WeatherService, id), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Stations, UnknownStationPage, ::testing::ValuesIn(kUnknownCases), wxtest::NameOfRow{});

// The demo's reports: one per station the demo flights fly past, each cut whole from both
// layouts.
constexpr std::string_view kDemoStations[] = {"KSFO", "KOAK", "KSQL", "KPAO", "KNUQ", "KSJC", "KRHV", "KHWD", "KLVK",
                                              "KWVI", "KMRY", "KSNS", "KCCR", "KAPC", "KSTS", "EHAM", "EHRD"};

TEST(DemoMetars, EveryDemoStationHasAReport) {
    const MetarTable reports = parseMetarLines(wxtest::requiredFile(wxtest::kDemoWeatherDir / kMetarFileName));
    EXPECT_EQ(reports.size(), std::size(kDemoStations));
    for (const std::string_view station : kDemoStations) {
        EXPECT_TRUE(reports.contains(station)) << station;
    }
}

TEST(DemoMetars, EveryReportCutsWholeFromBothLayouts) {
    const MetarTable reports = parseMetarLines(wxtest::requiredFile(wxtest::kDemoWeatherDir / kMetarFileName));
    ASSERT_FALSE(reports.empty());
    for (const auto& [station, stationReports] : reports) {
        const std::string& report = stationReports.back();
        EXPECT_EQ(cutReportFromPage(vatsimMetarPage(station, report), MetarSource::Vatsim, station), report);
        EXPECT_EQ(cutReportFromPage(weatherServiceMetarPage(station, report), MetarSource::WeatherService, station),
                  report);
    }
}

}  // namespace
}  // namespace stratocue::standins
