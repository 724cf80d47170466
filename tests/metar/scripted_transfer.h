#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/ansi_text.h"
#include "ui/http_transfer.h"

namespace stratocue::metar::testing {

// A transfer component without network: answers each URL with the body scripted for it,
// records every URL asked for, and fails like the real component (TransferError) for a
// URL without a body or while it reports a fetch still executing.
class ScriptedTransfer final : public ui::HttpTransfer {
public:
    void serve(const std::string& url, std::string_view body) { bodies_[url] = std::string(body); }

    std::vector<std::byte> OpenUrl(std::string_view url) override {
        requested.emplace_back(url);
        if (executing) throw ui::TransferError("another fetch is still running");
        const auto body = bodies_.find(std::string(url));
        if (body == bodies_.end()) throw ui::TransferError("no answer from " + std::string(url));
        return bytesFromAnsi(body->second);
    }
    void setRequestTimeout(std::int32_t seconds) override { timeoutSeconds = seconds; }
    [[nodiscard]] std::int32_t requestTimeout() const override { return timeoutSeconds; }
    [[nodiscard]] bool StillExecuting() const override { return executing; }
    void setKeepAlive(std::function<void()>) override {}

    std::vector<std::string> requested;
    bool executing = false;
    std::int32_t timeoutSeconds = kDefaultTimeoutSeconds;

private:
    std::map<std::string, std::string> bodies_;
};

}  // namespace stratocue::metar::testing
