#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace stratocue::standins {

// A one-way flag that tells waiting request handlers the server is shutting down.
class StopSignal {
public:
    // Sets the flag and wakes every waiter; later waits return at once.
    void raise();

    // True once raise() has been called.
    [[nodiscard]] bool raised() const;

    // Waits up to `duration` for the flag; true when it is set, false after the full wait.
    [[nodiscard]] bool waitFor(std::chrono::milliseconds duration) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool raised_ = false;
};

}  // namespace stratocue::standins
