#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "eventlog/event_log.h"

namespace stratocue::test_support {

// A log that keeps its events for the test to read, without times.
class RecordingEventLog final : public eventlog::EventLog {
public:
    void record(std::string_view event) noexcept override { events.emplace_back(event); }
    // The events that start with `head`.
    [[nodiscard]] std::vector<std::string> startingWith(std::string_view head) const {
        std::vector<std::string> found;
        for (const std::string& event : events) {
            if (event.starts_with(head)) found.push_back(event);
        }
        return found;
    }

    std::vector<std::string> events;
};

}  // namespace stratocue::test_support
