#include "metar/classic_metar_pages.h"

#include <memory>
#include <utility>

namespace stratocue::metar {

ClassicMetarPages::ClassicMetarPages(std::string host, MetarSource layout) : host_(std::move(host)), layout_(layout) {}

std::string ClassicMetarPages::requestUrl(std::string_view stationId) const {
    return metarPageUrl(host_, layout_, stationId);
}

std::optional<std::string> ClassicMetarPages::reportFromAnswer(const WebAnswer& answer,
                                                               std::string_view stationId) const {
    requireClassicPage(answer);
    return cutReportFromPage(answer.text, layout_, stationId);
}

const MetarSourceEntry kClassicVatsimPageSource{
    {"metar_vatsim", ""}, MetarSource::Vatsim, [](std::string host) -> std::unique_ptr<MetarReportSource> {
        return std::make_unique<ClassicMetarPages>(std::move(host), MetarSource::Vatsim);
    }};

const MetarSourceEntry kClassicWeatherServicePageSource{
    {"metar_nws", ""}, MetarSource::WeatherService, [](std::string host) -> std::unique_ptr<MetarReportSource> {
        return std::make_unique<ClassicMetarPages>(std::move(host), MetarSource::WeatherService);
    }};

}  // namespace stratocue::metar
