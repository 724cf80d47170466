#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace stratocue::simlink {

// The posix stand-in for a window message: one request frame per connection to the
// server's socket, answered by a 4-byte reply. All integers little-endian:
//   0  magic          u32  kIpcFrameMagic
//   4  message        u32  registered message number
//   8  wParam         u64  the atom
//   16 lParam         i64
//   24 atom name size u32  at most kIpcMaxAtomNameBytes
//   28 atom name      the mapping name the atom stands for (the posix stand-in for the
//                     system-wide atom table), without a terminating zero
constexpr std::uint32_t kIpcFrameMagic = 0x4B4C5153;  // "SQLK"
constexpr std::size_t kIpcFrameHeaderBytes = 28;
constexpr std::size_t kIpcMaxAtomNameBytes = 255;
constexpr std::size_t kIpcReplyBytes = 4;

struct IpcRequestFrame {
    std::uint32_t message = 0;
    std::uint64_t wParam = 0;
    std::int64_t lParam = 0;
    std::string atomName;

    friend bool operator==(const IpcRequestFrame&, const IpcRequestFrame&) = default;
};

// The whole frame as bytes; a name longer than kIpcMaxAtomNameBytes is cut to that length.
[[nodiscard]] std::vector<std::byte> encodeIpcRequestFrame(const IpcRequestFrame& frame);
// From the first kIpcFrameHeaderBytes of a frame: how many name bytes follow; empty when
// the header is short, the magic is wrong or the name is too long.
[[nodiscard]] std::optional<std::size_t> ipcAtomNameBytes(std::span<const std::byte> header);
// A complete frame (header and exactly its name bytes); empty when it is malformed.
[[nodiscard]] std::optional<IpcRequestFrame> decodeIpcRequestFrame(std::span<const std::byte> frame);

[[nodiscard]] std::array<std::byte, kIpcReplyBytes> encodeIpcReply(std::uint32_t reply);
[[nodiscard]] std::uint32_t decodeIpcReply(std::span<const std::byte, kIpcReplyBytes> reply);

// "<folder>/stratocue-<className>.sock": the socket that stands for a server window.
[[nodiscard]] std::string ipcSocketPath(std::string_view folder, std::string_view className);
// The shared-memory object name of a mapping: "/" + the name, its ':' kept. Empty when
// the name is empty, holds a '/' or a zero, or is longer than kIpcMaxAtomNameBytes.
[[nodiscard]] std::optional<std::string> ipcSharedMemoryName(std::string_view mappingName);

}  // namespace stratocue::simlink
