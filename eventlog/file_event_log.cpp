#include "eventlog/event_log.h"

#include <fstream>
#include <system_error>
#include <utility>

#include "eventlog/event_texts.h"

namespace stratocue::eventlog {

FileEventLog::FileEventLog(std::filesystem::path folder, UtcClock now, std::uintmax_t limitBytes)
    : path_(folder / kLogFileName),
      oldPath_(std::move(folder) / kOldLogFileName),
      now_(std::move(now)),
      limitBytes_(limitBytes) {}

void FileEventLog::record(std::string_view event) noexcept {
    // The log only tells what happened: nothing in it may stop the program.
    try {
        const std::lock_guard lock(mutex_);
        write(logLine(now_(), event));
    } catch (...) {}
}

void FileEventLog::write(const std::string& line) {
    makeRoomFor(line.size());
    std::ofstream file(path_, std::ios::app | std::ios::binary);
    file << line;
}

void FileEventLog::makeRoomFor(std::uintmax_t lineBytes) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path_, error);
    if (error || size == 0 || size + lineBytes <= limitBytes_) return;
    std::filesystem::remove(oldPath_, error);
    std::filesystem::rename(path_, oldPath_, error);
    // A file that cannot be moved (held open elsewhere) starts again empty, so the log stays
    // bounded all the same.
    if (error) std::ofstream(path_, std::ios::trunc);
}

}  // namespace stratocue::eventlog
