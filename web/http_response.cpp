#include "web/http_transfer.h"

#include <string>
#include <utility>

namespace stratocue::web {
namespace {

constexpr long kStatusOk = 200;
constexpr long kFirstHttpErrorStatus = 400;

}  // namespace

HttpResponse HttpTransfer::FetchResponse(std::string_view url) { return {kStatusOk, OpenUrl(url)}; }

std::vector<std::byte> acceptedBody(HttpResponse response, std::string_view url) {
    if (response.status >= kFirstHttpErrorStatus) {
        throw TransferError("HTTP status " + std::to_string(response.status) + " from " + std::string(url));
    }
    if (response.body.empty()) {
        throw TransferError("empty answer from " + std::string(url) + " (HTTP status " +
                            std::to_string(response.status) + ")");
    }
    return std::move(response.body);
}

}  // namespace stratocue::web
