#pragma once

#include <string>

#include "fdwinds/fd_bulletin_source.h"
#include "fdwinds/fd_sources.h"

namespace stratocue::fdwinds {

// The data API's low-level 6-hour forecast of each region,
// "<base>/api/data/windtemp?region=<r>&level=low&fcst=06". A status outside 200..299, 204,
// an empty body or a text without the bulletin is a failure.
class DataApiWindTemp final : public FdBulletinSource {
public:
    explicit DataApiWindTemp(std::string base);

    [[nodiscard]] FdBulletinUrls bulletinUrls() const override;
    [[nodiscard]] std::string stationTableFromAnswer(const WebAnswer& answer) const override;

private:
    std::string base_;
};

// The data API's winds aloft: "awc_api" in servers.txt, by default
// https://aviationweather.gov.
extern const FdSourceEntry kDataApiWindTempSource;

}  // namespace stratocue::fdwinds
