// Link_Open: find the server, set up the shared block, and check the server's version
// words through the link's own exchanges.
#include <utility>

#include "simlink/link.h"

#include "common/sim_offsets.h"

namespace stratocue::simlink {

namespace {

constexpr int kHandshakePasses = 5;
constexpr std::uint32_t kHandshakePauseMs = 100;
constexpr std::int32_t kLowestServerVersion = 0x19980005;
constexpr std::uint32_t kSimulatorWordMark = 0xFADE;

}  // namespace

bool Link::Link_Open(std::int32_t requestedSimulator, std::int32_t& code) {
    // The handshake's own exchanges must reach the server; a failed open keeps the earlier
    // failure, so the link is still known to be down.
    const std::int32_t earlierFailure = std::exchange(exchangeFailure_, 0);
    const bool opened = open(requestedSimulator, code);
    if (!opened && exchangeFailure_ == 0) exchangeFailure_ = earlierFailure;
    return opened;
}

bool Link::open(std::int32_t requestedSimulator, std::int32_t& code) {
    state_.ServerVersion = 0;
    state_.SimId = 0;
    if (isOpen()) {
        code = kAlreadyOpen;
        return false;
    }

    bool viaClient = false;
    WindowHandle window = platform_.findWindow(kServerClass);
    if (window == 0) {
        window = platform_.findWindow(kClientClass);
        viaClient = true;
    }
    if (window == 0) {
        code = kNoServer;
        return false;
    }
    const std::uint32_t message = platform_.registerWindowMessage(kMessageName);
    if (message == 0) {
        code = kRegisterFailed;  // nothing is held yet
        return false;
    }
    state_.serverWindow = window;
    state_.ipcMessage = message;

    std::string name = mappingName(platform_.currentProcessId(), ++openCount_);
    if (name.size() >= kMappingNameFieldBytes) {
        // The count starts over rather than overflow the servers' field.
        openCount_ = 1;
        name = mappingName(platform_.currentProcessId(), openCount_);
    }
    const Atom atom = platform_.addAtom(name);
    state_.atom = static_cast<std::int16_t>(atom);  // kept sign-extended, as the server's side stores it
    if (atom == 0) {
        code = kAtomFailed;
        Link_Close();
        return false;
    }
    state_.mapping = platform_.createFileMapping(name, static_cast<std::uint32_t>(kBlockBytes));
    if (state_.mapping == 0 || platform_.lastError() == IpcPlatform::kErrorAlreadyExists) {
        code = kMappingFailed;
        Link_Close();
        return false;
    }
    state_.view = platform_.mapView(state_.mapping);
    if (state_.view.size() < kBlockBytes) {  // no view, or one too small to hold the block
        code = kViewFailed;
        Link_Close();
        return false;
    }
    state_.nextFree = 0;

    if (!handshake(code)) {
        Link_Close();
        return false;
    }
    const auto simulatorWord = static_cast<std::uint32_t>(state_.SimId);
    if (state_.ServerVersion < kLowestServerVersion || (simulatorWord >> 16) != kSimulatorWordMark) {
        code = viaClient ? kClientWithoutSimulator : kWrongVersion;
        Link_Close();
        return false;
    }
    state_.SimId = static_cast<std::int32_t>(simulatorWord & 0xFFFFU);
    if (requestedSimulator != 0 && requestedSimulator != state_.SimId) {
        code = kWrongSimulator;
        Link_Close();
        return false;
    }
    code = kOk;
    return true;
}

bool Link::handshake(std::int32_t& code) {
    for (int pass = 0; pass < kHandshakePasses && (state_.ServerVersion == 0 || state_.SimId == 0); ++pass) {
        std::array<std::byte, 4> versionBytes{};
        std::array<std::byte, 4> simulatorBytes{};
        std::array<std::byte, 2> libVersionBytes{};
        writeLe16(libVersionBytes, 0, state_.LibVersion);
        if (!Link_Read(offsets::kServerVersion.offset, offsets::kServerVersion.sizeBytes, versionBytes, code) ||
            !Link_Read(offsets::kSimulatorWord.offset, offsets::kSimulatorWord.sizeBytes, simulatorBytes, code)) {
            return false;
        }
        if (!Link_Write(offsets::kLibraryVersion.offset, offsets::kLibraryVersion.sizeBytes, libVersionBytes, code) &&
            pass == 0) {
            return false;
        }
        if (!Link_Process(code)) {
            return false;
        }
        state_.ServerVersion = readLe32(versionBytes);
        state_.SimId = readLe32(simulatorBytes);  // the whole simulator word until the check
        platform_.sleep(kHandshakePauseMs);
    }
    return true;
}

}  // namespace stratocue::simlink
