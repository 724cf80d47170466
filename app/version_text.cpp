#include "app/version_text.h"

#include "simlink/link.h"

namespace stratocue::app {

std::string versionText(std::int32_t serverVersion) {
    const auto digit = [serverVersion](std::int32_t bitPosition) {
        const std::int32_t nibble = simlink::Shift(serverVersion, bitPosition, false) & 15;
        return static_cast<char>('0' + nibble);
    };
    std::string text;
    text += digit(28);
    text += '.';
    text += digit(24);
    text += digit(20);
    text += digit(16);
    if ((serverVersion & 0xFFFF) != 0) {
        text += static_cast<char>(97 + (serverVersion & 0xFF) - 1);
    }
    return text;
}

}  // namespace stratocue::app
