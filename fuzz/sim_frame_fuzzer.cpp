// The frame the stand-in simulator reads from a client's connection: a frame it accepts is
// exactly one the link could have sent, byte for byte.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "fuzz_input.h"
#include "simlink/posix_wire.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace stratocue;
    const std::span<const std::byte> input = fuzz::asBytes(data, size);
    const std::optional<std::size_t> nameBytes = simlink::ipcAtomNameBytes(input);
    const std::optional<simlink::IpcRequestFrame> frame = simlink::decodeIpcRequestFrame(input);
    if (!frame) return 0;
    fuzz::expect(nameBytes && *nameBytes == frame->atomName.size(), "the header's name size is the name's");
    const std::vector<std::byte> encoded = simlink::encodeIpcRequestFrame(*frame);
    fuzz::expect(std::equal(encoded.begin(), encoded.end(), input.begin(), input.end()),
                 "an accepted frame encodes back to the same bytes");
    return 0;
}
