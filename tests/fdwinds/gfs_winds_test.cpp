// The forecast model's winds aloft: the request, the hour, the answer reader and the
// bulletin coding of each level.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "common/fault.h"
#include "fdwinds/gfs_winds.h"
#include "gfs_answers.h"

namespace stratocue::fdwinds {
namespace {

using testing_gfs::allLevels;
using testing_gfs::distinctLevels;
using testing_gfs::gfsAnswer;
using Json = nlohmann::json;

TEST(GfsRequest, AsksTheNineLevelsInKnotsForOneHourAtTwoDecimals) {
    std::string hourly;
    for (const std::string quantity : {"wind_speed_", "wind_direction_", "temperature_"}) {
        for (const int hPa : kGfsLevelHectopascals)
            hourly += (hourly.empty() ? "" : ",") + quantity + std::to_string(hPa) + "hPa";
    }
    const auto tail = "&hourly=" + hourly + "&wind_speed_unit=kn&forecast_hours=1";
    EXPECT_EQ(gfsRequestUrl("https://api.open-meteo.com", 52.3676, 4.9041),
              "https://api.open-meteo.com/v1/gfs?latitude=52.37&longitude=4.90" + tail);
    EXPECT_EQ(gfsRequestUrl("http://h", -33.9461, -151.1772),
              "http://h/v1/gfs?latitude=-33.95&longitude=-151.18" + tail);
    EXPECT_EQ(gfsRequestUrl("http://h", -0.001, 0), "http://h/v1/gfs?latitude=0.00&longitude=0.00" + tail);
}

TEST(GfsRequest, AddressFromServersTxtElseTheDefault) {
    EXPECT_EQ(gfsServerAddress(parseServerAddresses("")), "https://api.open-meteo.com");
    EXPECT_EQ(gfsServerAddress(parseServerAddresses("open_meteo=http://127.0.0.1:9/\n")), "http://127.0.0.1:9");
}

TEST(GfsHour, TheUtcHourThatHoldsTheMoment) {
    using namespace std::chrono;
    const sys_days leapDay = year{2024} / February / 29;
    EXPECT_EQ(gfsHourText(leapDay), "2024-02-29T00:00");
    EXPECT_EQ(gfsHourText(leapDay + hours{23} + minutes{59} + seconds{59}), "2024-02-29T23:00");
    EXPECT_EQ(gfsHourText(leapDay + hours{24}), "2024-03-01T00:00");
}

struct LevelCase {
    const char* name;
    FdLevel level;
    GfsLevelReading reading;  // knots, degrees, Celsius
    FdLevelValues expected;   // direction code, speed code, temperature
};

TEST(GfsBulletinLevel, CodesEachValueAsTheBulletinDoes) {
    const std::vector<LevelCase> cases{
        {"DirectionToTheNearestTen", FdLevel::K6, {20.4, 274.9, -4.4}, {27, 20, -4}},
        {"HalfWaysToEven", FdLevel::K6, {20.5, 265.0, -4.5}, {26, 20, -4}},
        {"HalfWayUpToEven", FdLevel::K6, {21.5, 275.0, 3.5}, {28, 22, 4}},
        {"NorthIs36", FdLevel::K9, {30, 0.0, 0}, {36, 30, 0}},
        {"NearlyNorthIs36", FdLevel::K9, {30, 356.0, 0}, {36, 30, 0}},
        {"JustEastOfNorthIs36", FdLevel::K9, {30, 4.9, 0}, {36, 30, 0}},
        {"Under5KnotsAsTheyAre", FdLevel::K3, {3.2, 121.0, 12}, {12, 3, 12}},
        {"CalmIsNotLightAndVariable", FdLevel::K3, {0, 0, 12}, {36, 0, 12}},
        {"JustUnder100Knots", FdLevel::K18, {99.4, 250.0, -20}, {25, 99, -20}},
        {"100KnotsAdd50ToTheDirection", FdLevel::K18, {100, 250.0, -20}, {75, 0, -20}},
        {"150Knots", FdLevel::K34, {150.2, 270.0, -52.6}, {77, 50, 53}},
        {"199Knots", FdLevel::K39, {199.4, 360.0, -60}, {86, 99, 60}},
        {"200KnotsAs199", FdLevel::K39, {200, 270.0, -60}, {77, 99, 60}},
        {"260KnotsAs199", FdLevel::K39, {260, 270.0, -60}, {77, 99, 60}},
        {"24KeepsTheSign", FdLevel::K24, {40, 300.0, 2.3}, {30, 40, 2}},
        {"30KHoldsTheMagnitude", FdLevel::K30, {40, 300.0, -45.6}, {30, 40, 46}},
        {"PositiveAt30KIsZero", FdLevel::K30, {40, 300.0, 2.3}, {30, 40, 0}},
    };
    for (const LevelCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GFS_BulletinLevel(c.level, c.reading), c.expected);
    }
}

TEST(GfsBulletinLevel, ATemperatureBeyond16BitsIsAFault) {
    EXPECT_THROW(static_cast<void>(GFS_BulletinLevel(FdLevel::K6, {10, 90, 1e9})), RuntimeFault);
}

constexpr const char* kHour = "2026-12-08T12:00";

// Each model level lands in its FD level, from the entry of the current hour.
TEST(GfsReadAnswer, TakesEachLevelFromTheCurrentHour) {
    const Json answer = gfsAnswer({"2026-12-08T11:00", kHour, "2026-12-08T13:00"},
                                  {allLevels({1, 1, 1}), distinctLevels(), allLevels({2, 2, 2})});
    const FdWinds winds = GFS_WindsRow(GFS_ReadAnswer({200, answer.dump()}, kHour));
    EXPECT_EQ(winds.rowCount, 1);
    EXPECT_EQ(winds.rowId[1], "GFS");
    const std::vector<FdLevelValues> expected{{10, 10, 5},   {11, 11, -5}, {12, 12, -15}, {13, 13, -25}, {14, 14, -35},
                                              {15, 15, -45}, {16, 16, 55}, {17, 17, 65},  {18, 18, 75}};
    EXPECT_EQ(std::vector<FdLevelValues>(winds.levels[1].begin(), winds.levels[1].end()), expected);
}

struct MalformedCase {
    const char* name;
    long status;
    std::function<std::string(Json)> answer;
};

TEST(GfsReadAnswer, EveryMalformedAnswerFails) {
    const auto text = [](Json json) { return json.dump(); };
    const std::vector<MalformedCase> cases{
        {"NotTheCurrentHour", 200, [](Json) { return gfsAnswer({"2026-12-08T11:00"}, {distinctLevels()}).dump(); }},
        {"NoVariable", 200,
         [](Json j) {
             j["hourly"].erase("temperature_250hPa");
             return j.dump();
         }},
        {"NullValue", 200,
         [](Json j) {
             j["hourly"]["wind_direction_725hPa"][0] = nullptr;
             return j.dump();
         }},
        {"ShortArray", 200,
         [](Json j) {
             j["hourly"]["wind_speed_200hPa"] = Json::array();
             return j.dump();
         }},
        {"NegativeSpeed", 200,
         [](Json j) {
             j["hourly"]["wind_speed_900hPa"][0] = -1;
             return j.dump();
         }},
        {"SpeedInKilometres", 200, [](Json) { return gfsAnswer({kHour}, {distinctLevels()}, "km/h").dump(); }},
        {"NoUnits", 200,
         [](Json j) {
             j.erase("hourly_units");
             return j.dump();
         }},
        {"NoHourly", 200,
         [](Json j) {
             j.erase("hourly");
             return j.dump();
         }},
        {"ErrorAnswer", 400,
         [](Json) { return std::string(R"({"error":true,"reason":"Latitude must be in range"})"); }},
        {"ServerError", 500, text},
        {"NotJson", 200, [](Json) { return std::string("<html>maintenance</html>"); }},
        {"EmptyBody", 200, [](Json) { return std::string(); }},
        {"ArrayNotObject", 200, [](Json) { return std::string("[1,2]"); }},
    };
    for (const MalformedCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string body = c.answer(gfsAnswer({kHour}, {distinctLevels()}));
        EXPECT_THROW(static_cast<void>(GFS_ReadAnswer({c.status, body}, kHour)), std::runtime_error);
    }
}

}  // namespace
}  // namespace stratocue::fdwinds
