#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "metar/metar_page.h"
#include "metar/metar_report_source.h"
#include "metar/metar_source_entry.h"

namespace stratocue::metar {

// The classic page layouts at a host: the VATSIM search page or the weather-service
// observation page, fetched and cut as metarPageUrl and cutReportFromPage say. An error
// status or an empty page is a failure; any other page without the report is "not found".
class ClassicMetarPages final : public MetarReportSource {
public:
    ClassicMetarPages(std::string host, MetarSource layout);

    [[nodiscard]] std::string requestUrl(std::string_view stationId) const override;
    [[nodiscard]] std::optional<std::string> reportFromAnswer(const WebAnswer& answer,
                                                              std::string_view stationId) const override;

private:
    std::string host_;
    MetarSource layout_;
};

// The classic VATSIM search page at the host servers.txt names as "metar_vatsim"; no
// default, so it is used only when named.
extern const MetarSourceEntry kClassicVatsimPageSource;
// The classic weather-service page at the host servers.txt names as "metar_nws"; likewise.
extern const MetarSourceEntry kClassicWeatherServicePageSource;

}  // namespace stratocue::metar
