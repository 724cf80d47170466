#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "standins/sim/sim_options.h"

namespace stratocue::standins {
namespace {

TEST(SimOptions, DefaultsWithoutArguments) {
    const ParsedSimOptions parsed = parseSimOptions({});
    EXPECT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.socketDir, "/tmp");
    EXPECT_EQ(parsed.options.windowClass, "UIPCMAIN");
    EXPECT_EQ(parsed.options.versionWord, 0x28100004U);
    EXPECT_EQ(parsed.options.simulatorWord, 0xFADE0006U);
    EXPECT_FALSE(parsed.options.clockSecondOfDay.has_value());
    EXPECT_EQ(parsed.options.fault, SimFault::None);
    EXPECT_FALSE(parsed.options.runSeconds.has_value());
}

TEST(SimOptions, EachOptionSetsItsValue) {
    const std::vector<std::string_view> arguments = {
        "--socket-dir", "/run/sim",  "--class",  "FS98MAIN", "--version",     "0x19980005",
        "--sim",        "fade0001",  "--flight", "path.txt", "--clock",       "14:05:09",
        "--log",        "sim.jsonl", "--fault",  "reply=0",  "--run-seconds", "90"};
    const ParsedSimOptions parsed = parseSimOptions(arguments);
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.socketDir, "/run/sim");
    EXPECT_EQ(parsed.options.windowClass, "FS98MAIN");
    EXPECT_EQ(parsed.options.versionWord, 0x19980005U);
    EXPECT_EQ(parsed.options.simulatorWord, 0xFADE0001U);
    EXPECT_EQ(parsed.options.flightFile, "path.txt");
    EXPECT_EQ(parsed.options.clockSecondOfDay, 14 * 3600 + 5 * 60 + 9);
    EXPECT_EQ(parsed.options.logFile, "sim.jsonl");
    EXPECT_EQ(parsed.options.fault, SimFault::Reply);
    EXPECT_EQ(parsed.options.faultReply, 0U);
    EXPECT_EQ(parsed.options.runSeconds, 90U);
}

TEST(SimOptions, FaultKinds) {
    struct Case {
        const char* value;
        SimFault fault;
    };
    const Case cases[] = {{"no-answer", SimFault::NoAnswer}, {"slow", SimFault::Slow}, {"reply=7", SimFault::Reply}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.value);
        const std::vector<std::string_view> arguments = {"--fault", test.value};
        EXPECT_EQ(parseSimOptions(arguments).options.fault, test.fault);
    }
}

TEST(SimOptions, BadCommandLinesAreExplained) {
    struct Case {
        const char* name;
        std::vector<std::string_view> arguments;
        const char* error;
    };
    const Case cases[] = {
        {"UnknownOption", {"--colour", "red"}, "unknown option '--colour'"},
        {"MissingValue", {"--log"}, "--log needs a value"},
        {"StrayWord", {"extra"}, "unknown option 'extra'"},
        {"BadClass", {"--class", "OTHER"}, "--class must be UIPCMAIN or FS98MAIN"},
        {"BadHex", {"--version", "0xZZ"}, "--version needs a hexadecimal number, not '0xZZ'"},
        {"HexTooLarge", {"--sim", "0x123456789"}, "--sim needs a hexadecimal number, not '0x123456789'"},
        {"BadClock", {"--clock", "24:00:00"}, "--clock needs HH:MM:SS, not '24:00:00'"},
        {"ShortClock", {"--clock", "1:02:03"}, "--clock needs HH:MM:SS, not '1:02:03'"},
        {"UnknownFault", {"--fault", "crash"}, "unknown fault 'crash' (no-answer, slow or reply=N)"},
        {"BadReply", {"--fault", "reply=x"}, "--fault reply=N needs a whole number, not 'x'"},
        {"BadRunSeconds", {"--run-seconds", "1.5"}, "--run-seconds needs a whole number, not '1.5'"},
        {"NegativeRunSeconds", {"--run-seconds", "-1"}, "--run-seconds needs a whole number, not '-1'"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(parseSimOptions(test.arguments).error, test.error);
    }
}

}  // namespace
}  // namespace stratocue::standins
