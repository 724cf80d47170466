#include "web/page_text.h"
#include "common/ansi_text.h"
#include "common/fault.h"
#include "web/http_transfer.h"

#include <string>

namespace stratocue::web {

std::string pageTextFromBody(std::span<const std::byte> body) {
    if (body.empty()) {
        throw RuntimeFault(RuntimeFault::Kind::InvalidArgument, "the page is empty (0 bytes)");
    }
    if (body.size() > kLongestBodyBytes) {
        throw RuntimeFault(RuntimeFault::Kind::Overflow, "the page has " + std::to_string(body.size()) +
                                                             " bytes, more than " + std::to_string(kLongestBodyBytes));
    }
    return ansiFromBytes(body);
}

}  // namespace stratocue::web
