// Link_Process: hand the block to the server and return the read results. The reply is
// never trusted: every record must come back as it was queued before anything is copied.
#include <algorithm>

#include "simlink/link.h"

namespace stratocue::simlink {

bool Link::Link_Process(std::int32_t& code) {
    if (!isOpen()) {
        code = kNotOpen;
        return false;
    }
    if (exchangeFailure_ != 0) {
        // The server failed an earlier exchange: nothing more goes to it until a reopen.
        state_.nextFree = 0;
        clearQueue();
        code = exchangeFailure_;
        return false;
    }
    if (state_.nextFree == 0) {
        code = kNothingQueued;
        return false;
    }
    writeLe32(state_.view, state_.nextFree, kRecordEnd);
    state_.nextFree = 0;

    std::uint32_t reply = 0;
    bool done = sendBlock(reply, code);
    if (done && reply != 1) {
        code = kBadData;
        done = false;
    }
    done = done && scanReply(code);
    clearQueue();  // the queue is empty from here on, whatever the outcome
    return done;
}

bool Link::sendBlock(std::uint32_t& reply, std::int32_t& code) {
    const auto atomParameter = static_cast<std::uintptr_t>(static_cast<Atom>(state_.atom));
    const WindowHandle window = state_.serverWindow;
    std::uint32_t budgetLeftMs = kExchangeBudgetMs;
    code = kTimedOut;
    for (int attempt = 0; attempt < kSendAttempts; ++attempt) {
        if (hungWindow_ != 0 && hungWindow_ == window) {
            // A server that timed out gets no send, and no pause, before it answers again.
            if (budgetLeftMs < IpcPlatform::kProbeTimeoutMs) break;
            budgetLeftMs -= IpcPlatform::kProbeTimeoutMs;
            if (serverHung()) break;
        }
        if (attempt > 0) {
            if (budgetLeftMs <= kRetryPauseMs) break;
            platform_.sleep(kRetryPauseMs);
            budgetLeftMs -= kRetryPauseMs;
        }
        const std::uint32_t timeoutMs = std::min(kSendTimeoutMs, budgetLeftMs);
        if (platform_.sendMessageTimeout(window, state_.ipcMessage, atomParameter, 0, timeoutMs, reply)) {
            return true;
        }
        if (platform_.lastError() != 0) {
            code = kSendFailed;
        } else {
            code = kTimedOut;
            hungWindow_ = window;
            budgetLeftMs -= timeoutMs;
        }
        // Retrying helps a server that is there but slow, never one that is gone, and is
        // not worth holding a program that is asked to end.
        if (!platform_.isWindow(window) || (giveUp_ && giveUp_())) break;
    }
    exchangeFailure_ = code;
    return false;
}

bool Link::scanReply(std::int32_t& code) {
    const std::span<const std::byte> block = state_.view.first(kBlockBytes);
    code = kBadData;

    // First the whole block against the link's own list; a single difference copies nothing.
    std::size_t at = 0;
    for (const QueuedRecord& record : queued_) {
        const std::size_t headerBytes = record.type == kRecordRead ? kReadHeaderBytes : kWriteHeaderBytes;
        const auto byteCount = static_cast<std::size_t>(record.size);
        if (at + headerBytes + byteCount + kTerminatorBytes > block.size()) {
            return false;
        }
        if (readLe32(block, at) != record.type || readLe32(block, at + 4) != record.offset ||
            readLe32(block, at + 8) != record.size) {
            return false;
        }
        if (record.type == kRecordRead && readLeU32(block, at + 12) != record.token) {
            return false;
        }
        at += headerBytes + byteCount;
    }
    if (readLe32(block, at) != kRecordEnd) {
        return false;
    }

    // Then the copies, placed by the link's own list, never by what the block now says.
    at = 0;
    for (const QueuedRecord& record : queued_) {
        const auto byteCount = static_cast<std::size_t>(record.size);
        if (record.type == kRecordRead) {
            at += kReadHeaderBytes;
            if (record.token != 0 && byteCount != 0) {
                const std::span<std::byte> destination = destinations_[record.token - 1];
                std::copy_n(block.begin() + static_cast<std::ptrdiff_t>(at), byteCount, destination.begin());
            }
        } else {
            at += kWriteHeaderBytes;
        }
        at += byteCount;
    }
    code = kOk;
    return true;
}

}  // namespace stratocue::simlink
