// servers.txt: any text gives usable addresses: a host that is given is never empty and
// never ends in "/", so the sources can append their paths.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "common/server_addresses.h"
#include "fuzz_input.h"

namespace {

bool usable(const std::string& address) { return !address.empty() && address.back() != '/'; }
bool usable(const std::optional<std::string>& address) { return !address || usable(*address); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace stratocue;
    const ServerAddresses addresses = parseServerAddresses(fuzz::asText(data, size));
    fuzz::expect(usable(addresses.metarVatsim), "a usable VATSIM page host");
    fuzz::expect(usable(addresses.metarNws), "a usable weather-service page host");
    fuzz::expect(usable(addresses.fdwinds), "a usable FD page host");
    fuzz::expect(usable(addresses.vatsimApi), "a usable VATSIM service address");
    fuzz::expect(usable(addresses.awcApi), "a usable data service address");
    return 0;
}
