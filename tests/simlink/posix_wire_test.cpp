#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simlink/little_endian.h"
#include "simlink/posix_wire.h"

namespace stratocue::simlink {
namespace {

TEST(PosixWire, RequestFramesRoundTrip) {
    struct Case {
        const char* name;
        IpcRequestFrame frame;
    };
    const Case cases[] = {
        {"TypicalRequest", {0xC000, 0xC001, 0, "FSASMLIB:IPC:1A2B:1"}},
        {"NoAtomName", {1, 0, -1, ""}},
        {"WidestValues", {0xFFFFFFFF, 0xFFFFFFFFFFFFFFFF, INT64_MIN, std::string(kIpcMaxAtomNameBytes, 'x')}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const std::vector<std::byte> bytes = encodeIpcRequestFrame(test.frame);
        EXPECT_EQ(bytes.size(), kIpcFrameHeaderBytes + test.frame.atomName.size());
        EXPECT_EQ(readLeU32(bytes, 0), kIpcFrameMagic);
        EXPECT_EQ(ipcAtomNameBytes(bytes), test.frame.atomName.size());
        EXPECT_EQ(decodeIpcRequestFrame(bytes), test.frame);
    }
}

TEST(PosixWire, MalformedFramesAreRefused) {
    const std::vector<std::byte> good = encodeIpcRequestFrame({0xC000, 0xC000, 0, "name"});
    struct Case {
        const char* name;
        std::vector<std::byte> bytes;
    };
    std::vector<std::byte> wrongMagic = good;
    wrongMagic[0] = std::byte{0};
    std::vector<std::byte> nameTooLong = good;
    writeLeU32(nameTooLong, 24, static_cast<std::uint32_t>(kIpcMaxAtomNameBytes + 1));
    std::vector<std::byte> trailingByte = good;
    trailingByte.push_back(std::byte{0});
    const Case cases[] = {
        {"Empty", {}},
        {"HeaderCutShort", {good.begin(), good.begin() + 27}},
        {"NameCutShort", {good.begin(), good.end() - 1}},
        {"TrailingByte", trailingByte},
        {"WrongMagic", wrongMagic},
        {"NameTooLong", nameTooLong},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_FALSE(decodeIpcRequestFrame(test.bytes).has_value());
    }
}

TEST(PosixWire, ReplyIsFourLittleEndianBytes) {
    const auto bytes = encodeIpcReply(0x01020304);
    EXPECT_EQ(bytes[0], std::byte{4});
    EXPECT_EQ(bytes[3], std::byte{1});
    EXPECT_EQ(decodeIpcReply(bytes), 0x01020304U);
}

TEST(PosixWire, NamesOfSocketsAndSharedMemory) {
    EXPECT_EQ(ipcSocketPath("/tmp", "UIPCMAIN"), "/tmp/stratocue-UIPCMAIN.sock");
    EXPECT_EQ(ipcSocketPath("/run/x/", "FS98MAIN"), "/run/x/stratocue-FS98MAIN.sock");
    struct Case {
        const char* name;
        std::string mappingName;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"ColonsKept", "FSASMLIB:IPC:1A2B:1", "/FSASMLIB:IPC:1A2B:1"},
        {"EmptyRefused", "", std::nullopt},
        {"SlashRefused", "a/../b", std::nullopt},
        {"ZeroRefused", std::string("a\0b", 3), std::nullopt},
        {"TooLongRefused", std::string(kIpcMaxAtomNameBytes + 1, 'a'), std::nullopt},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(ipcSharedMemoryName(test.mappingName), test.expected);
    }
}

}  // namespace
}  // namespace stratocue::simlink
