#include "standins/wx/wx_stop_signal.h"

namespace stratocue::standins {

void StopSignal::raise() {
    {
        const std::lock_guard lock(mutex_);
        raised_ = true;
    }
    changed_.notify_all();
}

bool StopSignal::raised() const {
    const std::lock_guard lock(mutex_);
    return raised_;
}

bool StopSignal::waitFor(std::chrono::milliseconds duration) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, duration, [this] { return raised_; });
}

}  // namespace stratocue::standins
