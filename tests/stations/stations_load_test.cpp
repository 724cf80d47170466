#include "stations/stations_load.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "common/units.h"
#include "tests/support/temp_folder.h"

namespace stratocue::stations {
namespace {

namespace fs = std::filesystem;

using units::kDegreesPerRadian;
constexpr double kToleranceRadians = 1e-11;

const fs::path kSampleFolder = STATIONS_TEST_DATA_DIR;
const fs::path kRealDataFolder = STATIONS_REAL_DATA_DIR;

double radiansFromDegrees(double degrees) { return degrees / kDegreesPerRadian; }

// Runs the loader with actions that record what they were asked to do, in order.
struct LoadRun {
    bool loaded = false;
    StationTables tables;
    std::vector<std::string> events;

    void load(const fs::path& folder) {
        StationLoadActions actions;
        actions.folder = folder;
        actions.showMessage = [this](std::string_view text) { events.push_back("message: " + std::string(text)); };
        actions.closeLink = [this] { events.emplace_back("closeLink"); };
        actions.destroyMainAndSplash = [this] { events.emplace_back("destroyMainAndSplash"); };
        loaded = Stations_Load(tables, actions);
    }
};

const std::vector<std::string> kFailureEvents = {
    "message: Error reading ICAO.TXT or FDWINDS.TXT - Make sure they exist and are valid",
    "closeLink",
    "destroyMainAndSplash",
};

std::string repeatedStationLines(int count, std::string_view lineEnd) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
        text += "S" + std::to_string(i) + ",N,1,0,E,2,0," + std::to_string(i % 1000) + std::string(lineEnd);
    }
    return text;
}

void expectTablesSized(const StationTables& tables) {
    EXPECT_EQ(tables.StationList.size(), 5001U);
    EXPECT_EQ(tables.FdStationList.size(), 2001U);
}

TEST(StationsLoad, ReadsBothSampleFiles) {
    LoadRun run;
    run.load(kSampleFolder / "small");

    EXPECT_TRUE(run.events.empty());
    EXPECT_FALSE(!run.loaded);
    expectTablesSized(run.tables);
    ASSERT_EQ(run.tables.StationCount, 4);
    ASSERT_EQ(run.tables.FdStationCount, 2);

    struct Expected {
        const char* id;
        double latitudeDegrees;
        double longitudeDegrees;
        std::int16_t elevationMetres;
    };
    const std::vector<Expected> metar = {
        {"KSFO", 37.61667, -122.36667, 4},
        {"YSSY", -33.95, 151.16667, 3},
        {"EGLL", 51.48333, -0.46667, 26},
        {"KDEN", 39.85, -104.66667, 1655},
    };
    for (std::size_t i = 0; i < metar.size(); ++i) {
        SCOPED_TRACE(metar[i].id);
        const Station& station = run.tables.StationList[i + 1];
        EXPECT_EQ(station.id, metar[i].id);
        EXPECT_NEAR(station.latitude, radiansFromDegrees(metar[i].latitudeDegrees), kToleranceRadians);
        EXPECT_NEAR(station.longitude, radiansFromDegrees(metar[i].longitudeDegrees), kToleranceRadians);
        EXPECT_EQ(station.elevation, metar[i].elevationMetres);
    }
    EXPECT_EQ(run.tables.FdStationList[1].id, "SFO");
    EXPECT_EQ(run.tables.FdStationList[2].id, "JFK");
    EXPECT_NEAR(run.tables.FdStationList[2].latitude, radiansFromDegrees(40.63333), kToleranceRadians);
    EXPECT_NEAR(run.tables.FdStationList[2].longitude, radiansFromDegrees(-73.76667), kToleranceRadians);

    // Index 0 and everything past the counts stay empty.
    EXPECT_TRUE(run.tables.StationList[0].id.empty());
    EXPECT_TRUE(run.tables.StationList[5].id.empty());
    EXPECT_TRUE(run.tables.FdStationList[0].id.empty());
    EXPECT_TRUE(run.tables.FdStationList[3].id.empty());
}

TEST(StationsLoad, FilesWithoutDataLinesGiveEmptyTables) {
    struct Case {
        const char* name;
        std::string_view icao;
        std::string_view fdwinds;
    };
    const std::vector<Case> cases = {
        {"CommentAndBlankLine", "// stations\r\n\r\n", "// stations\r\n\r\n"},
        {"EmptyFiles", "", ""},
        {"OnlyShortLines", "KSFO\r\nABC\r\n    \r", "SFO\r\n"},
        {"EmptyLineBetweenCarriageReturns", "\r\r\n", "\r\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test_support::TempFolder folder;
        folder.write("icao.txt", c.icao);
        folder.write("fdwinds.txt", c.fdwinds);
        LoadRun run;
        run.load(folder.path());
        EXPECT_TRUE(run.events.empty());
        EXPECT_FALSE(!run.loaded);
        EXPECT_EQ(run.tables.StationCount, 0);
        EXPECT_EQ(run.tables.FdStationCount, 0);
        expectTablesSized(run.tables);
    }
}

TEST(StationsLoad, LineFeedOnlyFileIsOneLine) {
    LoadRun run;
    run.load(kSampleFolder / "lf_only");
    EXPECT_TRUE(run.events.empty());
    ASSERT_EQ(run.tables.StationCount, 1);
    EXPECT_EQ(run.tables.StationList[1].id, "KSFO");
    EXPECT_EQ(run.tables.StationList[1].elevation, 4);  // field 8 is "4\nKLAX"
}

TEST(StationsLoad, TableCapacity) {
    struct Case {
        const char* name;
        int icaoLines;
        int fdwindsLines;
        bool fails;
        std::int32_t stationCount;
        std::int32_t fdStationCount;
    };
    const std::vector<Case> cases = {
        {"FullTables", 5000, 2000, false, 5000, 2000},
        {"OneMetarStationTooMany", 5001, 1, true, 5000, 0},
        {"OneFdStationTooMany", 10, 2001, true, 10, 2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test_support::TempFolder folder;
        folder.write("icao.txt", "// header\r\n" + repeatedStationLines(c.icaoLines, "\r\n"));
        folder.write("fdwinds.txt", repeatedStationLines(c.fdwindsLines, "\r"));
        LoadRun run;
        run.load(folder.path());

        EXPECT_EQ(!run.loaded, c.fails);
        EXPECT_EQ(run.events, c.fails ? kFailureEvents : std::vector<std::string>{});
        EXPECT_EQ(run.tables.StationCount, c.stationCount);
        EXPECT_EQ(run.tables.FdStationCount, c.fdStationCount);
        expectTablesSized(run.tables);
        EXPECT_EQ(run.tables.StationList[static_cast<std::size_t>(c.stationCount)].id,
                  "S" + std::to_string(c.stationCount));
        EXPECT_EQ(run.tables.StationList[static_cast<std::size_t>(c.stationCount)].elevation, c.stationCount % 1000);
    }
}

TEST(StationsLoad, FailurePath) {
    struct Case {
        const char* name;
        fs::path folder;
        std::int32_t stationCount;
        std::int32_t fdStationCount;
    };
    const std::vector<Case> cases = {
        {"MissingFolder", kSampleFolder / "no_such_folder", 0, 0},
        {"MissingFdwindsAfterGoodIcao", kSampleFolder / "icao_only", 4, 0},
        {"ElevationOutOfRange", kSampleFolder / "bad_elevation", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadRun run;
        run.load(c.folder);
        EXPECT_EQ(run.events, kFailureEvents);
        EXPECT_TRUE(!run.loaded);
        EXPECT_EQ(run.tables.StationCount, c.stationCount);
        EXPECT_EQ(run.tables.FdStationCount, c.fdStationCount);
        expectTablesSized(run.tables);
    }
}

TEST(StationsLoad, EntriesBeforeFailureStay) {
    LoadRun run;
    run.load(kSampleFolder / "icao_only");
    ASSERT_TRUE(!run.loaded);
    ASSERT_EQ(run.tables.StationCount, 4);
    EXPECT_EQ(run.tables.StationList[1].id, "KSFO");
    EXPECT_EQ(run.tables.StationList[4].id, "KDEN");
    EXPECT_EQ(run.tables.StationList[4].elevation, 1655);
}

TEST(StationsLoad, UnreadableFilesFail) {
    struct Case {
        const char* name;
        bool icaoIsFolder;
        bool fdwindsIsFolder;
        bool writeFdwinds;
        std::int32_t stationCount;
    };
    const std::vector<Case> cases = {
        {"MissingIcao", false, false, true, 0},
        {"IcaoIsFolder", true, false, true, 0},
        {"FdwindsIsFolder", false, true, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test_support::TempFolder folder;
        if (c.icaoIsFolder) {
            fs::create_directory(folder.path() / "icao.txt");
        } else if (c.stationCount > 0) {
            folder.write("icao.txt", "KSFO,N,37,37,W,122,22,4\r\n");
        }
        if (c.fdwindsIsFolder) fs::create_directory(folder.path() / "fdwinds.txt");
        if (c.writeFdwinds) folder.write("fdwinds.txt", "SFO,N,37,37,W,122,22\r\n");

        LoadRun run;
        run.load(folder.path());
        EXPECT_EQ(run.events, kFailureEvents);
        EXPECT_TRUE(!run.loaded);
        EXPECT_EQ(run.tables.StationCount, c.stationCount);
        EXPECT_EQ(run.tables.FdStationCount, 0);
    }
}

TEST(StationsLoad, NumericFaultsFail) {
    struct Case {
        const char* name;
        std::string_view icao;
        std::string_view fdwinds;
        std::int32_t stationCount;
        std::int32_t fdStationCount;
    };
    const std::vector<Case> cases = {
        {"IcaoLatitudeNotFinite", "A1234,N,0,0,E,0,0,0\r\nB1234,N,1e999,0,E,0,0,0\r\n", "SFO\r\n", 1, 0},
        {"IcaoElevationNotFinite", "A1234,N,0,0,E,0,0,1e999\r\n", "SFO\r\n", 0, 0},
        {"IcaoElevationTooLow", "A1234,N,0,0,E,0,0,-40000\r\n", "SFO\r\n", 0, 0},
        {"FdwindsLongitudeNotFinite", "A1234,N,0,0,E,0,0,0\r\n", "SFO,N,1,0,E,0,1e999\r\n", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test_support::TempFolder folder;
        folder.write("icao.txt", c.icao);
        folder.write("fdwinds.txt", c.fdwinds);
        LoadRun run;
        run.load(folder.path());
        EXPECT_EQ(run.events, kFailureEvents);
        EXPECT_TRUE(!run.loaded);
        EXPECT_EQ(run.tables.StationCount, c.stationCount);
        EXPECT_EQ(run.tables.FdStationCount, c.fdStationCount);
    }
}

std::string pseudoRandomBytes(std::size_t size, std::uint32_t seed) {
    std::minstd_rand generator(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(generator() & 0xFFU);
    return bytes;
}

TEST(StationsLoad, GarbageBytesNeverCrash) {
    struct Case {
        const char* name;
        std::string icao;
    };
    const std::vector<Case> cases = {
        {"ZeroBytes", std::string(4096, '\0')},
        {"ZeroBytesWithLineEnds", std::string("\0\0\0\0\0\0\r\n\0,\0,\0,\0,\0\r", 16)},
        {"HighBytes", std::string(4096, '\xFF')},
        {"HighBytesWithCommas", "\xFF\xFF\xFF\xFF\xFF,S,\xFF,\xFF,W,\xFF,\xFF,\xFF\r\n"},
        {"LongLine", std::string(1 << 20, '9')},
        {"LongLineOfCommas", std::string(1 << 20, ',')},
        {"ManyLineEnds", std::string(200000, '\r')},
        {"PseudoRandom", pseudoRandomBytes(1 << 16, 1)},
        {"PseudoRandomOther", pseudoRandomBytes(1 << 16, 20240601)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test_support::TempFolder folder;
        folder.write("icao.txt", c.icao);
        folder.write("fdwinds.txt", c.icao);
        LoadRun run;
        run.load(folder.path());
        EXPECT_TRUE(run.events.empty() || run.events == kFailureEvents);
        EXPECT_EQ(!run.loaded, !run.events.empty());
        EXPECT_GE(run.tables.StationCount, 0);
        EXPECT_LE(run.tables.StationCount, kMaxMetarStations);
        EXPECT_GE(run.tables.FdStationCount, 0);
        EXPECT_LE(run.tables.FdStationCount, kMaxFdStations);
        expectTablesSized(run.tables);
    }
}

TEST(StationsLoad, TablesStartEmptyOnEveryLoad) {
    struct Case {
        const char* name;
        fs::path folder;
        bool startFailed;
    };
    const std::vector<Case> cases = {
        {"AfterGoodLoad", kSampleFolder / "small", false},
        {"AfterFailedLoad", kSampleFolder / "no_such_folder", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadRun run;
        run.loaded = true;
        run.tables.StationCount = 99;
        run.tables.FdStationCount = 98;

        run.load(c.folder);

        EXPECT_EQ(run.loaded, !c.startFailed);
        EXPECT_EQ(run.tables.StationCount, c.startFailed ? 0 : 4);
        EXPECT_EQ(run.tables.FdStationCount, c.startFailed ? 0 : 2);
    }
}

TEST(StationsLoad, MissingActionsAreSkipped) {
    StationTables tables;
    StationLoadActions actions;
    actions.folder = kSampleFolder / "no_such_folder";
    EXPECT_FALSE(Stations_Load(tables, actions));
}

TEST(StationsLoad, ShippedStationFiles) {
    LoadRun run;
    run.load(kRealDataFolder);
    ASSERT_TRUE(run.events.empty());
    EXPECT_FALSE(!run.loaded);
    EXPECT_EQ(run.tables.StationCount, 5000);
    EXPECT_EQ(run.tables.FdStationCount, 321);

    struct Known {
        const char* name;
        const std::vector<Station>& list;
        std::int32_t count;
        const char* id;
        double latitudeDegrees;
        double longitudeDegrees;
        std::int16_t elevationMetres;
    };
    const std::vector<Known> known = {
        {"MetarSanFrancisco", run.tables.StationList, run.tables.StationCount, "KSFO", 37.61667, -122.36667, 2},
        {"MetarSydney", run.tables.StationList, run.tables.StationCount, "YSSY", -33.95, 151.16667, 3},
        {"FdSanFrancisco", run.tables.FdStationList, run.tables.FdStationCount, "SFO", 37.61667, -122.36667, 0},
    };
    for (const Known& k : known) {
        SCOPED_TRACE(k.name);
        const Station* found = nullptr;
        for (std::int32_t i = 1; i <= k.count; ++i) {
            if (k.list[static_cast<std::size_t>(i)].id == k.id) found = &k.list[static_cast<std::size_t>(i)];
        }
        ASSERT_NE(found, nullptr);
        EXPECT_NEAR(found->latitude, radiansFromDegrees(k.latitudeDegrees), kToleranceRadians);
        EXPECT_NEAR(found->longitude, radiansFromDegrees(k.longitudeDegrees), kToleranceRadians);
        EXPECT_EQ(found->elevation, k.elevationMetres);
    }
}

}  // namespace
}  // namespace stratocue::stations
