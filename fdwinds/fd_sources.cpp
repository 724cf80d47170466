#include "fdwinds/fd_sources.h"

#include <array>
#include <memory>
#include <stdexcept>

#include "fdwinds/classic_fd_pages.h"
#include "fdwinds/data_api_windtemp.h"

namespace stratocue::fdwinds {
namespace {

// Every FD bulletin source, one line each, in the order servers.txt decides among them.
const std::array<const FdSourceEntry*, 2> kFdSources{
    &kClassicFdPagesSource,
    &kDataApiWindTempSource,
};

}  // namespace

std::unique_ptr<FdBulletinSource> chooseFdSource(const ServerAddresses& servers) {
    const auto chosen = chooseSource<FdSourceEntry>(servers, kFdSources);
    if (!chosen) throw std::logic_error("no FD bulletin source");
    return chosen->source->make(chosen->address);
}

}  // namespace stratocue::fdwinds
