#include "standins/server/fake_ipc_platform.h"

#include "common/sim_offsets.h"
#include "simlink/link.h"

namespace stratocue::standins {

bool FakeIpcPlatform::shown(simlink::WindowHandle window) const {
    switch (faults.windows) {
        case FakeServerWindows::Both:
            return window == kServerWindow || window == kClientWindow;
        case FakeServerWindows::ClientOnly:
            return window == kClientWindow;
        case FakeServerWindows::None:
            break;
    }
    return false;
}

simlink::WindowHandle FakeIpcPlatform::findWindow(std::string_view className) {
    const simlink::WindowHandle window = className == simlink::kServerClass   ? kServerWindow
                                         : className == simlink::kClientClass ? kClientWindow
                                                                              : 0;
    if (window != 0 && shown(window)) {
        shownWindow_ = window;
        lastError_ = 0;
        return shownWindow_;
    }
    lastError_ = 2;  // not found
    return 0;
}

bool FakeIpcPlatform::isWindow(simlink::WindowHandle window) {
    ++isWindowCount_;
    return window != 0 && window == shownWindow_ && shown(window);
}

bool FakeIpcPlatform::answering(simlink::WindowHandle window) {
    ++probeCount_;
    const bool answers = window != 0 && window == shownWindow_ && shown(window) && !faults.hung &&
                         !faults.everySendFails && sendCount_ >= faults.failingSends;
    if (answers) serveQueued();
    return answers;
}

void FakeIpcPlatform::serveQueued() {
    for (const simlink::Atom atom : queuedWhileHung_) (void)serve(atom);
    queuedWhileHung_.clear();
}

std::uint32_t FakeIpcPlatform::serve(simlink::Atom atom) {
    // The block is found through the atom's name at the time it is served, as a server does.
    const auto entry = atoms_.find(atom);
    servedAtomNames_.push_back(entry != atoms_.end() ? entry->second.name : std::string());
    if (entry == atoms_.end() || !mappingOpen_ || entry->second.name != lastMappingName_) return 0;
    space_.setLe32(offsets::kServerVersion.place(), static_cast<std::uint32_t>(versionWord_));
    space_.setLe32(offsets::kSimulatorWord.place(), static_cast<std::uint32_t>(simulatorWord_));
    exchanges_.push_back(parseRequestBlock(block_).value_or(std::vector<RequestRecord>{}));
    const std::uint32_t served = processRequestBlock(block_, space_, [this](const WriteNotice& notice) {
        writes_.push_back(FakeWrite{notice.offset, {notice.bytes.begin(), notice.bytes.end()}});
    });
    if (faults.tamper) {
        faults.tamper(block_);
    }
    return served;
}

std::uint32_t FakeIpcPlatform::registerWindowMessage(std::string_view name) {
    if (faults.registerFails) {
        return 0;
    }
    // The server answers only its own message; any other name gets a number of its own.
    return name == simlink::kMessageName ? kMessageNumber : kMessageNumber + 1;
}

simlink::Atom FakeIpcPlatform::addAtom(std::string_view name) {
    lastAtomName_ = std::string(name);
    if (faults.atomFails) {
        return 0;
    }
    for (auto& [atom, entry] : atoms_) {
        if (entry.name == name) {
            ++entry.references;  // counted, like the system's atoms
            return atom;
        }
    }
    // The lowest free number, as Windows hands freed atom numbers out again.
    simlink::Atom atom = kFirstAtom;
    while (atoms_.contains(atom)) ++atom;
    atoms_.emplace(atom, AtomEntry{std::string(name), 1});
    return atom;
}

void FakeIpcPlatform::deleteAtom(simlink::Atom atom) {
    const auto entry = atoms_.find(atom);
    if (entry != atoms_.end() && --entry->second.references == 0) {
        atoms_.erase(entry);
    }
}

simlink::MappingHandle FakeIpcPlatform::createFileMapping(std::string_view name, std::uint32_t sizeBytes) {
    if (mappingOpen_ && !secondHandleOpen_ && !faults.mappingFails && name == lastMappingName_) {
        secondHandleOpen_ = true;
        lastError_ = kErrorAlreadyExists;
        return kSecondMappingHandle;
    }
    lastMappingName_ = std::string(name);
    if (faults.mappingFails || mappingOpen_) {
        lastError_ = 5;  // access denied
        return 0;
    }
    block_.assign(sizeBytes, std::byte{0});
    mappingOpen_ = true;
    lastError_ = faults.mappingExists ? kErrorAlreadyExists : 0;
    return kMappingHandle;
}

std::span<std::byte> FakeIpcPlatform::mapView(simlink::MappingHandle mapping) {
    const bool known =
        (mapping == kMappingHandle && mappingOpen_) || (mapping == kSecondMappingHandle && secondHandleOpen_);
    if (faults.viewFails || !known) {
        lastError_ = 8;  // not enough memory
        return {};
    }
    ++viewsHeld_;
    return block_;
}

void FakeIpcPlatform::unmapView(std::span<std::byte> view) {
    if (!view.empty() && viewsHeld_ > 0) {
        --viewsHeld_;
    }
}

void FakeIpcPlatform::closeHandle(simlink::MappingHandle mapping) {
    if (mapping == kSecondMappingHandle) {
        secondHandleOpen_ = false;
        return;
    }
    if (mapping == kMappingHandle && mappingOpen_) {
        mappingOpen_ = false;
        block_.clear();  // views are unmapped first by a well-behaved client
    }
}

bool FakeIpcPlatform::sendMessageTimeout(simlink::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                         std::intptr_t /*lParam*/, std::uint32_t timeoutMs, std::uint32_t& reply) {
    ++sendCount_;
    sendTimeouts_.push_back(timeoutMs);
    const bool addressed = window != 0 && window == shownWindow_ && shown(window) && message == kMessageNumber &&
                           atoms_.contains(static_cast<simlink::Atom>(wParam)) && mappingOpen_;
    if (!addressed) {
        lastError_ = kInvalidWindowError;
        return false;
    }
    const auto atom = static_cast<simlink::Atom>(wParam);
    if (faults.hung) {
        queuedWhileHung_.push_back(atom);
        lastError_ = 0;  // timed out
        return false;
    }
    serveQueued();
    if (faults.everySendFails || sendCount_ <= faults.failingSends) {
        lastError_ = faults.sendError;
        return false;
    }
    const std::uint32_t served = serve(atom);
    reply = faults.reply.value_or(served);
    lastError_ = 0;
    return true;
}

}  // namespace stratocue::standins
