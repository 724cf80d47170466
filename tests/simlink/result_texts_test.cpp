#include <gtest/gtest.h>

#include "simlink/link.h"

namespace stratocue::simlink {
namespace {

TEST(ResultTexts, EachCodeHasItsText) {
    struct Case {
        std::int32_t code;
        const char* text;
    };
    const Case cases[] = {
        {0, "Active"},
        {1, "Attempt to Open when already Open"},
        {2, "Cannot link to FSUIPC or WideClient"},
        {3, "Failed to Register common message with Windows"},
        {4, "Failed to create Atom for mapping filename"},
        {5, "Failed to create a file mapping object"},
        {6, "Failed to open a view to the file map"},
        {7, "Incorrect version of FSUIPC, or not FSUIPC"},
        {8, "Sim is not version requested"},
        {9, "Call cannot execute, link not Open"},
        {10, "Call cannot execute: no requests accumulated"},
        {11, "IPC timed out all retries"},
        {12, "IPC sendmessage failed all retries"},
        {13, "IPC request contains bad data"},
        {14, "Maybe running on WideClient, but FS not running on Server, or wrong FSUIPC"},
        {15, "Read or Write request cannot be added, memory for Process is full"},
        {16, ""},
        {-1, ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.code);
        EXPECT_EQ(ResultTexts(test.code), test.text);
    }
}

TEST(SimNames, EachNumberHasItsNameAndOthersAreUnknown) {
    struct Case {
        std::int32_t number;
        const char* name;
    };
    const Case cases[] = {
        {0, "Any"},    {1, "FS98"},   {2, "FS2K"},         {3, "CFS2"},    {4, "CFS1"},     {5, "FLY"},
        {6, "FS2002"}, {7, "FSNEXT"}, {8, "FSYETANOTHER"}, {9, "Unknown"}, {-1, "Unknown"}, {0xFFFF, "Unknown"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.number);
        EXPECT_EQ(SimNames(test.number), test.name);
    }
}

TEST(MappingName, ProcessIdInUpperCaseHexWithoutLeadingZerosThenTheOpenCount) {
    struct Case {
        const char* name;
        std::uint32_t processId;
        std::uint32_t openCount;
        const char* expected;
    };
    const Case cases[] = {
        {"Zero", 0, 1, "FSASMLIB:IPC:0:1"},
        {"SmallId", 0x1A2B, 1, "FSASMLIB:IPC:1A2B:1"},
        {"LargestId", 0xFFFFFFFF, 1, "FSASMLIB:IPC:FFFFFFFF:1"},
        {"DecimalLooking", 4096, 1, "FSASMLIB:IPC:1000:1"},
        {"SecondOpen", 0x1A2B, 2, "FSASMLIB:IPC:1A2B:2"},
        {"TwelfthOpen", 0x1A2B, 12, "FSASMLIB:IPC:1A2B:12"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(mappingName(test.processId, test.openCount), test.expected);
    }
    EXPECT_EQ(mappingName(0x1A2B), mappingName(0x1A2B, 1));  // the first open's name by default
}

}  // namespace
}  // namespace stratocue::simlink
