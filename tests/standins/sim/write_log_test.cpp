#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/sim_offsets.h"
#include "standins/sim/sim_offsets.h"
#include "standins/sim/write_log.h"

namespace stratocue::standins {
namespace {

std::vector<std::byte> bytesOf(std::initializer_list<unsigned> values) {
    std::vector<std::byte> bytes;
    for (const unsigned value : values) {
        bytes.push_back(static_cast<std::byte>(value));
    }
    return bytes;
}

TEST(WriteLog, WriteLines) {
    struct Case {
        const char* name;
        double seconds;
        std::uint32_t offset;
        std::vector<std::byte> bytes;
        const char* expected;
    };
    const Case cases[] = {
        {"WindSpeed", 1.2344, offsets::kTemperature.offset, bytesOf({0x00, 0x0F}),
         R"({"t":1.234,"offset":"0x0F42","size":2,"data":"000f"})"},
        {"ShortOffsetPadded", 0.0, offsets::kClock.offset, bytesOf({0xAB}),
         R"({"t":0.0,"offset":"0x0238","size":1,"data":"ab"})"},
        {"MinusOne", 12.0006, offsets::kMessageShow.offset, bytesOf({0xFF, 0xFF}),
         R"({"t":12.001,"offset":"0x32FA","size":2,"data":"ffff"})"},
        {"EmptyWrite", 2.5, 0x1000, {}, R"({"t":2.5,"offset":"0x1000","size":0,"data":""})"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(writeLogLine(test.seconds, test.offset, test.bytes), test.expected);
    }
}

TEST(WriteLog, MessageLinesKeepEveryByteAsItsCharacter) {
    EXPECT_EQ(messageLogLine(3.25, "Stratocue->KJFK 270\xB0"),
              "{\"t\":3.25,\"message\":\"Stratocue->KJFK 270\xC2\xB0\"}");
    EXPECT_EQ(messageLogLine(0, "say \"hi\""), R"({"t":0.0,"message":"say \"hi\""})");
}

TEST(WriteLog, MinusOneAtTheTriggerShowsTheMessage) {
    struct Case {
        const char* name;
        std::uint32_t offset;
        std::vector<std::byte> bytes;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"TriggerWritten", offsets::kMessageShow.place(), bytesOf({0xFF, 0xFF}), "Hello sim"},
        {"TriggerInsideLongerWrite", offsets::kMessageShow.place() - 2, bytesOf({0, 0, 0xFF, 0xFF}), "Hello sim"},
        {"OtherValueAtTrigger", offsets::kMessageShow.place(), bytesOf({0x01, 0x00}), std::nullopt},
        {"HalfOfTheTrigger", offsets::kMessageShow.place() + 1, bytesOf({0xFF}), std::nullopt},
        {"OtherOffset", offsets::kTemperature.offset, bytesOf({0xFF, 0xFF}), std::nullopt},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        OffsetSpace space;
        const std::string text = "Hello sim";
        for (std::size_t i = 0; i < text.size(); ++i) {
            space.setByte(offsets::kMessageText.place() + i, static_cast<std::uint8_t>(text[i]));
        }
        space.setByte(offsets::kMessageText.place() + text.size() + 1, 'X');  // left over behind the zero
        const std::span<std::byte> target = space.bytes(test.offset, test.bytes.size());
        std::copy(test.bytes.begin(), test.bytes.end(), target.begin());
        EXPECT_EQ(onScreenMessage(space, WriteNotice{test.offset, target}), test.expected);
    }
}

}  // namespace
}  // namespace stratocue::standins
