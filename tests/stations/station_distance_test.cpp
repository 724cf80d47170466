#include "stations/station_distance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "stations/station_line.h"

namespace stratocue::stations {
namespace {

constexpr double kHalfCircumference = std::numbers::pi * kDistanceFactor;  // about 12450.3

struct Position {
    double latitude;
    double longitude;
};

struct DistanceCase {
    const char* name;
    Position a;
    Position b;
    double distance;
    double tolerance;
};

Position stationAt(const char* line) {
    const Station station = parseStationLine(line, true);
    return {station.latitude, station.longitude};
}

// The central angle by the spherical law of cosines, independent of the haversine.
double lawOfCosinesDistance(Position a, Position b) {
    const double cosAngle = std::sin(a.latitude) * std::sin(b.latitude) +
                            std::cos(a.latitude) * std::cos(b.latitude) * std::cos(b.longitude - a.longitude);
    return std::acos(cosAngle) * kDistanceFactor;
}

TEST(StationDistance, GreatCircleTimes3963Point1) {
    const Position sfo = stationAt("KSFO,N,37,37,W,122,22,2");
    const Position lax = stationAt("KLAX,N,33,56,W,118,23,30");
    const std::vector<DistanceCase> cases{
        {"SamePoint", sfo, sfo, 0.0, 0.0},
        {"OneRadianAlongTheEquator", {0.0, 0.0}, {0.0, 1.0}, kDistanceFactor, 1e-9},
        {"OneRadianAlongAMeridian", {0.2, -1.0}, {1.2, -1.0}, kDistanceFactor, 1e-9},
        {"OppositeOnTheEquator", {0.0, 0.0}, {0.0, std::numbers::pi}, kHalfCircumference, 1e-9},
        {"PoleToPole", {std::numbers::pi / 2, 0.0}, {-std::numbers::pi / 2, 0.0}, kHalfCircumference, 1e-9},
        {"SanFranciscoToLosAngeles", sfo, lax, lawOfCosinesDistance(sfo, lax), 1e-6},
    };
    for (const DistanceCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(stationDistance(c.a.latitude, c.a.longitude, c.b.latitude, c.b.longitude), c.distance, c.tolerance);
        EXPECT_NEAR(stationDistance(c.b.latitude, c.b.longitude, c.a.latitude, c.a.longitude), c.distance, c.tolerance);
    }
    // About 339 statute miles between the two listed positions.
    EXPECT_NEAR(stationDistance(sfo.latitude, sfo.longitude, lax.latitude, lax.longitude), 338.86, 0.01);
}

// Opposite points give the half circumference, not NaN, also where the haversine rounds
// above 1.
TEST(StationDistance, OppositePointsNeverFault) {
    int haversinesAboveOne = 0;
    for (int step = 1; step < 200; ++step) {
        const double latitude = step * 0.00078;
        const double longitude = 0.3;
        const double oppositeLongitude = longitude + std::numbers::pi;
        const double halfLongitude = std::sin((oppositeLongitude - longitude) / 2);
        const double halfLatitude = std::sin((-latitude - latitude) / 2);
        const double a =
            halfLongitude * halfLongitude * std::cos(-latitude) * std::cos(latitude) + halfLatitude * halfLatitude;
        const double distance = stationDistance(latitude, longitude, -latitude, oppositeLongitude);
        if (a > 1.0) {
            ++haversinesAboveOne;
            EXPECT_NEAR(distance, kHalfCircumference, 1e-9) << "latitude " << latitude;
        } else {
            // Just below 1 the square root of 1 - a magnifies the rounding of a.
            EXPECT_NEAR(distance, kHalfCircumference, 1e-3) << "latitude " << latitude;
        }
    }
    EXPECT_GT(haversinesAboveOne, 0) << "no case exercised a haversine above 1";
}

struct NotFiniteCase {
    const char* name;
    Position a;
    Position b;
};

TEST(StationDistance, PositionsThatAreNotNumbersGiveAFiniteDistance) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const std::vector<NotFiniteCase> cases{
        {"NaNLatitude", {nan, 0.0}, {0.5, 0.5}},
        {"NaNLongitude", {0.5, 0.5}, {0.5, nan}},
        {"InfiniteLatitude", {infinity, 0.0}, {0.5, 0.5}},
        {"AllNaN", {nan, nan}, {nan, nan}},
    };
    for (const NotFiniteCase& c : cases) {
        SCOPED_TRACE(c.name);
        const double distance = stationDistance(c.a.latitude, c.a.longitude, c.b.latitude, c.b.longitude);
        EXPECT_TRUE(std::isfinite(distance)) << distance;
        EXPECT_GE(distance, 0.0);
        EXPECT_LE(distance, kHalfCircumference);
    }
}

}  // namespace
}  // namespace stratocue::stations
