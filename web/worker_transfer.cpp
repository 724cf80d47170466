#include "web/worker_transfer.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <utility>

#include "eventlog/event_texts.h"

namespace stratocue::web {
namespace {

using namespace std::chrono_literals;

// How long the calling thread waits for the worker before its events run again; well below
// the 50 ms a window may go unanswered during a download.
constexpr auto kWaitRound = 10ms;
// A worker still busy this long after the time-out (a name look-up without a time-out of
// its own) is left to end on its own, and the fetch reports the time-out.
constexpr auto kAbandonAfterTimeout = 5s;
constexpr std::int32_t kShortestTimeoutSeconds = 1;
// How long a component being destroyed waits for its cancelled workers to end (libcurl's
// notice the cancel within a second) before it leaves them to end on their own, so that
// ending the program during a download is not held up for long.
constexpr auto kLeftWorkersGrace = 2s;

// "30 s" for whole seconds, "300 ms" otherwise.
std::string durationText(std::chrono::milliseconds duration) {
    if (duration.count() % 1000 == 0) return std::to_string(duration.count() / 1000) + " s";
    return std::to_string(duration.count()) + " ms";
}

// Marks a fetch as running for one scope, however the scope is left.
class RunningMark {
public:
    explicit RunningMark(bool& running) noexcept : running_(running) { running_ = true; }
    RunningMark(const RunningMark&) = delete;
    RunningMark& operator=(const RunningMark&) = delete;
    RunningMark(RunningMark&&) = delete;
    RunningMark& operator=(RunningMark&&) = delete;
    ~RunningMark() { running_ = false; }

private:
    bool& running_;
};

}  // namespace

FetchTerms::FetchTerms(std::string url, std::chrono::milliseconds timeout)
    : url_(std::move(url)), timeout_(timeout), deadline_(TransferClock::now() + timeout) {}

bool FetchTerms::timeIsUp(std::chrono::milliseconds slack) const { return TransferClock::now() + slack >= deadline_; }

std::chrono::milliseconds FetchTerms::timeLeft() const {
    if (cancelled_) throw cancelledError();
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - TransferClock::now());
    if (left <= 0ms) throw timeoutError("");
    return left;
}

TransferError FetchTerms::timeoutError(const std::string& detail) const {
    return TransferError("time-out: no complete answer from " + url_ + " within " + durationText(timeout_) +
                         (detail.empty() ? "" : ": " + detail));
}

TransferError FetchTerms::cancelledError() const { return TransferError("the transfer of " + url_ + " was cancelled"); }

TransferError FetchTerms::tooLongError() const {
    return TransferError("the answer from " + url_ + " is longer than " + std::to_string(kLongestBodyBytes) + " bytes");
}

TransferError FetchTerms::tooManyRedirectsError(const std::string& detail) const {
    return TransferError("transfer of " + url_ + " failed: more than " + std::to_string(kMostRedirects) + " redirects" +
                         (detail.empty() ? "" : ": " + detail));
}

// One fetch shared by the waiting thread and its worker: the worker leaves the answer or
// the failure here and says so.
class FetchJob {
public:
    FetchJob(std::string url, std::chrono::milliseconds timeout) : terms_(std::move(url), timeout) {}

    [[nodiscard]] FetchTerms& terms() { return terms_; }

    // On the worker.
    void run(BlockingFetch& platformFetch) {
        HttpResponse response;
        std::exception_ptr failure;
        try {
            response = platformFetch.fetch(terms_);
        } catch (...) {
            failure = std::current_exception();
        }
        {
            const std::lock_guard lock(mutex_);
            response_ = std::move(response);
            failure_ = failure;
            done_ = true;
        }
        finished_.notify_all();
    }

    // On the waiting thread: true when the worker has finished within `limit`.
    [[nodiscard]] bool waitDone(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        return finished_.wait_for(lock, limit, [this] { return done_; });
    }

    // The answer, or the failure raised again. Only after waitDone returned true.
    HttpResponse takeResult() {
        const std::lock_guard lock(mutex_);
        if (failure_) std::rethrow_exception(failure_);
        return std::move(response_);
    }

private:
    FetchTerms terms_;
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
    HttpResponse response_;
    std::exception_ptr failure_;
};

WorkerTransfer::WorkerTransfer(std::shared_ptr<BlockingFetch> platformFetch, TransferSettings settings)
    : platformFetch_(std::move(platformFetch)),
      timeout_(std::max(settings.timeout, std::chrono::milliseconds(1))),
      eventLog_(settings.eventLog) {}

WorkerTransfer::~WorkerTransfer() {
    const auto giveUp = TransferClock::now() + kLeftWorkersGrace;
    for (LeftWorker& worker : leftWorkers_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(giveUp - TransferClock::now());
        if (worker.job->waitDone(std::max(left, std::chrono::milliseconds(0)))) {
            worker.thread.join();
        } else {
            worker.thread.detach();  // it owns what it uses
        }
    }
}

std::vector<std::byte> WorkerTransfer::OpenUrl(std::string_view url) { return acceptedBody(FetchResponse(url), url); }

HttpResponse WorkerTransfer::FetchResponse(std::string_view url) {
    if (running_) throw TransferError("a transfer is still executing");
    const RunningMark mark(running_);
    cancelRequested_ = false;
    if (eventLog_ == nullptr) return fetchOnWorker(url);
    // Every request of the program passes here, so this is where the log tells of each.
    const auto started = TransferClock::now();
    const auto elapsed = [started] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(TransferClock::now() - started);
    };
    try {
        HttpResponse response = fetchOnWorker(url);
        eventLog_->record(eventlog::requestText(url, response.status, response.body.size(), elapsed()));
        return response;
    } catch (const std::exception& failure) {
        eventLog_->record(eventlog::failedRequestText(url, failure.what(), elapsed()));
        throw;
    }
}

HttpResponse WorkerTransfer::fetchOnWorker(std::string_view url) {
    if (url.empty()) throw TransferError("invalid URL: it is empty");
    if (url.find('\0') != std::string_view::npos) throw TransferError("invalid URL: it contains a zero character");
    joinEndedWorkers();
    return awaitWorker(std::make_shared<FetchJob>(std::string(url), timeout_));
}

HttpResponse WorkerTransfer::awaitWorker(const std::shared_ptr<FetchJob>& job) {
    std::thread worker([job, platformFetch = platformFetch_] { job->run(*platformFetch); });
    try {
        // The worker's outcome is looked at before anything else, so a hook that held the
        // calling thread past the time-out cannot spoil a fetch that ended in time.
        while (!job->waitDone(kWaitRound)) {
            if (TransferClock::now() >= job->terms().deadline() + kAbandonAfterTimeout) {
                throw job->terms().timeoutError("the transfer did not end");
            }
            callKeepAlive();
            if (cancelRequested_) throw job->terms().cancelledError();
        }
    } catch (...) {
        // Cancelled, given up, or the hook raised: the worker stops before its next
        // blocking call and is joined later.
        job->terms().cancel();
        leftWorkers_.push_back({std::move(worker), job});
        throw;
    }
    worker.join();
    return job->takeResult();
}

void WorkerTransfer::Cancel() {
    if (running_) cancelRequested_ = true;
}

void WorkerTransfer::setRequestTimeout(std::int32_t seconds) {
    timeout_ = std::chrono::seconds(std::max(seconds, kShortestTimeoutSeconds));
}

std::int32_t WorkerTransfer::requestTimeout() const {
    // Whole seconds, rounded up; only a component made with a shorter time-out has a part.
    return static_cast<std::int32_t>(std::chrono::ceil<std::chrono::seconds>(timeout_).count());
}

void WorkerTransfer::callKeepAlive() const {
    // A copy, so the hook may replace itself while it runs.
    if (!keepAlive_) return;
    const std::function<void()> hook = keepAlive_;
    hook();
}

void WorkerTransfer::joinEndedWorkers() {
    std::erase_if(leftWorkers_, [](LeftWorker& worker) {
        if (!worker.job->waitDone(std::chrono::milliseconds(0))) return false;
        worker.thread.join();
        return true;
    });
}

}  // namespace stratocue::web
