#include "fdwinds/classic_fd_pages.h"

#include <cstddef>
#include <memory>
#include <utility>

#include "fdwinds/fd_decoder.h"
#include "fdwinds/fd_select.h"

namespace stratocue::fdwinds {

ClassicFdPages::ClassicFdPages(std::string host) : host_(std::move(host)) {}

FdBulletinUrls ClassicFdPages::bulletinUrls() const {
    FdBulletinUrls urls;
    for (std::size_t i = 0; i < urls.size(); ++i) urls[i] = host_ + std::string(FdRegionPages[i]);
    return urls;
}

std::string ClassicFdPages::stationTableFromAnswer(const WebAnswer& answer) const {
    requireClassicPage(answer);
    return FD_CutBulletin(answer.text);
}

const FdSourceEntry kClassicFdPagesSource{{"fdwinds", ""}, [](std::string host) -> std::unique_ptr<FdBulletinSource> {
                                              return std::make_unique<ClassicFdPages>(std::move(host));
                                          }};

}  // namespace stratocue::fdwinds
