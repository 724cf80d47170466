#include "fdwinds/fd_sources.h"

#include <array>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <utility>

#include "fdwinds/fd_decoder.h"
#include "fdwinds/fd_select.h"

namespace stratocue::fdwinds {
namespace {

constexpr std::string_view kWindTempPath = "/api/data/windtemp?region=";
constexpr std::string_view kWindTempLowLevelSixHours = "&level=low&fcst=06";

}  // namespace

ClassicFdPages::ClassicFdPages(std::string host) : host_(std::move(host)) {}

FdBulletinUrls ClassicFdPages::bulletinUrls() const {
    FdBulletinUrls urls;
    for (std::size_t i = 0; i < urls.size(); ++i) urls[i] = host_ + std::string(FdRegionPages[i]);
    return urls;
}

std::string ClassicFdPages::stationTableFromAnswer(const WebAnswer& answer) const {
    requireClassicPage(answer);
    return FD_CutBulletin(answer.text);
}

DataApiWindTemp::DataApiWindTemp(std::string base) : base_(std::move(base)) {}

FdBulletinUrls DataApiWindTemp::bulletinUrls() const {
    FdBulletinUrls urls;
    for (std::size_t i = 0; i < urls.size(); ++i) {
        urls[i] = base_ + std::string(kWindTempPath) + std::string(FdWindTempRegions[i]) +
                  std::string(kWindTempLowLevelSixHours);
    }
    return urls;
}

std::string DataApiWindTemp::stationTableFromAnswer(const WebAnswer& answer) const {
    requireServiceSuccess(answer);
    if (isEmptyAnswer(answer)) throw WebAnswerError("the weather service sent no winds-aloft bulletin");
    return FD_CutWindTempText(answer.text);
}

const FdSourceEntry kClassicFdPagesSource{{"fdwinds", ""}, [](std::string host) -> std::unique_ptr<FdBulletinSource> {
                                              return std::make_unique<ClassicFdPages>(std::move(host));
                                          }};

const FdSourceEntry kDataApiWindTempSource{{"awc_api", "https://aviationweather.gov"},
                                           [](std::string base) -> std::unique_ptr<FdBulletinSource> {
                                               return std::make_unique<DataApiWindTemp>(std::move(base));
                                           }};

namespace {

// Every FD bulletin source, one line each, in the order servers.txt decides among them.
const std::array<const FdSourceEntry*, 2> kFdSources{
    &kClassicFdPagesSource,
    &kDataApiWindTempSource,
};

}  // namespace

std::unique_ptr<FdBulletinSource> chooseFdSource(const ServerAddresses& servers) {
    const auto chosen = chooseSource<FdSourceEntry>(servers, kFdSources);
    if (!chosen) throw std::logic_error("no FD bulletin source");
    return chosen->source->make(chosen->address);
}

}  // namespace stratocue::fdwinds
