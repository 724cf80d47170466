#pragma once

#include <string>

#include "fdwinds/fd_bulletin_source.h"
#include "fdwinds/fd_sources.h"

namespace stratocue::fdwinds {

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

// The classic pages at the host servers.txt names as "fdwinds"; no default, so they are
// used only when named.
extern const FdSourceEntry kClassicFdPagesSource;

}  // namespace stratocue::fdwinds
