#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "metar/metar_decoder.h"
#include "metar_test_support.h"

namespace stratocue::metar {
namespace {

using testing::fieldNames;
using testing::fieldText;
using testing::FieldValues;
using testing::recordWithOldTexts;
using testing::withExtraTokens;

struct FaultCase {
    const char* name;
    std::string report;
    FieldValues written;  // fields the steps before the fault wrote; all others keep their texts
};

TEST(DecodeMetarFault, KeepsTheFieldsOfCompletedSteps) {
    const std::string fiftyTokens = withExtraTokens("KABC 061756Z 28012KT 10SM FEW010 17/09 A3002", 43);
    const std::vector<FaultCase> cases = {
        {"FiftyOneTokens", fiftyTokens + " NOSIG", {}},
        {"TrailingBlankMakesTheFiftyFirstToken", fiftyTokens + " ", {}},
        {"KnotsTokenTooShort", "NFTF 262100Z 07004 KT 9999 FEW006 SCT016 BKN120 25/22 Q1017", {{"winddir", "KT"}}},
        {"MetresPerSecondTokenTooShort", "XXXX 061800Z MPS 9999 FEW020 10/05 Q1012", {{"winddir", "MPS"}}},
        {"GustMarkBeforeTheSpeed", "XXXX 061800Z G15KT 9999 FEW020 10/05 Q1012", {{"winddir", "G15"}}},
        {"NoUnitTokenTooShort", "XXXX 061800Z AUTO 12 9999 FEW020 10/05 Q1012", {{"winddir", "12"}}},
        {"MetresPerSecondBeyondSixteenBits", "XXXX 061800Z 27020000MPS 9999 FEW020 10/05 Q1012", {{"winddir", "270"}}},
        {"VisibilityDenominatorZeroKeepsNewWind",
         "KABC 061756Z 28012G20KT 1/0SM FG OVC002 07/07 A3020",
         {{"winddir", "280"}, {"windspeed", "12"}, {"gusting", "20"}}},
        {"WholeMilesBeforeFractionWithoutNumerator",
         "KABC 061756Z 28012KT 1 /2SM BR OVC004 08/08 A3004",
         {{"winddir", "280"}, {"windspeed", "12"}, {"gusting", "0"}}},
        {"MetresTooLargeForSinglePrecision",
         "XXXX 061800Z 24008KT 9E99 FEW020 10/05 Q1012",
         {{"winddir", "240"}, {"windspeed", "08"}, {"gusting", "0"}}},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        MetarReport report = recordWithOldTexts();
        const MetarReport before = report;
        const MetarDecodeResult result = decodeMetar(c.report, report);
        EXPECT_TRUE(result.faulted);
        EXPECT_EQ(result.txtMETARstr, "PARSEERROR 000000Z 00000KT SCT020 BKN050 5SM 15/10 A2992");
        EXPECT_EQ(report.datetime, "PARSE ERROR");
        for (const std::string_view name : fieldNames()) {
            if (name == "datetime") continue;
            std::string expected = fieldText(before, name);
            for (const auto& [writtenName, value] : c.written) {
                if (writtenName == name) expected = value;
            }
            EXPECT_EQ(fieldText(report, name), expected) << name;
        }
    }
}

TEST(DecodeMetarFault, SecondDecodingOverwritesOnlyItsSteps) {
    MetarReport report;
    ASSERT_FALSE(decodeMetar("KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002", report).faulted);
    ASSERT_TRUE(decodeMetar("KABC 061756Z 31005KT 1/0SM FG OVC002 07/07 A3020", report).faulted);
    EXPECT_EQ(report.datetime, "PARSE ERROR");
    EXPECT_EQ(report.winddir, "310");
    EXPECT_EQ(report.windspeed, "05");
    EXPECT_EQ(report.gusting, "0");
    EXPECT_EQ(report.vis, "10");  // from the first report
    EXPECT_EQ(report.c2density, "FEW");
    EXPECT_EQ(report.alt, "1016");
}

}  // namespace
}  // namespace stratocue::metar
