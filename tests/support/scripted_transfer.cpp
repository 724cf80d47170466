#include "tests/support/scripted_transfer.h"

namespace stratocue::test_support {

std::vector<std::byte> ScriptedTransfer::OpenUrl(std::string_view url) {
    requested.emplace_back(url);
    timeoutAtFetch.push_back(timeoutSeconds);
    if (StillExecuting()) throw web::TransferError("a transfer is still executing");
    awaiting_ = true;
    cancelled_ = false;
    try {
        if (onRequest) onRequest();
    } catch (...) {
        awaiting_ = false;
        throw;
    }
    awaiting_ = false;
    if (cancelled_) throw web::TransferError("the transfer was cancelled");
    const auto page = pages.find(std::string(url));
    if (page == pages.end()) throw web::TransferError("no answer from " + std::string(url));
    std::vector<std::byte> body;
    body.reserve(page->second.size());
    for (const char c : page->second) body.push_back(static_cast<std::byte>(c));
    return body;
}

void ScriptedTransfer::Cancel() {
    if (!StillExecuting()) return;
    cancelled_ = true;
    ++cancels;
}

int ScriptedTransfer::requestsContaining(std::string_view part) const {
    int count = 0;
    for (const std::string& url : requested) count += url.find(part) != std::string::npos ? 1 : 0;
    return count;
}

}  // namespace stratocue::test_support
