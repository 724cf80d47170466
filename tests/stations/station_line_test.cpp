#include "stations/station_line.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/fault.h"
#include "common/units.h"

namespace stratocue::stations {
namespace {

using units::kDegreesPerRadian;
constexpr double kToleranceRadians = 1e-11;

double radiansFromDegrees(double degrees) { return degrees / kDegreesPerRadian; }

TEST(SplitStationFields, CutsAtEveryComma) {
    struct Case {
        const char* name;
        std::string_view line;
        StationFields fields;
    };
    const std::vector<Case> cases = {
        {"EightFields", "KSFO,N,37,37,W,122,22,4", {"KSFO", "N", "37", "37", "W", "122", "22", "4"}},
        {"BlanksKept", " KSFO , N,37 ,37,W,122,22, 4 ", {" KSFO ", " N", "37 ", "37", "W", "122", "22", " 4 "}},
        {"EmptyFieldsCount", "A,,,37,,,,9", {"A", "", "", "37", "", "", "", "9"}},
        {"ExtraFieldsDropped", "A,N,1,2,E,3,4,5,6,7", {"A", "N", "1", "2", "E", "3", "4", "5"}},
        {"MissingFieldsEmpty", "A,S", {"A", "S", "", "", "", "", "", ""}},
        {"NoComma", "KSFOX", {"KSFOX", "", "", "", "", "", "", ""}},
        {"TrailingComma", "A,N,", {"A", "N", "", "", "", "", "", ""}},
        {"EmptyLine", "", {"", "", "", "", "", "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(splitStationFields(c.line), c.fields);
    }
}

struct ParseCase {
    const char* name;
    std::string_view line;
    bool withElevation;
    std::string id;
    double latitudeRadians;
    double longitudeRadians;
    std::int16_t elevationMetres;
};

void expectStation(const ParseCase& c) {
    SCOPED_TRACE(c.name);
    const Station station = parseStationLine(c.line, c.withElevation);
    EXPECT_EQ(station.id, c.id);
    EXPECT_NEAR(station.latitude, c.latitudeRadians, kToleranceRadians);
    EXPECT_NEAR(station.longitude, c.longitudeRadians, kToleranceRadians);
    EXPECT_EQ(station.elevation, c.elevationMetres);
}

TEST(ParseStationLine, PositionFromDegreesAndMinutes) {
    const std::vector<ParseCase> cases = {
        {"SanFrancisco", "KSFO,N,37,37,W,122,22,4", true, "KSFO", radiansFromDegrees(37.61667),
         radiansFromDegrees(-122.36667), 4},
        {"SouthAndEast", "YSSY,S,33,57,E,151,10,3", true, "YSSY", radiansFromDegrees(-33.95),
         radiansFromDegrees(151.16667), 3},
        {"HalfDegreeSouth", "XXXX,S,0,30,E,0,0,0", true, "XXXX", -0.00872664626, 0.0, 0},
        {"SixtyMinutesKeepWholeDegrees", "XXXX,N,37,60,E,10,60,0", true, "XXXX", radiansFromDegrees(37.0),
         radiansFromDegrees(10.0), 0},
        {"MinutesOverSixtyKeepOnlyFraction", "XXXX,N,37,90,E,0,0,0", true, "XXXX", radiansFromDegrees(37.5), 0.0, 0},
        {"DecimalMinutesRoundedToFiveDecimals", "XXXX,N,10,30.5,E,0,0.001,0", true, "XXXX",
         radiansFromDegrees(10.50833), radiansFromDegrees(0.00002), 0},
        {"FractionalDegreesStopAtSecondPoint", "XXXX,N,37.5,30,E,0,0,0", true, "XXXX", radiansFromDegrees(37.5), 0.0,
         0},
        {"BlanksInDegreesIgnored", "XXXX,N, 37 ,37,E,1 2,0,0", true, "XXXX", radiansFromDegrees(37.61667),
         radiansFromDegrees(12.0), 0},
        {"LettersInNumbersReadAsLeadingNumber", "XXXX,N,37abc,P6,E,M05,x,7m", true, "XXXX", radiansFromDegrees(37.0),
         0.0, 7},
        {"NegativeMinutesLoseTheirSign", "XXXX,N,10,-30,E,0,0,0", true, "XXXX", radiansFromDegrees(10.5), 0.0, 0},
        {"IdKeptVerbatim", " ksfo ,N,0,0,E,0,0,0", true, " ksfo ", 0.0, 0.0, 0},
    };
    for (const ParseCase& c : cases) expectStation(c);
}

TEST(ParseStationLine, HemisphereIsExactCaseSensitiveLetter) {
    const double halfDegree = radiansFromDegrees(0.5);
    const std::vector<ParseCase> cases = {
        {"CapitalSIsSouth", "A,S,0,30,E,0,30,0", true, "A", -halfDegree, halfDegree, 0},
        {"LowerCaseSIsNorth", "A,s,0,30,E,0,30,0", true, "A", halfDegree, halfDegree, 0},
        {"BlankBeforeSIsNorth", "A, S,0,30,E,0,30,0", true, "A", halfDegree, halfDegree, 0},
        {"BlankAfterSIsNorth", "A,S ,0,30,E,0,30,0", true, "A", halfDegree, halfDegree, 0},
        {"WordSouthIsNorth", "A,South,0,30,E,0,30,0", true, "A", halfDegree, halfDegree, 0},
        {"CapitalWIsWest", "A,N,0,30,W,0,30,0", true, "A", halfDegree, -halfDegree, 0},
        {"LowerCaseWIsEast", "A,N,0,30,w,0,30,0", true, "A", halfDegree, halfDegree, 0},
        {"WAsLatitudeHemisphereIsNorth", "A,W,0,30,S,0,30,0", true, "A", halfDegree, halfDegree, 0},
        {"EmptyHemispheresNorthAndEast", "A,,0,30,,0,30,0", true, "A", halfDegree, halfDegree, 0},
    };
    for (const ParseCase& c : cases) expectStation(c);
}

TEST(ParseStationLine, ElevationRoundedDownToWholeMetres) {
    const std::vector<ParseCase> cases = {
        {"Whole", "A,N,0,0,E,0,0,1655", true, "A", 0.0, 0.0, 1655},
        {"FractionDropped", "A,N,0,0,E,0,0,12.9", true, "A", 0.0, 0.0, 12},
        {"NegativeGoesDown", "A,N,0,0,E,0,0,-3.5", true, "A", 0.0, 0.0, -4},
        {"Highest", "A,N,0,0,E,0,0,32767.9", true, "A", 0.0, 0.0, 32767},
        {"Lowest", "A,N,0,0,E,0,0,-32768", true, "A", 0.0, 0.0, -32768},
        {"Exponent", "A,N,0,0,E,0,0,1.5E3", true, "A", 0.0, 0.0, 1500},
        {"Empty", "A,N,0,0,E,0,0,", true, "A", 0.0, 0.0, 0},
        {"ExtraFieldsIgnored", "A,N,0,0,E,0,0,5,99999,1e999", true, "A", 0.0, 0.0, 5},
        {"IgnoredWithoutElevation", "A,N,0,0,E,0,0,40000", false, "A", 0.0, 0.0, 0},
        {"NonFiniteIgnoredWithoutElevation", "A,N,0,0,E,0,0,1e999", false, "A", 0.0, 0.0, 0},
    };
    for (const ParseCase& c : cases) expectStation(c);
}

TEST(ParseStationLine, MissingFieldsReadAsZeroNorthEast) {
    const std::vector<ParseCase> cases = {
        {"FiveCharactersNoComma", "KSFOX", true, "KSFOX", 0.0, 0.0, 0},
        {"IdAndHemisphereOnly", "KSFO,N", true, "KSFO", 0.0, 0.0, 0},
        {"SouthWithoutNumbers", "KSFO,S", true, "KSFO", 0.0, 0.0, 0},
        {"LatitudeOnly", "KSFO,N,37,37", true, "KSFO", radiansFromDegrees(37.61667), 0.0, 0},
        {"NoElevationField", "KSFO,N,37,37,W,122,22", true, "KSFO", radiansFromDegrees(37.61667),
         radiansFromDegrees(-122.36667), 0},
    };
    for (const ParseCase& c : cases) expectStation(c);
}

TEST(ParseStationLine, OutOfRangeNumbersAreOverflowFaults) {
    struct Case {
        const char* name;
        std::string_view line;
    };
    const std::vector<Case> cases = {
        {"ElevationTooHigh", "A,N,0,0,E,0,0,40000"},           {"ElevationJustTooHigh", "A,N,0,0,E,0,0,32768"},
        {"ElevationTooLow", "A,N,0,0,E,0,0,-32768.5"},         {"ElevationNotFinite", "A,N,0,0,E,0,0,1e999"},
        {"LatitudeDegreesNotFinite", "A,N,1e999,0,E,0,0,0"},   {"LatitudeMinutesNotFinite", "A,N,0,1e999,E,0,0,0"},
        {"LongitudeDegreesNotFinite", "A,N,0,0,E,-1D999,0,0"}, {"LongitudeMinutesNotFinite", "A,N,0,0,E,0,-1e999,0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            (void)parseStationLine(c.line, true);
            ADD_FAILURE() << "no fault for " << c.line;
        } catch (const RuntimeFault& fault) {
            EXPECT_EQ(fault.kind(), RuntimeFault::Kind::Overflow);
        }
    }
}

}  // namespace
}  // namespace stratocue::stations
