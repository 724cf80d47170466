#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "simlink/ipc_platform.h"
#include "standins/server/offset_space.h"
#include "standins/server/request_block.h"

namespace stratocue::standins {

// Which server windows the fake shows. Changing it while a client holds a window stands
// for the server going away (or coming back): a window no longer shown is gone.
enum class FakeServerWindows { Both, ClientOnly, None };

// Faults the fake injects; the defaults give a healthy server.
struct FakeFaults {
    FakeServerWindows windows = FakeServerWindows::Both;
    bool registerFails = false;   // registerWindowMessage returns 0
    bool atomFails = false;       // addAtom returns 0
    bool mappingFails = false;    // createFileMapping returns 0
    bool mappingExists = false;   // createFileMapping reports "already exists" (183)
    bool viewFails = false;       // mapView returns nothing
    int failingSends = 0;         // the first N sends fail
    bool everySendFails = false;  // every send fails
    // Hung: every send times out and stays queued, served in order once this is cleared
    // (at the next send or probe), as a window whose thread stops pumping does.
    bool hung = false;
    std::uint32_t sendError = 0;         // lastError of a failed send; 0 = timed out
    std::optional<std::uint32_t> reply;  // reply value in place of the server's own
    // Called with the block after the server served it, to corrupt the reply.
    std::function<void(std::span<std::byte>)> tamper;
};

// A write the server received: offset and bytes.
struct FakeWrite {
    std::uint32_t offset = 0;
    std::vector<std::byte> bytes;

    friend bool operator==(const FakeWrite&, const FakeWrite&) = default;
};

// An in-process simulator for the link's tests: serves blocks over its own OffsetSpace,
// injects the faults in `faults`, never really sleeps, and records what it saw.
class FakeIpcPlatform final : public simlink::IpcPlatform {
public:
    static constexpr simlink::WindowHandle kServerWindow = 0x1001;
    static constexpr simlink::WindowHandle kClientWindow = 0x1002;
    static constexpr std::uint32_t kMessageNumber = 0xC0DE;
    static constexpr std::uint32_t kProcessId = 0x1A2B;
    static constexpr std::uint32_t kInvalidWindowError = 1400;
    static constexpr std::int32_t kDefaultVersionWord = 0x28100004;
    static constexpr std::int32_t kDefaultSimulatorWord = static_cast<std::int32_t>(0xFADE0006U);

    // A healthy server with the default version words.
    FakeIpcPlatform() = default;

    FakeFaults faults;

    [[nodiscard]] OffsetSpace& offsets() { return space_; }
    // The server's own words at offsets::kServerVersion and kSimulatorWord; like a real
    // server it puts them back before each block, whatever a client wrote over them
    // (offsets::kLibraryVersion lies inside the second).
    void setVersionWord(std::int32_t word) { versionWord_ = word; }
    void setSimulatorWord(std::int32_t word) { simulatorWord_ = word; }
    // The client's process id; kProcessId unless set.
    void setProcessId(std::uint32_t processId) { processId_ = processId; }

    [[nodiscard]] int sendCount() const { return sendCount_; }
    [[nodiscard]] int probeCount() const { return probeCount_; }
    // The time-out of every send, in order.
    [[nodiscard]] const std::vector<std::uint32_t>& sendTimeouts() const { return sendTimeouts_; }
    // The atom names read by the server for the blocks it served, in order (a deleted atom
    // gives "").
    [[nodiscard]] const std::vector<std::string>& servedAtomNames() const { return servedAtomNames_; }
    [[nodiscard]] const std::vector<std::uint32_t>& sleeps() const { return sleeps_; }
    // Every write served, in order.
    [[nodiscard]] const std::vector<FakeWrite>& writes() const { return writes_; }
    // The records of each block that reached the server (empty list for a malformed one).
    [[nodiscard]] const std::vector<std::vector<RequestRecord>>& exchanges() const { return exchanges_; }
    // Atoms, mappings and views still held by the client.
    [[nodiscard]] std::size_t heldAtoms() const { return atoms_.size(); }
    [[nodiscard]] std::size_t heldMappings() const { return mappingOpen_ ? 1 : 0; }
    [[nodiscard]] std::size_t heldViews() const { return viewsHeld_; }
    [[nodiscard]] const std::string& lastAtomName() const { return lastAtomName_; }
    [[nodiscard]] const std::string& lastMappingName() const { return lastMappingName_; }

    simlink::WindowHandle findWindow(std::string_view className) override;
    bool isWindow(simlink::WindowHandle window) override;
    // A shown window answers unless hung, or its sends fail; serves what a hang queued first.
    bool answering(simlink::WindowHandle window) override;
    std::uint32_t registerWindowMessage(std::string_view name) override;
    std::uint32_t currentProcessId() override { return processId_; }
    simlink::Atom addAtom(std::string_view name) override;
    void deleteAtom(simlink::Atom atom) override;
    simlink::MappingHandle createFileMapping(std::string_view name, std::uint32_t sizeBytes) override;
    std::span<std::byte> mapView(simlink::MappingHandle mapping) override;
    void unmapView(std::span<std::byte> view) override;
    void closeHandle(simlink::MappingHandle mapping) override;
    std::uint32_t lastError() override { return lastError_; }
    bool sendMessageTimeout(simlink::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam, std::uint32_t timeoutMs, std::uint32_t& reply) override;
    void sleep(std::uint32_t milliseconds) override { sleeps_.push_back(milliseconds); }

    // How many isWindow calls the client made.
    [[nodiscard]] int isWindowCount() const { return isWindowCount_; }

private:
    [[nodiscard]] bool shown(simlink::WindowHandle window) const;
    // Serves one block named by `atom`, looked up now as a server does; the reply it gives.
    std::uint32_t serve(simlink::Atom atom);
    void serveQueued();

    static constexpr simlink::MappingHandle kMappingHandle = 0x2001;
    static constexpr simlink::MappingHandle kSecondMappingHandle = 0x2002;  // the same mapping opened again
    static constexpr simlink::Atom kFirstAtom = 0xC000;

    struct AtomEntry {
        std::string name;
        int references = 0;
    };

    OffsetSpace space_;
    std::uint32_t processId_ = kProcessId;
    std::int32_t versionWord_ = kDefaultVersionWord;
    std::int32_t simulatorWord_ = kDefaultSimulatorWord;
    std::vector<std::byte> block_;  // the mapping's memory while it is open
    bool mappingOpen_ = false;
    bool secondHandleOpen_ = false;
    std::size_t viewsHeld_ = 0;
    std::map<simlink::Atom, AtomEntry> atoms_;
    std::string lastAtomName_;
    std::string lastMappingName_;
    simlink::WindowHandle shownWindow_ = 0;
    std::uint32_t lastError_ = 0;
    int sendCount_ = 0;
    int isWindowCount_ = 0;
    int probeCount_ = 0;
    std::vector<std::uint32_t> sendTimeouts_;
    std::vector<simlink::Atom> queuedWhileHung_;
    std::vector<std::string> servedAtomNames_;
    std::vector<std::uint32_t> sleeps_;
    std::vector<FakeWrite> writes_;
    std::vector<std::vector<RequestRecord>> exchanges_;
};

}  // namespace stratocue::standins
