#include "metar/metar_source_choice.h"

#include <array>
#include <stdexcept>
#include <vector>

#include "metar/classic_metar_pages.h"
#include "metar/data_api_metar_service.h"
#include "metar/vatsim_metar_service.h"

namespace stratocue::metar {
namespace {

// Every METAR source, one line each. For a choice, the first of its sources whose key
// servers.txt names is used; else the first with a default address.
const std::array<const MetarSourceEntry*, 4> kMetarSources{
    &kClassicVatsimPageSource,
    &kVatsimMetarServiceSource,
    &kClassicWeatherServicePageSource,
    &kDataApiMetarServiceSource,
};

}  // namespace

std::unique_ptr<MetarReportSource> chooseMetarSource(const ServerAddresses& servers, MetarSource selected) {
    std::vector<const MetarSourceEntry*> candidates;
    for (const MetarSourceEntry* source : kMetarSources) {
        if (source->choice == selected) candidates.push_back(source);
    }
    const auto chosen = chooseSource<MetarSourceEntry>(servers, candidates);
    if (!chosen) throw std::logic_error("no METAR source serves this choice");
    return chosen->source->make(chosen->address);
}

}  // namespace stratocue::metar
