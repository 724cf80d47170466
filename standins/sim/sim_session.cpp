// The stand-in simulator's state and its answer to one request block, whatever the transport.
#include "standins/sim/sim_session.h"

#include <optional>
#include <string>

#include "standins/sim/sim_offsets.h"
#include "standins/sim/write_log.h"

namespace stratocue::standins {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::int64_t kSecondsPerDay = 86400;

std::int64_t utcSecondOfDay() {
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch).count() % kSecondsPerDay;
}

}  // namespace

SimSession::SimSession(SimOptions options, std::vector<FlightPoint> flight, std::ostream* log)
    : options_(std::move(options)), flight_(std::move(flight)), log_(log), start_(Clock::now()) {
    startSecondOfDay_ = options_.clockSecondOfDay.value_or(utcSecondOfDay());
}

std::uint32_t SimSession::serve(std::span<std::byte> block) {
    refreshOffsets();
    std::uint32_t reply = kReplyRefused;
    if (!block.empty()) {
        reply = processRequestBlock(block, space_, [this](const WriteNotice& write) { logWrite(write); });
    }
    return options_.fault == SimFault::Reply ? options_.faultReply : reply;
}

void SimSession::refreshOffsets() {
    const double elapsedSeconds = secondsSinceStart();
    space_.setLe32(offsets::kServerVersion.place(), options_.versionWord);
    space_.setLe32(offsets::kSimulatorWord.place(), options_.simulatorWord);
    if (!flight_.empty()) {
        writePosition(space_, positionAt(flight_, elapsedSeconds));
    }
    writeClock(space_, startSecondOfDay_ + static_cast<std::int64_t>(elapsedSeconds));
}

void SimSession::logWrite(const WriteNotice& write) {
    if (log_ == nullptr) {
        return;
    }
    const double elapsedSeconds = secondsSinceStart();
    *log_ << writeLogLine(elapsedSeconds, write.offset, write.bytes) << '\n';
    if (const std::optional<std::string> message = onScreenMessage(space_, write)) {
        *log_ << messageLogLine(elapsedSeconds, *message) << '\n';
    }
    log_->flush();
}

double SimSession::secondsSinceStart() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }

}  // namespace stratocue::standins
