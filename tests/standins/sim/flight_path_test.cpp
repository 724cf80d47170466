#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standins/sim/flight_path.h"

namespace stratocue::standins {
namespace {

TEST(FlightPath, GoodFilesGiveTheirPoints) {
    struct Case {
        const char* name;
        const char* text;
        std::vector<FlightPoint> expected;
    };
    const Case cases[] = {
        {"EmptyFile", "", {}},
        {"OnlyComments", "# a path\n\n   # nothing\n", {}},
        {"OnePoint", "0 51.5 -0.25 120.5\n", {{0, 51.5, -0.25, 120.5}}},
        {"CommentsBlanksAndTabs",
         "# start\n0\t40 -74 10 # JFK\n\n60 40.5 -73.5 1000\r\n",
         {{0, 40, -74, 10}, {60, 40.5, -73.5, 1000}}},
        {"NoFinalNewline", "5 1 2 3", {{5, 1, 2, 3}}},
        {"EqualTimes", "1 0 0 0\n1 1 1 1\n", {{1, 0, 0, 0}, {1, 1, 1, 1}}},
        {"Limits", "0 -90 -180 -400\n1 90 180 0\n", {{0, -90, -180, -400}, {1, 90, 180, 0}}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const FlightPath path = parseFlightPath(test.text);
        EXPECT_EQ(path.error, "");
        EXPECT_EQ(path.points, test.expected);
    }
}

TEST(FlightPath, MalformedLinesNameTheLineAndTheFault) {
    struct Case {
        const char* name;
        const char* text;
        const char* errorStart;
    };
    const Case cases[] = {
        {"ThreeNumbers", "0 1 2\n", "line 1: expected"},
        {"FiveNumbers", "0 1 2 3 4\n", "line 1: expected"},
        {"WordInPlaceOfNumber", "# ok\n0 north 2 3\n", "line 2: 'north' is not a number"},
        {"CommaDecimal", "0 51,5 2 3\n", "line 1: '51,5' is not a number"},
        {"NotFinite", "0 inf 2 3\n", "line 1: 'inf' is not a number"},
        {"LatitudePastPole", "0 91 0 0\n", "line 1: latitude must lie within"},
        {"LongitudePastDateLine", "0 0 181 0\n", "line 1: longitude must lie within"},
        {"NegativeTime", "-1 0 0 0\n", "line 1: seconds must not be negative"},
        {"TimeGoesBackwards", "10 0 0 0\n5 0 0 0\n", "line 2: time goes backwards"},
        {"AltitudeTooHigh", "0 0 0 3e9\n", "line 1: altitude is out of range"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const FlightPath path = parseFlightPath(test.text);
        EXPECT_EQ(path.error.rfind(test.errorStart, 0), 0U) << path.error;
        EXPECT_TRUE(path.points.empty());
    }
}

TEST(FlightPath, PositionInterpolatesAndHoldsTheEnds) {
    const std::vector<FlightPoint> points = {{10, 40, -74, 0}, {20, 41, -72, 1000}, {30, 41, -72, 3000}};
    struct Case {
        const char* name;
        double seconds;
        FlightPoint expected;
    };
    const Case cases[] = {
        {"BeforeTheStart", 0, {10, 40, -74, 0}},
        {"AtTheStart", 10, {10, 40, -74, 0}},
        {"Halfway", 15, {15, 40.5, -73, 500}},
        {"AtAMiddlePoint", 20, {20, 41, -72, 1000}},
        {"QuarterIntoTheLastLeg", 22.5, {22.5, 41, -72, 1500}},
        {"AfterTheEnd", 100, {30, 41, -72, 3000}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const FlightPoint position = positionAt(points, test.seconds);
        EXPECT_DOUBLE_EQ(position.latitudeDeg, test.expected.latitudeDeg);
        EXPECT_DOUBLE_EQ(position.longitudeDeg, test.expected.longitudeDeg);
        EXPECT_DOUBLE_EQ(position.altitudeMetres, test.expected.altitudeMetres);
    }
    EXPECT_EQ(positionAt({}, 5), FlightPoint{});
}

}  // namespace
}  // namespace stratocue::standins
