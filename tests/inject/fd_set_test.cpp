#include "inject/fd_set.h"

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/sim_offsets.h"
#include "common/units.h"
#include "inject/fd_levels.h"
#include "recording_platform.h"

namespace stratocue::inject {
namespace {

using fdwinds::FdLevel;
using fdwinds::FdLevelValues;
using testing::RecordedLink;

const std::vector<std::int32_t> kFdOffsets = {offsets::kTemperature.offset,   offsets::kWindAloftAltitude.offset,
                                              offsets::kGust.offset,          offsets::kWindSpeed.offset,
                                              offsets::kWindDirection.offset, offsets::kMessageText.offset,
                                              offsets::kMessageShow.offset};

// The shortest text that reads back as exactly `value`.
std::string exactText(double value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return {buffer.data(), result.ptr};
}

// One decoded row "SFO" with `values` at `level`.
fdwinds::FdWinds oneRow(FdLevel level, FdLevelValues values) {
    fdwinds::FdWinds winds;
    winds.rowCount = 1;
    winds.rowId[1] = "SFO";
    winds.levels[1][static_cast<std::size_t>(level)] = values;
    return winds;
}

std::vector<std::byte> bytesOf(const std::string& text) {
    std::vector<std::byte> bytes;
    for (const char c : text) bytes.push_back(static_cast<std::byte>(c));
    bytes.push_back(std::byte{0});
    return bytes;
}

metar::MetarReport surfaceWind(const char* winddir, const char* windspeed) {
    metar::MetarReport report;
    report.winddir = winddir;
    report.windspeed = windspeed;
    return report;
}

using units::kFeetPerMetre;

TEST(SelectFdLevel, LowestLevelWhoseThresholdIsAboveTheAltitude) {
    struct Case {
        const char* name;
        double altitudeMetres;
        FdLevel level;
    };
    const std::vector<Case> cases = {
        {"Ground", 0.0, FdLevel::K3},
        {"BelowSeaLevel", -50.0, FdLevel::K3},
        {"JustBelow4500Feet", std::nextafter(4500 / kFeetPerMetre, 0.0), FdLevel::K3},
        {"Exactly4500FeetIsNext", 4500 / kFeetPerMetre, FdLevel::K6},
        {"Exactly7500Feet", 7500 / kFeetPerMetre, FdLevel::K9},
        {"Between15000And21000Feet", 5000.0, FdLevel::K18},
        {"JustAbove32000Feet", 32000 / kFeetPerMetre + 1, FdLevel::K34},
        {"JustBelow35500Feet", std::nextafter(35500 / kFeetPerMetre, 0.0), FdLevel::K34},
        {"Exactly35500FeetIsTop", 35500 / kFeetPerMetre, FdLevel::K39},
        {"WellAbove", 20000.0, FdLevel::K39},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(selectFdLevel(c.altitudeMetres), c.level);
    }
}

TEST(FdLevelAltitude, FeetOver3285RoundedToEven) {
    struct Case {
        FdLevel level;
        std::int16_t metres;
        bool negated;
    };
    const std::vector<Case> cases = {
        {FdLevel::K3, 913, false},   {FdLevel::K6, 1826, false},  {FdLevel::K9, 2740, false},
        {FdLevel::K12, 3653, false}, {FdLevel::K18, 5479, false}, {FdLevel::K24, 7306, false},
        {FdLevel::K30, 9132, true},  {FdLevel::K34, 10350, true}, {FdLevel::K39, 11872, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.level));
        EXPECT_EQ(fdLevelAltitudeMetres(c.level), c.metres);
        EXPECT_EQ(fdLevelTemperatureNegated(c.level), c.negated);
    }
}

TEST(FdSet, AltitudeTextPicksTheLevel) {
    struct Case {
        const char* name;
        std::string altitude;
        std::uint16_t speedOfLevel;  // each level's speed is its column number
    };
    const std::vector<Case> cases = {
        {"Ground", "0", 1},
        {"Exactly4500Feet", exactText(4500 / kFeetPerMetre), 2},
        {"JustBelow4500Feet", exactText(std::nextafter(4500 / kFeetPerMetre, 0.0)), 1},
        {"Above35500Feet", exactText(35500 / kFeetPerMetre + 0.001), 9},
        {"EmptyIsGround", "", 1},
    };
    fdwinds::FdWinds winds;
    winds.rowCount = 1;
    winds.rowId[1] = "SFO";
    for (std::size_t column = 0; column < fdwinds::kLevelCount; ++column) {
        winds.levels[1][column] = {27, static_cast<std::int16_t>(column + 1), 10};
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedLink recorded;
        FD_Set(recorded.link, winds, 1, metar::MetarReport{}, {false, c.altitude});
        EXPECT_EQ(recorded.platform.value16At(offsets::kWindSpeed.offset), c.speedOfLevel);
    }
}

TEST(FdSet, WorkedExampleAt39000Feet) {
    RecordedLink recorded;
    ASSERT_TRUE(recorded.opened);
    FD_Set(recorded.link, oneRow(FdLevel::K39, {27, 45, 56}), 1, metar::MetarReport{}, {false, "12000"});
    const auto& platform = recorded.platform;
    EXPECT_EQ(platform.writtenOffsets(), kFdOffsets);
    for (const auto& exchange : platform.exchanges()) EXPECT_EQ(exchange.size(), 1U);
    EXPECT_EQ(platform.value16At(offsets::kTemperature.offset), 14 * 256);
    EXPECT_EQ(platform.value16At(offsets::kWindAloftAltitude.offset), 30000);
    EXPECT_EQ(platform.value16At(offsets::kGust.offset), 0);
    EXPECT_EQ(platform.value16At(offsets::kWindSpeed.offset), 45);
    EXPECT_EQ(platform.value16At(offsets::kWindDirection.offset), 49150);
    EXPECT_EQ(platform.bytesAt(offsets::kMessageText.offset), bytesOf("Stratocue->FD Winds Aloft SFO: 270 /45 /-56"));
    EXPECT_EQ(platform.value16At(offsets::kMessageShow.offset), 0xFFFF);
}

TEST(FdSet, WindCodes) {
    struct Case {
        const char* name;
        FdLevelValues values;
        metar::MetarReport report;
        std::uint16_t speed;
        std::uint16_t direction;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"FastWindCode75Is250At110", {75, 10, 56}, {}, 110, 45510, "250 /110 /-56"},
        {"LightAndVariableTakesReportWind", {99, 0, 56}, surfaceWind("230", "12"), 12, 41869, "230 /12 /-56"},
        {"LightAndVariableWithVariableReportWritesZero", {99, 0, 56}, surfaceWind("VRB", "5"), 5, 0, "0 /5 /-56"},
        {"LightAndVariableReportSpeedRounded", {99, 0, 56}, surfaceWind("230", "12.5"), 12, 41869, "230 /12 /-56"},
        {"LightAndVariableReport360", {99, 0, 56}, surfaceWind("360", "8"), 8, 65352, "359 /8 /-56"},
        {"Code36WrittenAs359", {36, 20, 56}, {}, 20, 65352, "359 /20 /-56"},
        {"CalmLevelStillWritesDirection", {0, 0, 0}, {}, 0, 0, "0 /0 /0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedLink recorded;
        FD_Set(recorded.link, oneRow(FdLevel::K39, c.values), 1, c.report, {false, "12000"});
        EXPECT_EQ(recorded.platform.value16At(offsets::kWindSpeed.offset), c.speed);
        EXPECT_EQ(recorded.platform.value16At(offsets::kWindDirection.offset), c.direction);
        EXPECT_EQ(recorded.platform.bytesAt(offsets::kMessageText.offset),
                  bytesOf("Stratocue->FD Winds Aloft SFO: " + c.message));
    }
}

TEST(FdSet, TemperatureRaisedByLevelHeight) {
    struct Case {
        const char* name;
        FdLevel level;
        const char* altitude;
        std::int16_t decodedC;
        std::int16_t writtenC;
        std::string messageTemp;
    };
    const std::vector<Case> cases = {
        {"ThreeThousandFeetAsDecoded", FdLevel::K3, "0", 10, 15, "10"},  // 913 m: +5.4
        {"ThreeThousandFeetBelowZero", FdLevel::K3, "0", -5, 0, "-5"},
        {"ThirtyThousandNegated", FdLevel::K30, "9500", 40, 14, "-40"},  // 9132 m: +54.0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedLink recorded;
        FD_Set(recorded.link, oneRow(c.level, {27, 45, c.decodedC}), 1, {}, {false, c.altitude});
        EXPECT_EQ(recorded.platform.value16At(offsets::kTemperature.offset),
                  static_cast<std::uint16_t>(c.writtenC * 256));
        EXPECT_EQ(recorded.platform.bytesAt(offsets::kMessageText.offset),
                  bytesOf("Stratocue->FD Winds Aloft SFO: 270 /45 /" + c.messageTemp));
    }
}

TEST(FdSet, WhatIsWritten) {
    struct Case {
        const char* name;
        std::int16_t row;
        std::int16_t rowCount;
        bool messagesDisabled;
        std::vector<std::int32_t> offsets;
    };
    const std::vector<Case> cases = {
        {"MessageDisabledFiveValues",
         1,
         1,
         true,
         {offsets::kTemperature.offset, offsets::kWindAloftAltitude.offset, offsets::kGust.offset,
          offsets::kWindSpeed.offset, offsets::kWindDirection.offset}},
        {"RowZeroNothing", 0, 1, false, {}},
        {"RowAboveCountNothing", 2, 1, false, {}},
        {"NegativeRowNothing", -1, 1, false, {}},
        {"RowBeyondLevelTableNothing", 501, 600, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fdwinds::FdWinds winds = oneRow(FdLevel::K39, {27, 45, 56});
        winds.rowCount = c.rowCount;
        RecordedLink recorded;
        FD_Set(recorded.link, winds, c.row, {}, {c.messagesDisabled, "12000"});
        EXPECT_EQ(recorded.platform.writtenOffsets(), c.offsets);
    }
}

TEST(FdSet, ValueThatDoesNotFitIsSkipped) {
    struct Case {
        const char* name;
        FdLevel level;
        const char* altitude;
        FdLevelValues values;
        metar::MetarReport report;
        std::vector<std::int32_t> offsets;
    };
    const std::vector<Case> cases = {
        {"FastSpeedOver16BitsSkipsSpeedAndMessage",
         FdLevel::K39,
         "12000",
         {60, 32700, 56},
         {},
         {offsets::kTemperature.offset, offsets::kWindAloftAltitude.offset, offsets::kGust.offset,
          offsets::kWindDirection.offset}},
        {"TemperatureOver127SkipsOnlyTemperature",
         FdLevel::K3,
         "0",
         {27, 45, 200},
         {},
         {offsets::kWindAloftAltitude.offset, offsets::kGust.offset, offsets::kWindSpeed.offset,
          offsets::kWindDirection.offset, offsets::kMessageText.offset, offsets::kMessageShow.offset}},
        {"TemperatureThatCannotBeNegated",
         FdLevel::K39,
         "12000",
         {27, 45, -32768},
         {},
         {offsets::kWindAloftAltitude.offset, offsets::kGust.offset, offsets::kWindSpeed.offset,
          offsets::kWindDirection.offset}},
        {"ReportDirectionBeyond32Bits",
         FdLevel::K39,
         "12000",
         {99, 0, 56},
         surfaceWind("99999999999", "5"),
         {offsets::kTemperature.offset, offsets::kWindAloftAltitude.offset, offsets::kGust.offset,
          offsets::kWindSpeed.offset}},
        {"DirectionProductBeyond32Bits",
         FdLevel::K39,
         "12000",
         {99, 0, 56},
         surfaceWind("40000", "5"),
         {offsets::kTemperature.offset, offsets::kWindAloftAltitude.offset, offsets::kGust.offset,
          offsets::kWindSpeed.offset}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedLink recorded;
        ASSERT_NO_THROW(FD_Set(recorded.link, oneRow(c.level, c.values), 1, c.report, {false, c.altitude}));
        EXPECT_EQ(recorded.platform.writtenOffsets(), c.offsets);
    }
}

}  // namespace
}  // namespace stratocue::inject
