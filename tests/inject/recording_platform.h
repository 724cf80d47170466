#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "common/sim_offsets.h"
#include "simlink/ipc_platform.h"
#include "simlink/link.h"
#include "simlink/little_endian.h"

namespace stratocue::inject::testing {

// One write record the server received.
struct WriteRecord {
    std::int32_t offset = 0;
    std::vector<std::byte> bytes;
};

// An in-process server for the writers' tests: maps a block, answers the version reads of
// the link's handshake, replies 1 to every send and records the write records of each send.
class RecordingPlatform final : public simlink::IpcPlatform {
public:
    simlink::WindowHandle findWindow(std::string_view className) override {
        return className == simlink::kServerClass ? 1 : 0;
    }
    std::uint32_t registerWindowMessage(std::string_view) override { return 0xC100; }
    std::uint32_t currentProcessId() override { return 0x1234; }
    simlink::Atom addAtom(std::string_view) override { return 0xC001; }
    void deleteAtom(simlink::Atom) override {}
    simlink::MappingHandle createFileMapping(std::string_view, std::uint32_t sizeBytes) override {
        block_.assign(sizeBytes, std::byte{0});
        return 7;
    }
    std::span<std::byte> mapView(simlink::MappingHandle) override { return block_; }
    void unmapView(std::span<std::byte>) override {}
    void closeHandle(simlink::MappingHandle) override {}
    std::uint32_t lastError() override { return 0; }
    void sleep(std::uint32_t) override {}

    bool sendMessageTimeout(simlink::WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t, std::uint32_t,
                            std::uint32_t& reply) override {
        std::vector<WriteRecord> writes;
        std::size_t at = 0;
        for (;;) {
            const std::int32_t type = simlink::readLe32(block_, at);
            if (type == simlink::kRecordRead) {
                const std::int32_t offset = simlink::readLe32(block_, at + 4);
                const auto size = static_cast<std::size_t>(simlink::readLe32(block_, at + 8));
                if (offset == offsets::kServerVersion.offset) simlink::writeLe32(block_, at + 16, 0x19980005);
                if (offset == offsets::kSimulatorWord.offset) {
                    simlink::writeLe32(block_, at + 16, static_cast<std::int32_t>(0xFADE0006));
                }
                at += simlink::kReadHeaderBytes + size;
            } else if (type == simlink::kRecordWrite) {
                const std::int32_t offset = simlink::readLe32(block_, at + 4);
                const auto size = static_cast<std::size_t>(simlink::readLe32(block_, at + 8));
                const auto data = std::span<const std::byte>(block_).subspan(at + simlink::kWriteHeaderBytes, size);
                writes.push_back({offset, {data.begin(), data.end()}});
                at += simlink::kWriteHeaderBytes + size;
            } else {
                break;
            }
        }
        exchanges_.push_back(std::move(writes));
        reply = 1;
        return true;
    }

    // Forgets everything received so far.
    void clearLog() { exchanges_.clear(); }
    // The write records of each send, in order.
    [[nodiscard]] const std::vector<std::vector<WriteRecord>>& exchanges() const { return exchanges_; }

    // All write records in the order received.
    [[nodiscard]] std::vector<WriteRecord> writes() const {
        std::vector<WriteRecord> all;
        for (const auto& exchange : exchanges_) all.insert(all.end(), exchange.begin(), exchange.end());
        return all;
    }
    [[nodiscard]] std::vector<std::int32_t> writtenOffsets() const {
        std::vector<std::int32_t> offsets;
        for (const WriteRecord& record : writes()) offsets.push_back(record.offset);
        return offsets;
    }
    // The bytes last written at `offset`, if any.
    [[nodiscard]] std::optional<std::vector<std::byte>> bytesAt(std::int32_t offset) const {
        std::optional<std::vector<std::byte>> found;
        for (const WriteRecord& record : writes()) {
            if (record.offset == offset) found = record.bytes;
        }
        return found;
    }
    // The 2-byte little-endian value last written at `offset`, unsigned, if any.
    [[nodiscard]] std::optional<std::uint16_t> value16At(std::int32_t offset) const {
        const auto bytes = bytesAt(offset);
        if (!bytes || bytes->size() != 2) return std::nullopt;
        return static_cast<std::uint16_t>(simlink::readLe16(*bytes));
    }

private:
    std::vector<std::byte> block_;
    std::vector<std::vector<WriteRecord>> exchanges_;
};

// A link opened over a RecordingPlatform, its handshake already forgotten.
struct RecordedLink {
    RecordedLink() {
        link.Link_Init();
        std::int32_t code = -1;
        opened = link.Link_Open(0, code);
        platform.clearLog();
    }
    RecordingPlatform platform;
    simlink::Link link{platform};
    bool opened = false;
};

}  // namespace stratocue::inject::testing
