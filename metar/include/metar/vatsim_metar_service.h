#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "metar/metar_report_source.h"
#include "metar/metar_source_entry.h"

namespace stratocue::metar {

// The VATSIM METAR service: "<base>/<ID>" with the identifier upper-cased.
class VatsimMetarService final : public MetarReportSource {
public:
    explicit VatsimMetarService(std::string base);

    [[nodiscard]] std::string requestUrl(std::string_view stationId) const override;
    [[nodiscard]] std::optional<std::string> reportFromAnswer(const WebAnswer& answer,
                                                              std::string_view stationId) const override;

private:
    std::string base_;
};

// The VATSIM METAR service for "VATSIM METARs" checked: "vatsim_api" in servers.txt, by
// default https://metar.vatsim.net.
extern const MetarSourceEntry kVatsimMetarServiceSource;

}  // namespace stratocue::metar
