// The link's scan of the block the server hands back. The link queues a few records over
// the in-process fake simulator; the fake serves them and then the fuzzer's patches change
// the served block before the link reads it. Whatever the block says, the link copies
// either nothing (a refused reply) or exactly the data areas of its own records.
//
// Input: a record count byte, two bytes per record (kind and offset, size), then patches
// of six bytes each: a 16-bit block position and the 32-bit little-endian value put there.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz_input.h"
#include "simlink/link.h"
#include "simlink/little_endian.h"
#include "standins/server/fake_ipc_platform.h"

namespace {

using namespace stratocue;

constexpr std::size_t kMaxRecords = 14;  // one tick's worth of reads
constexpr std::size_t kLargestSize = 8;
constexpr std::size_t kPatchBytes = 6;
constexpr std::byte kUntouched{0xAA};
// Offsets the program really reads and writes, so the server serves them.
constexpr std::array<std::int32_t, 8> kOffsets = {0x0564, 0x056C, 0x0E9E, 0x0E8C, 0x0574, 0x0238, 0x3304, 0x0F42};

enum class Kind { ReadInto, ReadDiscarded, Write };

struct Planned {
    Kind kind = Kind::ReadInto;
    std::int32_t offset = 0;
    std::int32_t size = 0;
    std::size_t dataAt = 0;  // where its data sits in the block
    std::array<std::byte, kLargestSize> destination{};
};

// Reads the records to queue; returns how many input bytes they took.
std::size_t planRecords(std::span<const std::uint8_t> input, std::vector<Planned>& records) {
    if (input.empty()) return 0;
    const std::size_t count = 1 + input[0] % kMaxRecords;
    std::size_t used = 1;
    std::size_t at = 0;
    for (std::size_t i = 0; i < count && used + 1 < input.size(); ++i, used += 2) {
        Planned record;
        record.kind = static_cast<Kind>(input[used] % 3);
        record.offset = kOffsets[(input[used] / 3) % kOffsets.size()];
        record.size = static_cast<std::int32_t>(input[used + 1] % (kLargestSize + 1));
        record.destination.fill(kUntouched);
        at += record.kind == Kind::Write ? simlink::kWriteHeaderBytes : simlink::kReadHeaderBytes;
        record.dataAt = at;
        at += static_cast<std::size_t>(record.size);
        records.push_back(record);
    }
    return used;
}

void queue(simlink::Link& link, Planned& record) {
    std::int32_t code = -1;
    bool queued = false;
    switch (record.kind) {
        case Kind::ReadInto:
            queued = link.Link_Read(record.offset, record.size, record.destination, code);
            break;
        case Kind::ReadDiscarded:
            queued = link.Link_Read(record.offset, record.size, {}, code);
            break;
        case Kind::Write:
            queued = link.Link_Write(record.offset, record.size, record.destination, code);
            break;
    }
    fuzz::expect(queued, "a small record is queued");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    std::vector<Planned> records;
    const std::span<const std::uint8_t> patches = input.subspan(planRecords(input, records));
    if (records.empty()) return 0;

    standins::FakeIpcPlatform platform;
    simlink::Link link(platform);
    link.Link_Init();
    std::int32_t code = -1;
    fuzz::expect(link.Link_Open(0, code), "the fake simulator opens");
    platform.faults.tamper = [patches](std::span<std::byte> block) {
        for (std::size_t at = 0; at + kPatchBytes <= patches.size(); at += kPatchBytes) {
            const std::size_t position = patches[at] | (std::size_t{patches[at + 1]} << 8);
            const auto value = static_cast<std::int32_t>(
                std::uint32_t{patches[at + 2]} | (std::uint32_t{patches[at + 3]} << 8) |
                (std::uint32_t{patches[at + 4]} << 16) | (std::uint32_t{patches[at + 5]} << 24));
            if (position + 4 <= block.size()) simlink::writeLe32(block, position, value);
        }
    };
    for (Planned& record : records) queue(link, record);

    const bool accepted = link.Link_Process(code);
    fuzz::expect(link.state().nextFree == 0, "the queue is empty after a process");
    fuzz::expect(accepted == (code == simlink::kOk), "the code tells the outcome");
    const std::span<const std::byte> block = link.state().view;
    for (const Planned& record : records) {
        const auto byteCount = static_cast<std::size_t>(record.size);
        for (std::size_t i = 0; i < kLargestSize; ++i) {
            const bool copied = accepted && record.kind == Kind::ReadInto && i < byteCount;
            const std::byte expected = copied ? block[record.dataAt + i] : kUntouched;
            fuzz::expect(record.destination[i] == expected, "only an accepted read's own bytes are copied");
        }
    }
    return 0;
}
