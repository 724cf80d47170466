#include "web/page_text.h"
#include "common/fault.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

namespace stratocue::web {
namespace {

std::vector<std::byte> bytesOf(std::initializer_list<unsigned char> codes) {
    std::vector<std::byte> bytes;
    for (const unsigned char code : codes) bytes.push_back(std::byte{code});
    return bytes;
}

struct AcceptedCase {
    std::string name;
    std::vector<std::byte> body;
    std::string expectedText;
};

TEST(PageTextFromBody, EveryByteBecomesTheCharacterOfItsCode) {
    const std::vector<AcceptedCase> cases = {
        {"PlainAscii", bytesOf({'K', 'J', 'F', 'K'}), "KJFK"},
        {"ZeroByteKept", bytesOf({'A', 0x00, 'B'}), std::string("A\0B", 3)},
        {"ByteAbove127Kept", bytesOf({0xE9}), "\xE9"},
        {"LongestPage32767Bytes", std::vector<std::byte>(32767, std::byte{'x'}), std::string(32767, 'x')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(pageTextFromBody(c.body), c.expectedText);
    }
}

struct RejectedCase {
    std::string name;
    std::vector<std::byte> body;
    RuntimeFault::Kind expectedKind;
};

TEST(PageTextFromBody, EmptyOrOverlongBodyIsAFault) {
    const std::vector<RejectedCase> cases = {
        {"Empty", {}, RuntimeFault::Kind::InvalidArgument},
        {"OneByteBeyond32767", std::vector<std::byte>(32768, std::byte{'x'}), RuntimeFault::Kind::Overflow},
        {"FarTooLong", std::vector<std::byte>(100000, std::byte{'x'}), RuntimeFault::Kind::Overflow},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            static_cast<void>(pageTextFromBody(c.body));
            ADD_FAILURE() << "no fault raised";
        } catch (const RuntimeFault& fault) {
            EXPECT_EQ(fault.kind(), c.expectedKind);
            EXPECT_NE(std::string(fault.what()), "");
        }
    }
}

}  // namespace
}  // namespace stratocue::web
