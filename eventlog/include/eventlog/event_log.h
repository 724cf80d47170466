#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace stratocue::eventlog {

inline constexpr std::string_view kLogFileName = "stratocue.log";
inline constexpr std::string_view kOldLogFileName = "stratocue.log.1";
// A log grows to this size; the next line starts a new file and the full one is kept as
// the old one, which replaces the one kept before.
inline constexpr std::uintmax_t kLogLimitBytes = 1024 * 1024;

// Where the program tells what it did and what failed: one line per event. Every part of
// the program may write to it; none depends on it working.
class EventLog {
public:
    EventLog() = default;
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;
    EventLog(EventLog&&) = delete;
    EventLog& operator=(EventLog&&) = delete;
    virtual ~EventLog() = default;

    // Adds one line telling `event` (control characters become blanks). Never raises: a
    // line that cannot be written is lost and the program goes on.
    virtual void record(std::string_view event) noexcept = 0;
};

// A log that keeps nothing: for the tests and for a program given no log.
class SilentEventLog final : public EventLog {
public:
    void record(std::string_view /*event*/) noexcept override {}
};

using UtcClock = std::function<std::chrono::system_clock::time_point()>;

// stratocue.log in a folder, each line stamped with the UTC time from `now`. Opened for
// each line, so the file can be read, copied or deleted while the program runs. A folder
// that cannot be written loses the lines and nothing else.
class FileEventLog final : public EventLog {
public:
    explicit FileEventLog(std::filesystem::path folder, UtcClock now = std::chrono::system_clock::now,
                          std::uintmax_t limitBytes = kLogLimitBytes);

    void record(std::string_view event) noexcept override;

    // The file the lines go to.
    [[nodiscard]] const std::filesystem::path& path() const { return path_; }

private:
    void write(const std::string& line);
    // Moves a file that `lineBytes` more would take past the limit to stratocue.log.1.
    void makeRoomFor(std::uintmax_t lineBytes);

    std::filesystem::path path_;
    std::filesystem::path oldPath_;
    UtcClock now_;
    std::uintmax_t limitBytes_;
    std::mutex mutex_;
};

}  // namespace stratocue::eventlog
