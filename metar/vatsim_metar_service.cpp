#include "metar/vatsim_metar_service.h"

#include <memory>
#include <utility>

#include "common/ansi_text.h"
#include "metar/metar_services.h"
#include "web/url_text.h"

namespace stratocue::metar {

VatsimMetarService::VatsimMetarService(std::string base) : base_(std::move(base)) {}

std::string VatsimMetarService::requestUrl(std::string_view stationId) const {
    return base_ + "/" + percentEncodeUnsafe(upperAscii(stationId));
}

std::optional<std::string> VatsimMetarService::reportFromAnswer(const WebAnswer& answer,
                                                                std::string_view stationId) const {
    return reportFromServiceAnswer(answer, stationId);
}

const MetarSourceEntry kVatsimMetarServiceSource{{"vatsim_api", "https://metar.vatsim.net"},
                                                 MetarSource::Vatsim,
                                                 [](std::string base) -> std::unique_ptr<MetarReportSource> {
                                                     return std::make_unique<VatsimMetarService>(std::move(base));
                                                 }};

}  // namespace stratocue::metar
