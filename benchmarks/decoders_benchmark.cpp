// How long the work of one tick takes: the station search over the full station list, and
// the decoders on real reports and bulletins. Run by hand: build/default/benchmarks/stratocue_benchmarks

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/station_search.h"
#include "common/fd_regions.h"
#include "fdwinds/fd_decoder.h"
#include "metar/metar_decoder.h"
#include "stations/stations_load.h"

namespace {

using namespace stratocue;

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

void NearestStationOverTheShippedList(benchmark::State& state) {
    stations::StationTables tables;
    (void)stations::Stations_Load(tables, {STRATOCUE_DATA_DIR, {}, {}, {}});
    bool forcedActive = false;
    std::int16_t tempClosest = 0;
    for (auto _ : state) {
        const auto choice = app::findStation(tables, 0.6565, -2.1357, "", 60, forcedActive, tempClosest);
        benchmark::DoNotOptimize(choice);
    }
    state.SetItemsProcessed(state.iterations() * tables.StationCount);
}
BENCHMARK(NearestStationOverTheShippedList);

void DecodeSampleReports(benchmark::State& state) {
    std::vector<std::string> reports;
    std::istringstream lines(readFile(std::filesystem::path(STRATOCUE_TEST_DATA_DIR) / "metar" / "samples.txt"));
    for (std::string line; std::getline(lines, line);) reports.push_back(line);
    for (auto _ : state) {
        for (const std::string& report : reports) {
            metar::MetarReport fields;
            benchmark::DoNotOptimize(metar::decodeMetar(report, fields));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(reports.size()));
}
BENCHMARK(DecodeSampleReports);

void DecodeSevenBulletinPages(benchmark::State& state) {
    std::vector<std::string> pages;
    for (const FdRegionNames& region : kFdRegions) {
        pages.push_back(readFile(std::filesystem::path(STRATOCUE_TEST_DATA_DIR) / "fdwinds" / "pages-171357" /
                                 (std::string(region.name) + "_fd1.shtml")));
    }
    fdwinds::FdWinds winds;
    for (auto _ : state) {
        std::vector<std::string> cuts;
        for (const std::string& page : pages) cuts.push_back(fdwinds::FD_CutBulletin(page));
        fdwinds::FD_DecodeRows(fdwinds::FD_SplitTokens(fdwinds::FD_JoinCuts(cuts)), "15", winds);
        benchmark::DoNotOptimize(winds.rowCount);
    }
}
BENCHMARK(DecodeSevenBulletinPages);

}  // namespace

BENCHMARK_MAIN();
