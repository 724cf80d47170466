#pragma once

// What both loopback servers note about their requests, for the tests to read.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>

namespace stratocue::test_support {

class LoopbackRecord {
public:
    void noteUserAgent(std::string agent) {
        const std::lock_guard lock(mutex_);
        lastUserAgent_ = std::move(agent);
    }
    [[nodiscard]] std::string lastUserAgent() const {
        const std::lock_guard lock(mutex_);
        return lastUserAgent_;
    }

    void noteEndlessBytes(std::size_t count) { endlessBytesSent_ += count; }
    [[nodiscard]] std::size_t endlessBytesSent() const { return endlessBytesSent_; }

    void noteEndlessEnded() {
        {
            const std::lock_guard lock(mutex_);
            endlessEnded_ = true;
        }
        changed_.notify_all();
    }
    [[nodiscard]] bool waitEndlessEnded(std::chrono::milliseconds limit) const {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [this] { return endlessEnded_; });
    }

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::string lastUserAgent_;
    std::atomic<std::size_t> endlessBytesSent_ = 0;
    bool endlessEnded_ = false;
};

}  // namespace stratocue::test_support
