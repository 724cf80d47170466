#pragma once

// A loopback HTTP server on a port of the system's choice for the transfer tests, the same
// interface on every platform: each request's answer is picked by a handler from its path.

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "tests/support/loopback_http_record.h"

namespace stratocue::test_support {

struct LoopbackAnswer {
    int status = 200;
    std::string body;
    std::string location;  // the Location header of a redirect, when not empty
    // Sends `body` again and again until the client goes away (or a give-up size is out).
    bool endless = false;
};

class LoopbackHttpServer {
public:
    using Handler = std::function<LoopbackAnswer(const std::string& path)>;

    // Listens once constructed; handlers run on the server's threads.
    explicit LoopbackHttpServer(Handler handler);
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer(LoopbackHttpServer&&) = delete;
    LoopbackHttpServer& operator=(LoopbackHttpServer&&) = delete;
    ~LoopbackHttpServer();

    [[nodiscard]] std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    // The User-Agent header of the last request.
    [[nodiscard]] std::string lastUserAgent() const { return record_->lastUserAgent(); }
    // What the endless answers got out so far.
    [[nodiscard]] std::size_t endlessBytesSent() const { return record_->endlessBytesSent(); }
    // True once an endless answer has ended, waiting at most `limit`.
    [[nodiscard]] bool waitEndlessEnded(std::chrono::milliseconds limit) const {
        return record_->waitEndlessEnded(limit);
    }

private:
    class Platform;

    std::unique_ptr<LoopbackRecord> record_ = std::make_unique<LoopbackRecord>();  // outlives the platform
    std::unique_ptr<Platform> platform_;
    int port_ = 0;
};

// A loopback port that was listening and is now closed, so connecting is refused.
[[nodiscard]] int refusedLoopbackPort();

// Sends an endless answer up to this size at most, should the client never go away.
inline constexpr std::size_t kEndlessGiveUpBytes = 64 * 1024 * 1024;

}  // namespace stratocue::test_support
