#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "simlink/ipc_platform.h"
#include "simlink/little_endian.h"

namespace stratocue::simlink {

// Result codes of the link operations; ResultTexts gives their texts.
enum ResultCode : std::int32_t {
    kOk = 0,
    kAlreadyOpen = 1,
    kNoServer = 2,
    kRegisterFailed = 3,
    kAtomFailed = 4,
    kMappingFailed = 5,
    kViewFailed = 6,
    kWrongVersion = 7,
    kWrongSimulator = 8,
    kNotOpen = 9,
    kNothingQueued = 10,
    kTimedOut = 11,
    kSendFailed = 12,
    kBadData = 13,
    kClientWithoutSimulator = 14,
    kBlockFull = 15,
};

constexpr std::size_t kBlockBytes = 0x8000;   // the shared block
constexpr std::size_t kUsableBytes = 0x7F00;  // requests plus terminator must fit here
constexpr std::size_t kReadHeaderBytes = 16;
constexpr std::size_t kWriteHeaderBytes = 12;
constexpr std::size_t kTerminatorBytes = 4;
constexpr std::int32_t kRecordEnd = 0;
constexpr std::int32_t kRecordRead = 1;
constexpr std::int32_t kRecordWrite = 2;
constexpr std::uint32_t kSendTimeoutMs = 2000;
constexpr int kSendAttempts = 11;
constexpr std::uint32_t kRetryPauseMs = 100;
// What one exchange may hold the program at most: its sends' time-outs, its pauses and its
// probes together, well below the 5 s after which Windows calls a program not responding.
constexpr std::uint32_t kExchangeBudgetMs = 2500;

// Servers read the mapping name into a field of this many bytes, its ending zero included.
constexpr std::size_t kMappingNameFieldBytes = 24;

inline constexpr std::string_view kServerClass = "UIPCMAIN";
inline constexpr std::string_view kClientClass = "FS98MAIN";
inline constexpr std::string_view kMessageName = "FSASMLIB:IPC";

// ResultTexts(code): the text of a result code; "" for a code outside the table.
[[nodiscard]] const std::string& ResultTexts(std::int32_t code);
// SimNames(number): the simulator's name; "Unknown" for a number without an entry.
[[nodiscard]] const std::string& SimNames(std::int32_t simulatorNumber);
// "FSASMLIB:IPC:" + process id in upper-case hex + ":" + the count of opens in this process,
// so that a reopen never meets a mapping that a stalled server still holds.
[[nodiscard]] std::string mappingName(std::uint32_t processId, std::uint32_t openCount = 1);

// The link's process-wide state.
struct LinkState {
    std::int32_t ServerVersion = 0;
    std::int32_t SimId = 0;  // the simulator word; only its low 16 bits after a good open
    std::int16_t LibVersion = 0;
    WindowHandle serverWindow = 0;
    std::uint32_t ipcMessage = 0;
    std::int32_t atom = 0;
    MappingHandle mapping = 0;
    std::span<std::byte> view;  // empty when the link is closed
    std::size_t nextFree = 0;   // offset of the next record in the view
};

// The simulator link: queues read and write records in the shared block, hands the block
// to the server with one message, and copies the returned bytes into the readers'
// variables. Each operation but Link_Init and Link_Close returns a success flag and sets
// `code` to 0 or to one of the result codes.
class Link {
public:
    explicit Link(IpcPlatform& platform) : platform_(platform) {}
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;
    ~Link();

    // Forgets every handle without releasing anything; called once before the first open.
    void Link_Init();
    // Finds the server, maps the block and checks the server's version words;
    // `requestedSimulator` 0 accepts any simulator. A good open clears an exchange failure;
    // a failed one keeps the earlier failure unless its own exchanges failed.
    bool Link_Open(std::int32_t requestedSimulator, std::int32_t& code);
    // Releases everything; harmless when nothing is open.
    void Link_Close();
    // Queues a read of `size` bytes at `offset`; after a successful Link_Process the bytes
    // are in `destination` (empty = discard). A negative size, or a destination shorter
    // than `size`, gives code 13 and queues nothing.
    bool Link_Read(std::int32_t offset, std::int32_t size, std::span<std::byte> destination, std::int32_t& code);
    // Queues a write of the first `size` bytes of `source`; a negative size, or a source
    // shorter than `size`, gives code 13 and queues nothing.
    bool Link_Write(std::int32_t offset, std::int32_t size, std::span<const std::byte> source, std::int32_t& code);
    // As Link_Write with the first `size` characters of `text`; missing characters are zeros.
    bool Link_WriteText(std::int32_t offset, std::int32_t size, std::string_view text, std::int32_t& code);
    // Sends the queued block and copies the read results; the queue is empty afterwards.
    // A reply whose records differ in any way from what was queued gives code 13 and
    // copies nothing. After an exchange failure nothing is sent: the call fails at once
    // with that failure's code.
    bool Link_Process(std::int32_t& code);

    [[nodiscard]] const LinkState& state() const { return state_; }
    [[nodiscard]] bool isOpen() const { return !state_.view.empty(); }
    // The code (11 or 12) of the exchange that failed all its sends, 0 while none has. It
    // stays until a good Link_Open or Link_Init: a server that failed once is not asked
    // again before the link is opened anew.
    [[nodiscard]] std::int32_t exchangeFailure() const { return exchangeFailure_; }
    // Whether a server is there to open the link to, found without waiting for it: the
    // window held still exists, or a window of either server class is found.
    [[nodiscard]] bool serverPresent();
    // Whether the server whose send timed out still does not answer, asked without waiting
    // for it. Once it answers again, or is gone, the hang is forgotten and the atoms kept
    // for it are deleted.
    [[nodiscard]] bool serverHung();
    // How many opens this link has begun; the mapping name carries the count.
    [[nodiscard]] std::uint32_t openCount() const { return openCount_; }
    // Asked before each retry of a send: true gives the retries up, so that a program
    // asked to end is not held by a server that does not answer.
    void setGiveUp(std::function<bool()> giveUp) { giveUp_ = std::move(giveUp); }

private:
    // What the link queued, kept apart from the shared block so that the reply scan can
    // check every record the server hands back.
    struct QueuedRecord {
        std::int32_t type = 0;
        std::int32_t offset = 0;
        std::int32_t size = 0;
        std::uint32_t token = 0;  // 1-based index into destinations_, 0 = no destination
    };

    // Writes one record at next free; `data` shorter than `size` is padded with zeros.
    bool queueRecord(std::int32_t type, std::int32_t offset, std::int32_t size, std::span<const std::byte> data,
                     std::span<std::byte> destination, std::int32_t& code);
    bool open(std::int32_t requestedSimulator, std::int32_t& code);
    // Sends the terminated block, up to 11 times with 100 ms pauses, fewer when the server
    // window is gone, when it timed out and does not answer a probe, or when the exchange's
    // time is spent; on failure sets code 11 or 12 and remembers it as the exchange failure.
    bool sendBlock(std::uint32_t& reply, std::int32_t& code);
    // Checks every record against what was queued, then copies the read results.
    bool scanReply(std::int32_t& code);
    // The version handshake of Link_Open; false ends the open with `code`.
    bool handshake(std::int32_t& code);
    void clearQueue();
    // A server that may still hold messages naming an atom must not see its number given
    // to a new mapping's name: such atoms are kept until the server answers or is gone.
    void keepOrDeleteAtom();
    void deleteKeptAtoms();

    IpcPlatform& platform_;
    LinkState state_;
    std::vector<QueuedRecord> queued_;
    std::vector<std::span<std::byte>> destinations_;
    std::int32_t exchangeFailure_ = 0;
    std::uint32_t openCount_ = 0;
    std::function<bool()> giveUp_;
    WindowHandle hungWindow_ = 0;  // the server window whose send timed out; 0 = none
    std::vector<Atom> keptAtoms_;
};

// Shift(value, bits, left): value * 2^bits (to nearest) or value / 2^bits truncated toward
// zero; raises an overflow fault (source "Shift") when the result leaves 32 bits.
[[nodiscard]] std::int32_t Shift(std::int32_t value, std::int32_t bits, bool left);

}  // namespace stratocue::simlink
