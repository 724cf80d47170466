#include "web/url_text.h"

#include <string_view>

namespace stratocue {
namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";
constexpr unsigned char kBlank = 0x20;   // the control characters lie below it
constexpr unsigned char kDelete = 0x7F;  // a control character too; the bytes above are not ASCII

// Bytes a URL cannot carry as they are: the blank ends it, "#" starts a fragment, "%"
// starts an escape, control characters and bytes above 127 are not allowed at all.
bool needsEncoding(unsigned char code) { return code <= kBlank || code >= kDelete || code == '#' || code == '%'; }

}  // namespace

std::string percentEncodeUnsafe(std::string_view text) {
    std::string encoded;
    encoded.reserve(text.size());
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (!needsEncoding(code)) {
            encoded += c;
            continue;
        }
        encoded += '%';
        encoded += kHexDigits[code >> 4];
        encoded += kHexDigits[code & 0x0F];
    }
    return encoded;
}

}  // namespace stratocue
