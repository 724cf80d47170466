#include "fdwinds/data_api_windtemp.h"

#include <cstddef>
#include <memory>
#include <utility>

#include "web/data_api_server.h"

namespace stratocue::fdwinds {
namespace {

constexpr std::string_view kWindTempPath = "/api/data/windtemp?region=";
constexpr std::string_view kWindTempLowLevelSixHours = "&level=low&fcst=06";

}  // namespace

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

const FdSourceEntry kDataApiWindTempSource{kDataApiServer, [](std::string base) -> std::unique_ptr<FdBulletinSource> {
                                               return std::make_unique<DataApiWindTemp>(std::move(base));
                                           }};

}  // namespace stratocue::fdwinds
