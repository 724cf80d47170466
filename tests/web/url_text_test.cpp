#include "web/url_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace stratocue {
namespace {

struct EncodeCase {
    const char* name;
    std::string text;
    std::string encoded;
};

TEST(PercentEncodeUnsafe, EncodesOnlyWhatCannotStandInAUrl) {
    const std::vector<EncodeCase> cases = {
        {"PlainIdentifierUnchanged", "KSFO", "KSFO"},
        {"LowerCaseUnchanged", "ksfo", "ksfo"},
        {"DigitsUnchanged", "K0S9", "K0S9"},
        {"Empty", "", ""},
        {"Blank", "KS FO", "KS%20FO"},
        {"Hash", "K#FO", "K%23FO"},
        {"Percent", "K%FO", "K%25FO"},
        {"EscapeLookalikeIsEncodedAgain", "%41", "%2541"},
        {"ZeroByte", std::string("K\0FO", 4), "K%00FO"},
        {"TabAndLineBreaks", "\t\r\n", "%09%0D%0A"},
        {"UnitSeparator", "\x1F", "%1F"},
        {"Delete", "\x7F", "%7F"},
        {"FirstByteAbove127", "\x80", "%80"},
        {"AccentedLetter", "CAF\xC9", "CAF%C9"},
        {"HighestByte", "\xFF", "%FF"},
        {"OtherPunctuationUnchanged", "&?=+/:;@!$'()*,~-._<>\"", "&?=+/:;@!$'()*,~-._<>\""},
    };
    for (const EncodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(percentEncodeUnsafe(c.text), c.encoded);
    }
}

TEST(PercentEncodeUnsafe, ExactlyBlankHashPercentControlAndHighBytes) {
    for (int code = 0; code < 256; ++code) {
        const std::string byte(1, static_cast<char>(code));
        const bool unsafe = code <= 0x20 || code >= 0x7F || code == '#' || code == '%';
        const std::string encoded = percentEncodeUnsafe(byte);
        if (unsafe) {
            char expected[4] = {};
            std::snprintf(expected, sizeof expected, "%%%02X", static_cast<unsigned>(code));
            EXPECT_EQ(encoded, expected) << code;
        } else {
            EXPECT_EQ(encoded, byte) << code;
        }
    }
}

}  // namespace
}  // namespace stratocue
