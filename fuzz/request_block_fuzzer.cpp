// The stand-in simulator's reading of a request block, as a client may leave it in the
// shared memory: either the whole block is refused and nothing changes, or every record
// lies inside the block and the offsets, each write is reported, and the link version
// word, which the server owns, keeps its value.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "common/sim_offsets.h"
#include "fuzz_input.h"
#include "simlink/link.h"
#include "standins/server/offset_space.h"
#include "standins/server/request_block.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace stratocue;
    const std::span<const std::byte> input = fuzz::asBytes(data, std::min(size, simlink::kBlockBytes));
    const std::optional<std::vector<standins::RequestRecord>> records = standins::parseRequestBlock(input);

    std::vector<std::byte> block(input.begin(), input.end());
    standins::OffsetSpace space;
    constexpr std::uint16_t kServerLibraryWord = 0xFADE;
    space.setLe16(offsets::kLibraryVersion.place(), kServerLibraryWord);
    std::size_t writesSeen = 0;
    const std::uint32_t reply = standins::processRequestBlock(block, space, [&](const standins::WriteNotice& notice) {
        ++writesSeen;
        fuzz::expect(std::size_t{notice.offset} + notice.bytes.size() <= standins::kOffsetSpaceBytes,
                     "a write stays inside the offsets");
    });

    if (!records) {
        fuzz::expect(reply == standins::kReplyRefused, "a malformed block is refused");
        fuzz::expect(std::equal(block.begin(), block.end(), input.begin()), "a refused block is left as it was");
        fuzz::expect(writesSeen == 0, "a refused block writes nothing");
        return 0;
    }
    fuzz::expect(reply == standins::kReplyServed, "a well-formed block is served");
    std::size_t writes = 0;
    for (const standins::RequestRecord& record : *records) {
        fuzz::expect(record.dataAt + record.size <= block.size(), "a record's data lies inside the block");
        fuzz::expect(std::size_t{record.offset} + record.size <= standins::kOffsetSpaceBytes,
                     "a record's offsets lie inside the space");
        if (record.type == static_cast<std::uint32_t>(simlink::kRecordWrite)) ++writes;
    }
    fuzz::expect(writes == writesSeen, "every write is reported once");
    fuzz::expect(space.getLe16(offsets::kLibraryVersion.place()) == kServerLibraryWord,
                 "the link version word keeps its value");
    return 0;
}
