// METAR decoding throughput over a whole collection of real reports, one report a line:
// the report files of the corpus folder given at configure time (STRATOCUE_METAR_CORPUS),
// or the sample the tests ship when that folder was not there.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "metar/metar_decoder.h"

namespace {

using namespace stratocue;

// The report files, named in one text separated by "|".
std::vector<std::string> reportFiles() {
    std::vector<std::string> files;
    std::istringstream names(STRATOCUE_METAR_REPORT_FILES);
    for (std::string name; std::getline(names, name, '|');) files.push_back(name);
    return files;
}

// Every non-empty line of every report file, bytes as they are.
std::vector<std::string> corpusReports() {
    std::vector<std::string> reports;
    for (const std::string& file : reportFiles()) {
        std::ifstream lines(file, std::ios::binary);
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty()) reports.push_back(line);
        }
    }
    return reports;
}

void DecodeMetarCorpus(benchmark::State& state) {
    const std::vector<std::string> reports = corpusReports();
    if (reports.empty()) {
        state.SkipWithError("no reports in " STRATOCUE_METAR_REPORT_FILES);
        return;
    }
    std::int64_t faulted = 0;
    for (auto _ : state) {
        for (const std::string& report : reports) {
            metar::MetarReport fields;
            const metar::MetarDecodeResult result = metar::decodeMetar(report, fields);
            faulted += result.faulted ? 1 : 0;
            benchmark::DoNotOptimize(fields);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(reports.size()));
    state.counters["reports"] = static_cast<double>(reports.size());
    state.counters["faulted"] = static_cast<double>(faulted) / static_cast<double>(state.iterations());
    state.SetLabel(STRATOCUE_METAR_REPORTS_NAME);
}
BENCHMARK(DecodeMetarCorpus)->Unit(benchmark::kMillisecond);

}  // namespace
