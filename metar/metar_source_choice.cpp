#include "metar/metar_source_choice.h"

#include "metar/classic_metar_pages.h"
#include "metar/metar_services.h"

namespace stratocue::metar {

std::unique_ptr<MetarReportSource> chooseMetarSource(const ServerAddresses& servers, MetarSource selected) {
    if (selected == MetarSource::Vatsim) {
        if (servers.metarVatsim) return std::make_unique<ClassicMetarPages>(*servers.metarVatsim, MetarSource::Vatsim);
        return std::make_unique<VatsimMetarService>(servers.vatsimApi);
    }
    if (servers.metarNws) return std::make_unique<ClassicMetarPages>(*servers.metarNws, MetarSource::WeatherService);
    return std::make_unique<DataApiMetarService>(servers.awcApi);
}

}  // namespace stratocue::metar
