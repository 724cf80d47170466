#include "common/ansi_text.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace stratocue {
namespace {

TEST(AnsiText, EveryByteSurvivesTheRoundTrips) {
    std::string allBytes;
    for (int code = 0; code < 256; ++code) allBytes += static_cast<char>(code);

    const auto bytes = bytesFromAnsi(allBytes);
    ASSERT_EQ(bytes.size(), 256u);
    EXPECT_EQ(ansiFromBytes(bytes), allBytes);
    EXPECT_EQ(ansiFromUtf8(utf8FromAnsi(allBytes)), allBytes);
}

TEST(AnsiText, HighBytesBecomeTheirOwnUnicodeCharacters) {
    EXPECT_EQ(utf8FromAnsi("\x82"), "\xC2\x82");
    EXPECT_EQ(utf8FromAnsi("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(ansiFromUtf8("\xE2\x82\xAC"), "?");  // the euro sign has no one-byte code here
    EXPECT_EQ(ansiFromUtf8("\xC3"), "?");          // cut-short sequence
}

TEST(AnsiText, UpperCaseAndReplace) {
    EXPECT_EQ(upperAscii("ksfo\xE9"), "KSFO\xE9");
    EXPECT_EQ(replaceAll("1,570796", ",", "."), "1.570796");
    EXPECT_EQ(replaceAll("aaaa", "aa", "b"), "bb");
    EXPECT_EQ(replaceAll("abc", "", "x"), "abc");
}

}  // namespace
}  // namespace stratocue
