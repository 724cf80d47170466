// Link_Init, Link_Close and the queueing calls: records are laid into the shared block
// byte by byte, and each one is also kept in the link's own list for the reply check.
#include <algorithm>

#include "simlink/link.h"

namespace stratocue::simlink {

Link::~Link() {
    Link_Close();
    // The program ends: no mapping of it will ever be named again.
    deleteKeptAtoms();
}

void Link::Link_Init() {
    state_.serverWindow = 0;
    state_.ipcMessage = 0;
    state_.atom = 0;
    state_.mapping = 0;
    state_.view = {};
    state_.nextFree = 0;
    exchangeFailure_ = 0;
    hungWindow_ = 0;
    clearQueue();
}

bool Link::serverHung() {
    if (hungWindow_ == 0) return false;
    if (platform_.isWindow(hungWindow_) && !platform_.answering(hungWindow_)) return true;
    // Answering again, it has dealt with every earlier message first; gone, it holds none.
    hungWindow_ = 0;
    deleteKeptAtoms();
    return false;
}

void Link::keepOrDeleteAtom() {
    if (state_.atom == 0) return;
    const auto atom = static_cast<Atom>(state_.atom);
    if (hungWindow_ != 0) {
        keptAtoms_.push_back(atom);
    } else {
        platform_.deleteAtom(atom);
    }
    state_.atom = 0;
}

void Link::deleteKeptAtoms() {
    for (const Atom atom : keptAtoms_) platform_.deleteAtom(atom);
    keptAtoms_.clear();
}

bool Link::serverPresent() {
    if (state_.serverWindow != 0 && platform_.isWindow(state_.serverWindow)) return true;
    return platform_.findWindow(kServerClass) != 0 || platform_.findWindow(kClientClass) != 0;
}

void Link::Link_Close() {
    state_.serverWindow = 0;
    state_.ipcMessage = 0;
    state_.nextFree = 0;
    clearQueue();
    keepOrDeleteAtom();
    if (!state_.view.empty()) {
        platform_.unmapView(state_.view);
        state_.view = {};
    }
    if (state_.mapping != 0) {
        platform_.closeHandle(state_.mapping);
        state_.mapping = 0;
    }
}

bool Link::Link_Read(std::int32_t offset, std::int32_t size, std::span<std::byte> destination, std::int32_t& code) {
    if (isOpen() && size >= 0 && !destination.empty() && destination.size() < static_cast<std::size_t>(size)) {
        code = kBadData;  // the results would not fit the caller's variable
        return false;
    }
    return queueRecord(kRecordRead, offset, size, {}, destination, code);
}

bool Link::Link_Write(std::int32_t offset, std::int32_t size, std::span<const std::byte> source, std::int32_t& code) {
    if (isOpen() && size >= 0 && source.size() < static_cast<std::size_t>(size)) {
        code = kBadData;  // the caller holds fewer bytes than it asks to write
        return false;
    }
    return queueRecord(kRecordWrite, offset, size, source, {}, code);
}

bool Link::Link_WriteText(std::int32_t offset, std::int32_t size, std::string_view text, std::int32_t& code) {
    // The program's texts already hold one ANSI character per byte.
    return queueRecord(kRecordWrite, offset, size, std::as_bytes(std::span(text.data(), text.size())), {}, code);
}

bool Link::queueRecord(std::int32_t type, std::int32_t offset, std::int32_t size, std::span<const std::byte> data,
                       std::span<std::byte> destination, std::int32_t& code) {
    if (!isOpen()) {
        code = kNotOpen;
        return false;
    }
    if (size < 0) {
        code = kBadData;
        return false;
    }
    const auto byteCount = static_cast<std::size_t>(size);
    const std::size_t headerBytes = type == kRecordRead ? kReadHeaderBytes : kWriteHeaderBytes;
    if (state_.nextFree + kTerminatorBytes + headerBytes + byteCount > kUsableBytes) {
        code = kBlockFull;
        return false;
    }

    std::uint32_t token = 0;
    if (type == kRecordRead && !destination.empty()) {
        destinations_.push_back(destination);
        token = static_cast<std::uint32_t>(destinations_.size());
    }
    const std::span<std::byte> block = state_.view;
    std::size_t at = state_.nextFree;
    writeLe32(block, at, type);
    writeLe32(block, at + 4, offset);
    writeLe32(block, at + 8, size);
    if (type == kRecordRead) {
        writeLeU32(block, at + 12, token);
    }
    at += headerBytes;
    const std::size_t copied = std::min(byteCount, data.size());
    std::copy_n(data.begin(), copied, block.begin() + static_cast<std::ptrdiff_t>(at));
    std::fill_n(block.begin() + static_cast<std::ptrdiff_t>(at + copied), byteCount - copied, std::byte{0});
    state_.nextFree = at + byteCount;

    queued_.push_back(QueuedRecord{type, offset, size, token});
    code = kOk;
    return true;
}

void Link::clearQueue() {
    queued_.clear();
    destinations_.clear();
}

}  // namespace stratocue::simlink
