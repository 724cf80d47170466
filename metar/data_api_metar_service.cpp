#include "metar/data_api_metar_service.h"

#include <memory>
#include <utility>

#include "metar/metar_services.h"
#include "web/data_api_server.h"
#include "web/url_text.h"

namespace stratocue::metar {
namespace {

constexpr std::string_view kDataApiMetarPath = "/api/data/metar?ids=";
constexpr std::string_view kDataApiMetarFormat = "&format=raw&hours=3";

}  // namespace

DataApiMetarService::DataApiMetarService(std::string base) : base_(std::move(base)) {}

std::string DataApiMetarService::requestUrl(std::string_view stationId) const {
    return base_ + std::string(kDataApiMetarPath) + percentEncodeUnsafe(stationId) + std::string(kDataApiMetarFormat);
}

std::optional<std::string> DataApiMetarService::reportFromAnswer(const WebAnswer& answer,
                                                                 std::string_view stationId) const {
    return reportFromServiceAnswer(answer, stationId);
}

const MetarSourceEntry kDataApiMetarServiceSource{kDataApiServer, MetarSource::WeatherService,
                                                  [](std::string base) -> std::unique_ptr<MetarReportSource> {
                                                      return std::make_unique<DataApiMetarService>(std::move(base));
                                                  }};

}  // namespace stratocue::metar
