#include "metar/metar_page.h"

#include <cstdint>
#include <string>

#include "common/ansi_text.h"
#include "metar/text_slices.h"
#include "web/url_text.h"

namespace stratocue::metar {
namespace {

constexpr std::string_view kVatsimPage = "/search_metar.html?cod=";
constexpr std::string_view kWeatherServicePage = "/cgi-bin/mgetmetar.pl?cccc=";
constexpr std::string_view kObservationPhrase = "The observation is:";
constexpr int kObservationSkip = 46;  // the phrase and the 27 characters after it
constexpr int kFirstPossibleStart = 47;
constexpr int kLongestReport = 255;
constexpr int kCharactersBeforeTag = 3;

}  // namespace

std::string metarPageUrl(std::string_view serverBase, MetarSource source, std::string_view stationId) {
    if (source == MetarSource::Vatsim)
        return std::string(serverBase) + std::string(kVatsimPage) + percentEncodeUnsafe(upperAscii(stationId));
    return std::string(serverBase) + std::string(kWeatherServicePage) + percentEncodeUnsafe(stationId);
}

std::optional<std::string> cutReportFromPage(std::string_view page, MetarSource source, std::string_view stationId) {
    std::int16_t start = 0;
    if (source == MetarSource::Vatsim) {
        start = checked16(1 + position16(page, ">" + upperAscii(stationId)));
    } else {
        start = checked16(position16(page, kObservationPhrase) + kObservationSkip);
    }
    if (start < kFirstPossibleStart) return std::nullopt;

    const std::string_view raw = mid(page, start, kLongestReport);
    const std::int16_t tagAt = position16(raw, "<");
    return std::string(left(raw, tagAt - kCharactersBeforeTag));
}

}  // namespace stratocue::metar
