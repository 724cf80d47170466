#include "simlink/posix_wire.h"

#include <algorithm>

#include "simlink/little_endian.h"

namespace stratocue::simlink {

std::vector<std::byte> encodeIpcRequestFrame(const IpcRequestFrame& frame) {
    const std::size_t nameBytes = std::min(frame.atomName.size(), kIpcMaxAtomNameBytes);
    std::vector<std::byte> bytes(kIpcFrameHeaderBytes + nameBytes);
    writeLeU32(bytes, 0, kIpcFrameMagic);
    writeLeU32(bytes, 4, frame.message);
    writeLeU64(bytes, 8, frame.wParam);
    writeLeU64(bytes, 16, static_cast<std::uint64_t>(frame.lParam));
    writeLeU32(bytes, 24, static_cast<std::uint32_t>(nameBytes));
    const auto name = std::as_bytes(std::span(frame.atomName.data(), nameBytes));
    std::copy(name.begin(), name.end(), bytes.begin() + kIpcFrameHeaderBytes);
    return bytes;
}

std::optional<std::size_t> ipcAtomNameBytes(std::span<const std::byte> header) {
    if (header.size() < kIpcFrameHeaderBytes || readLeU32(header, 0) != kIpcFrameMagic) {
        return std::nullopt;
    }
    const std::uint32_t nameBytes = readLeU32(header, 24);
    if (nameBytes > kIpcMaxAtomNameBytes) {
        return std::nullopt;
    }
    return nameBytes;
}

std::optional<IpcRequestFrame> decodeIpcRequestFrame(std::span<const std::byte> frame) {
    const std::optional<std::size_t> nameBytes = ipcAtomNameBytes(frame);
    if (!nameBytes || frame.size() != kIpcFrameHeaderBytes + *nameBytes) {
        return std::nullopt;
    }
    IpcRequestFrame decoded;
    decoded.message = readLeU32(frame, 4);
    decoded.wParam = readLeU64(frame, 8);
    decoded.lParam = static_cast<std::int64_t>(readLeU64(frame, 16));
    for (const std::byte nameByte : frame.subspan(kIpcFrameHeaderBytes)) {
        decoded.atomName.push_back(static_cast<char>(nameByte));
    }
    return decoded;
}

std::array<std::byte, kIpcReplyBytes> encodeIpcReply(std::uint32_t reply) {
    std::array<std::byte, kIpcReplyBytes> bytes{};
    writeLeU32(bytes, 0, reply);
    return bytes;
}

std::uint32_t decodeIpcReply(std::span<const std::byte, kIpcReplyBytes> reply) { return readLeU32(reply, 0); }

std::string ipcSocketPath(std::string_view folder, std::string_view className) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    return path + "stratocue-" + std::string(className) + ".sock";
}

std::optional<std::string> ipcSharedMemoryName(std::string_view mappingName) {
    if (mappingName.empty() || mappingName.size() > kIpcMaxAtomNameBytes ||
        mappingName.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos) {
        return std::nullopt;
    }
    return "/" + std::string(mappingName);
}

}  // namespace stratocue::simlink
