// The name shared by the mapping and its atom: message name, process id in hex, open count.
#include "simlink/link.h"

namespace stratocue::simlink {

std::string mappingName(std::uint32_t processId, std::uint32_t openCount) {
    constexpr std::string_view kHexDigits = "0123456789ABCDEF";
    std::string hex;
    do {
        hex.insert(hex.begin(), kHexDigits[processId & 0xFU]);
        processId >>= 4;
    } while (processId != 0);
    return std::string(kMessageName) + ":" + hex + ":" + std::to_string(openCount);
}

}  // namespace stratocue::simlink
