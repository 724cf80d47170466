#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace stratocue::test_support {

// A gate between threads: a server handler waits here until the test, or the tear-down,
// opens it. Waits are bounded, so a broken test still ends.
class Gate {
public:
    void open() {
        {
            const std::lock_guard lock(mutex_);
            open_ = true;
        }
        changed_.notify_all();
    }
    void close() {
        const std::lock_guard lock(mutex_);
        open_ = false;
    }
    // True once open; waits at most `limit`.
    bool waitOpen(std::chrono::steady_clock::duration limit) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [this] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};

}  // namespace stratocue::test_support
