#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "common/server_addresses.h"
#include "fdwinds/fd_bulletin_source.h"

namespace stratocue::fdwinds {

// The data API's names of the seven regions, in FdRegionPages order.
inline constexpr std::array<std::string_view, kFdRegionCount> FdWindTempRegions{"sfo", "slc", "chi",   "dfw",
                                                                                "bos", "mia", "alaska"};

// The station table of a data-API winds-aloft text, in the form FD_CutBulletin gives from
// a page: the rows after the line that holds "39000" up to the end of the text (its last
// line end dropped). CR LF reads as LF. Throws FdFormatError when no line holds "39000"
// or nothing follows that line.
[[nodiscard]] std::string FD_CutWindTempText(std::string_view answerText);

// The classic bulletin pages at a host, FdRegionPages appended; each page is cut with
// FD_CutBulletin. An error status or an empty page is a failure.
class ClassicFdPages final : public FdBulletinSource {
public:
    explicit ClassicFdPages(std::string host);

    [[nodiscard]] FdBulletinUrls bulletinUrls() const override;
    [[nodiscard]] std::string stationTableFromAnswer(const WebAnswer& answer) const override;

private:
    std::string host_;
};

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

// The bulletin source: the classic pages at the fdwinds host when servers.txt names one,
// else the data API at awcApi.
[[nodiscard]] std::unique_ptr<FdBulletinSource> chooseFdSource(const ServerAddresses& servers);

}  // namespace stratocue::fdwinds
