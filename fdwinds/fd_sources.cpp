#include "fdwinds/fd_sources.h"

#include <cstddef>
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

std::unique_ptr<FdBulletinSource> chooseFdSource(const ServerAddresses& servers) {
    if (servers.fdwinds) return std::make_unique<ClassicFdPages>(*servers.fdwinds);
    return std::make_unique<DataApiWindTemp>(servers.awcApi);
}

}  // namespace stratocue::fdwinds
