// servers.txt: any text gives usable addresses: a host that is given is never empty and
// never ends in "/", so the sources can append their paths.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_input.h"
#include "web/server_addresses.h"

namespace {

bool usable(const std::optional<std::string>& address) {
    return !address || (!address->empty() && address->back() != '/');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace stratocue;
    const ServerAddresses addresses = parseServerAddresses(fuzz::asText(data, size));
    for (const char* key : {"metar_vatsim", "metar_nws", "fdwinds", "vatsim_api", "awc_api"}) {
        fuzz::expect(usable(addresses.named(key)), "a usable address");
    }
    return 0;
}
