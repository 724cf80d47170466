#pragma once

// What the benchmarks give the program in place of a network and a user.
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "ui/message_box.h"
#include "web/http_transfer.h"

namespace stratocue::benchmarks {

// A transfer component without a network: every fetch fails at once.
class NoNetworkTransfer final : public web::HttpTransfer {
public:
    std::vector<std::byte> OpenUrl(std::string_view) override { throw web::TransferError("no network here"); }
    void Cancel() override {}
    void setRequestTimeout(std::int32_t seconds) override { timeoutSeconds_ = seconds; }
    [[nodiscard]] std::int32_t requestTimeout() const override { return timeoutSeconds_; }
    [[nodiscard]] bool StillExecuting() const override { return false; }
    void setKeepAlive(std::function<void()>) override {}

private:
    std::int32_t timeoutSeconds_ = kDefaultTimeoutSeconds;
};

class SilentMessageBoxes final : public ui::MessageBoxes {
protected:
    void showModal(std::string_view) override {}
};

}  // namespace stratocue::benchmarks
