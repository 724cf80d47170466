// The report cut of a weather-service METAR page, then the decoder on what it cut.

#include "metar_page_cut.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    stratocue::fuzz::cutAndDecodePage(data, size, stratocue::metar::MetarSource::WeatherService);
    return 0;
}
