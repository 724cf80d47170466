#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "metar/metar_report_source.h"
#include "metar/metar_source_entry.h"

namespace stratocue::metar {

// The aviation-weather data API: "<base>/api/data/metar?ids=<ID>&format=raw&hours=3" with the
// identifier (or comma-separated identifiers) as given. The three hours reach stations that
// report only every few hours; of several reports of a station the newest counts.
class DataApiMetarService final : public MetarReportSource {
public:
    explicit DataApiMetarService(std::string base);

    [[nodiscard]] std::string requestUrl(std::string_view stationId) const override;
    [[nodiscard]] bool takesSeveralStations() const override { return true; }
    [[nodiscard]] std::optional<std::string> reportFromAnswer(const WebAnswer& answer,
                                                              std::string_view stationId) const override;

private:
    std::string base_;
};

// The data API's METARs for "VATSIM METARs" not checked: "awc_api" in servers.txt, by
// default https://aviationweather.gov.
extern const MetarSourceEntry kDataApiMetarServiceSource;

}  // namespace stratocue::metar
