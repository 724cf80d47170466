#pragma once

// The transfer component's shared part: the running mark, the time-out, Cancel and the
// keep-alive hook. A platform part (libcurl, WinINet) only does one blocking fetch; it runs
// on a worker thread while the calling thread stays in the keep-alive hook, so a hook that
// blocks (a message box with its own loop) never stalls the download, and the time-out is
// counted by the fetch, not by the calling thread.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "web/http_transfer.h"

namespace stratocue::web {

using TransferClock = std::chrono::steady_clock;

// How many redirects a fetch follows before it fails; both platforms keep to it.
inline constexpr int kMostRedirects = 5;

// What one fetch knows on its worker: the URL asked for, its time-out, the moment the time
// is up, and whether the fetch was cancelled. Shared by the worker and the waiting thread.
class FetchTerms {
public:
    FetchTerms(std::string url, std::chrono::milliseconds timeout);

    [[nodiscard]] const std::string& url() const noexcept { return url_; }
    [[nodiscard]] std::chrono::milliseconds timeout() const noexcept { return timeout_; }
    [[nodiscard]] TransferClock::time_point deadline() const noexcept { return deadline_; }

    // The worker stops before its next blocking call once this is set.
    void cancel() noexcept { cancelled_ = true; }
    [[nodiscard]] bool cancelled() const noexcept { return cancelled_; }
    // True when less than `slack` is left of the time-out.
    [[nodiscard]] bool timeIsUp(std::chrono::milliseconds slack = {}) const;
    // The time left for the next blocking call, at least 1 ms; raises the cancellation when
    // the fetch was cancelled and the time-out when no time is left.
    [[nodiscard]] std::chrono::milliseconds timeLeft() const;

    // "time-out: no complete answer from <url> within <time>[: <detail>]"
    [[nodiscard]] TransferError timeoutError(const std::string& detail) const;
    // "the transfer of <url> was cancelled"
    [[nodiscard]] TransferError cancelledError() const;
    // "the answer from <url> is longer than 32767 bytes"
    [[nodiscard]] TransferError tooLongError() const;
    // "transfer of <url> failed: more than 5 redirects[: <detail>]"
    [[nodiscard]] TransferError tooManyRedirectsError(const std::string& detail) const;

private:
    std::string url_;
    std::chrono::milliseconds timeout_;
    TransferClock::time_point deadline_;
    std::atomic<bool> cancelled_ = false;
};

// The platform part of a transfer: one whole blocking fetch (redirects included), run on a
// worker thread. It returns the final answer whatever its status and raises TransferError
// when no answer arrived. A worker given up on may still run while the next fetch starts,
// so a fetch keeps nothing of its own in the object between calls unless it guards it.
class BlockingFetch {
public:
    virtual ~BlockingFetch() = default;
    [[nodiscard]] virtual HttpResponse fetch(const FetchTerms& terms) = 0;
};

class FetchJob;

// The transfer component over a platform's blocking fetch.
class WorkerTransfer final : public HttpTransfer {
public:
    WorkerTransfer(std::shared_ptr<BlockingFetch> platformFetch, TransferSettings settings);
    WorkerTransfer(const WorkerTransfer&) = delete;
    WorkerTransfer& operator=(const WorkerTransfer&) = delete;
    WorkerTransfer(WorkerTransfer&&) = delete;
    WorkerTransfer& operator=(WorkerTransfer&&) = delete;
    // Waits a little (2 s at most) for workers given up on, so they seldom outlive the
    // component; any still running are left to end on their own.
    ~WorkerTransfer() override;

    std::vector<std::byte> OpenUrl(std::string_view url) override;
    HttpResponse FetchResponse(std::string_view url) override;
    void Cancel() override;
    void setRequestTimeout(std::int32_t seconds) override;
    [[nodiscard]] std::int32_t requestTimeout() const override;
    [[nodiscard]] bool StillExecuting() const override { return running_; }
    void setKeepAlive(std::function<void()> hook) override { keepAlive_ = std::move(hook); }

private:
    // A worker whose fetch was cancelled or abandoned, still ending on its own.
    struct LeftWorker {
        std::thread thread;
        std::shared_ptr<FetchJob> job;
    };

    HttpResponse fetchOnWorker(std::string_view url);
    HttpResponse awaitWorker(const std::shared_ptr<FetchJob>& job);
    void callKeepAlive() const;
    void joinEndedWorkers();

    std::shared_ptr<BlockingFetch> platformFetch_;
    std::function<void()> keepAlive_;
    std::chrono::milliseconds timeout_;
    eventlog::EventLog* eventLog_;
    std::vector<LeftWorker> leftWorkers_;
    bool running_ = false;
    bool cancelRequested_ = false;
};

}  // namespace stratocue::web
