#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "web/http_transfer.h"

namespace stratocue::test_support {

// A transfer component without network. It answers each URL with the page scripted for it
// (any other URL fails like a server that cannot be reached), remembers every URL asked
// for and the time-out in force at each fetch, and says it is still executing while a
// page is awaited (onRequest runs then) or while the test sets `executing`. Like the real
// component it refuses a fetch while another one runs, and a Cancel() from onRequest makes
// the awaited fetch fail.
class ScriptedTransfer final : public web::HttpTransfer {
public:
    // Answers `url` with `body`, one byte per character, from now on.
    void serve(std::string url, std::string_view body) { pages[std::move(url)] = std::string(body); }

    std::vector<std::byte> OpenUrl(std::string_view url) override;
    void setRequestTimeout(std::int32_t seconds) override { timeoutSeconds = seconds; }
    [[nodiscard]] std::int32_t requestTimeout() const override { return timeoutSeconds; }
    [[nodiscard]] bool StillExecuting() const override { return executing || awaiting_; }
    void Cancel() override;
    void setKeepAlive(std::function<void()>) override {}

    // How many of the URLs asked for contain `part`.
    [[nodiscard]] int requestsContaining(std::string_view part) const;

    std::map<std::string, std::string> pages;  // the page text of each URL served
    std::function<void()> onRequest;           // runs while a page is awaited
    std::vector<std::string> requested;        // every URL asked for, in order
    std::vector<std::int32_t> timeoutAtFetch;  // the time-out in force at each of them
    bool executing = false;                    // another fetch runs, as far as callers can tell
    int cancels = 0;                           // Cancel() calls that met a running fetch
    std::int32_t timeoutSeconds = kDefaultTimeoutSeconds;

private:
    bool awaiting_ = false;
    bool cancelled_ = false;
};

}  // namespace stratocue::test_support
