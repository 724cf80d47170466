// standin-wx: a stand-in weather server for tests and the demo, serving METAR pages of
// both layouts and the seven FD bulletin pages from a data folder on 127.0.0.1.
#include <pthread.h>

#include <csignal>
#include <iostream>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "standins/wx/wx_data_error.h"
#include "standins/wx/wx_options.h"
#include "standins/wx/wx_server.h"
#include "standins/wx/wx_weather_data.h"
#include "tools/fd_split/split_job.h"

namespace {

constexpr int kUsageError = 2;
constexpr int kRunError = 1;

using namespace stratocue::standins;
using stratocue::FdRegion;
using stratocue::kAllFdRegions;

int splitBulletins(const WxSplitJob& job) {
    try {
        const stratocue::tools::FdSplitJob splitJob{job.nationalFile, job.stationsFile, job.alaskaFile, job.outFolder};
        for (const stratocue::tools::RegionalBulletin& bulletin : stratocue::tools::runSplitJob(splitJob)) {
            std::cout << "standin-wx: wrote " << job.outFolder << '/' << fdBulletinFileName(bulletin.region) << " ("
                      << bulletin.text.size() << " bytes)\n";
        }
    } catch (const stratocue::tools::FdSplitError& error) {
        std::cerr << "standin-wx: " << error.what() << '\n';
        return kRunError;
    }
    return 0;
}

int serve(const WxOptions& options) {
    // Stop signals are taken by sigwait below; blocked before any thread starts, so that
    // no serving thread receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    WeatherData data;
    try {
        data = loadWeatherData(options.dataFolder);
    } catch (const WxDataError& error) {
        std::cerr << "standin-wx: " << error.what() << '\n';
        return kRunError;
    }
    for (const FdRegion region : kAllFdRegions) {
        if (!data.fdBulletins[fdRegionIndex(region)]) {
            std::cerr << "standin-wx: no fd/" << fdBulletinFileName(region) << "; " << fdPagePath(region)
                      << " answers 404\n";
        }
    }

    WxServer server(std::move(data), options.faults, &std::cerr);
    try {
        const int port = server.start(options.port);
        std::cout << "standin-wx: listening on http://127.0.0.1:" << port << std::endl;
    } catch (const std::runtime_error& error) {
        std::cerr << "standin-wx: " << error.what() << '\n';
        return kRunError;
    }
    int received = 0;
    sigwait(&stopSignals, &received);
    server.stop();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const ParsedWxOptions parsed = parseWxOptions(arguments);
    if (!parsed.error.empty()) {
        std::cerr << "standin-wx: " << parsed.error << '\n' << wxUsage();
        return kUsageError;
    }
    if (parsed.options.showHelp) {
        std::cout << wxUsage();
        return 0;
    }
    if (parsed.options.split) return splitBulletins(*parsed.options.split);
    return serve(parsed.options);
}
