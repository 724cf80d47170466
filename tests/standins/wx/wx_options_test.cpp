#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "standins/wx/wx_options.h"

#include "wx_test_files.h"

namespace stratocue::standins {
namespace {

struct GoodCase {
    const char* name;
    std::vector<std::string_view> arguments;
    std::string dataFolder;
    int port;
    bool slow;
    std::optional<int> status;
    bool oversize;
};

const GoodCase kGoodCases[] = {
    {"DataOnly", {"--data", "wx"}, "wx", 0, false, std::nullopt, false},
    {"FixedPort", {"--data", "wx", "--port", "8080"}, "wx", 8080, false, std::nullopt, false},
    {"HighestPort", {"--port", "65535", "--data", "wx"}, "wx", 65535, false, std::nullopt, false},
    {"SlowFault", {"--data", "wx", "--fault", "slow"}, "wx", 0, true, std::nullopt, false},
    {"StatusFault", {"--data", "wx", "--fault", "status=503"}, "wx", 0, false, 503, false},
    {"OversizeFault", {"--data", "wx", "--fault", "oversize"}, "wx", 0, false, std::nullopt, true},
    {"FaultsCombine", {"--data", "wx", "--fault", "oversize", "--fault", "status=404"}, "wx", 0, false, 404, true},
};

class GoodCommandLine : public ::testing::TestWithParam<GoodCase> {};

TEST_P(GoodCommandLine, GivesServerOptions) {
    const GoodCase& row = GetParam();
    const ParsedWxOptions parsed = parseWxOptions(row.arguments);
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.dataFolder, row.dataFolder);
    EXPECT_EQ(parsed.options.port, row.port);
    EXPECT_EQ(parsed.options.faults.slow, row.slow);
    EXPECT_EQ(parsed.options.faults.status, row.status);
    EXPECT_EQ(parsed.options.faults.oversize, row.oversize);
    EXPECT_FALSE(parsed.options.split.has_value());
}

INSTANTIATE_TEST_SUITE_P(Options, GoodCommandLine, ::testing::ValuesIn(kGoodCases), wxtest::NameOfRow{});

TEST(ServiceFaultCommandLine, NamesTheServiceAndItsStatus) {
    const std::vector<std::string_view> arguments = {"--data",      "wx",      "--fault",
                                                     "awc_api=500", "--fault", "vatsim_api=429"};
    const ParsedWxOptions parsed = parseWxOptions(arguments);
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.faults.serviceStatus,
              (std::map<std::string, int, std::less<>>{{"awc_api", 500}, {"vatsim_api", 429}}));
    EXPECT_EQ(parsed.options.faults.status, std::nullopt);
}

TEST(SplitCommandLine, GivesTheFourFiles) {
    const std::vector<std::string_view> arguments = {"--split-fd", "us.txt", "--stations", "fdwinds.txt",
                                                     "--alaska",   "ak.txt", "--out",      "fd"};
    const ParsedWxOptions parsed = parseWxOptions(arguments);
    ASSERT_EQ(parsed.error, "");
    ASSERT_TRUE(parsed.options.split.has_value());
    EXPECT_EQ(parsed.options.split->nationalFile, "us.txt");
    EXPECT_EQ(parsed.options.split->stationsFile, "fdwinds.txt");
    EXPECT_EQ(parsed.options.split->alaskaFile, "ak.txt");
    EXPECT_EQ(parsed.options.split->outFolder, "fd");
}

TEST(HelpCommandLine, AsksForUsage) {
    const std::vector<std::string_view> arguments = {"--help"};
    EXPECT_TRUE(parseWxOptions(arguments).options.showHelp);
    EXPECT_TRUE(wxUsage().ends_with("\n"));
}

struct FaultCase {
    const char* name;
    std::string_view fault;
    bool slow;
    std::chrono::milliseconds slowDelay;
    bool endless;
    bool noPage;
};

const FaultCase kFaultCases[] = {
    {"SlowDefault", "slow", true, kSlowAnswerDelay, false, false},
    {"SlowPastTheTimeOut", "slow=45000", true, std::chrono::milliseconds(45000), false, false},
    {"SlowNotAtAll", "slow=0", true, std::chrono::milliseconds(0), false, false},
    {"BodyWithoutEnd", "endless", false, kSlowAnswerDelay, true, false},
    {"NoPageAtAll", "nopage", false, kSlowAnswerDelay, false, true},
};

class FaultCommandLine : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultCommandLine, SetsTheFault) {
    const FaultCase& row = GetParam();
    const std::vector<std::string_view> arguments = {"--data", "wx", "--fault", row.fault};
    const ParsedWxOptions parsed = parseWxOptions(arguments);
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.faults.slow, row.slow);
    EXPECT_EQ(parsed.options.faults.slowDelay, row.slowDelay);
    EXPECT_EQ(parsed.options.faults.endless, row.endless);
    EXPECT_EQ(parsed.options.faults.noPage, row.noPage);
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultCommandLine, ::testing::ValuesIn(kFaultCases), wxtest::NameOfRow{});

struct BadCase {
    const char* name;
    std::vector<std::string_view> arguments;
    std::string_view messagePart;
};

const BadCase kBadCases[] = {
    {"NoData", {}, "--data"},
    {"ValueMissing", {"--data"}, "--data needs a value"},
    {"PortNotANumber", {"--data", "wx", "--port", "http"}, "--port"},
    {"PortTooHigh", {"--data", "wx", "--port", "65536"}, "--port"},
    {"NegativePort", {"--data", "wx", "--port", "-1"}, "--port"},
    {"UnknownFault", {"--data", "wx", "--fault", "drop"}, "unknown fault"},
    {"StatusOutOfRange", {"--data", "wx", "--fault", "status=99"}, "status"},
    {"StatusNotANumber", {"--data", "wx", "--fault", "status=abc"}, "status"},
    {"ServiceStatusOutOfRange", {"--data", "wx", "--fault", "awc_api=600"}, "awc_api=N"},
    {"UnknownService", {"--data", "wx", "--fault", "metar_api=500"}, "unknown fault"},
    {"SlowDelayNotANumber", {"--data", "wx", "--fault", "slow=soon"}, "slow=MS"},
    {"SlowDelayTooLong", {"--data", "wx", "--fault", "slow=600001"}, "slow=MS"},
    {"UnknownOption", {"--data", "wx", "--colour", "red"}, "unknown option"},
    {"UnknownOptionLast", {"--data", "wx", "--colour"}, "unknown option"},
    {"StrayArgument", {"wx"}, "unknown argument"},
    {"SplitWithoutOut", {"--split-fd", "us.txt", "--stations", "s.txt", "--alaska", "ak.txt"}, "go together"},
    {"SplitWithData",
     {"--split-fd", "us.txt", "--stations", "s.txt", "--alaska", "ak.txt", "--out", "fd", "--data", "wx"},
     "does not serve"},
};

class BadCommandLine : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadCommandLine, SaysWhatIsWrong) {
    const ParsedWxOptions parsed = parseWxOptions(GetParam().arguments);
    EXPECT_NE(parsed.error.find(GetParam().messagePart), std::string::npos) << parsed.error;
}

INSTANTIATE_TEST_SUITE_P(Options, BadCommandLine, ::testing::ValuesIn(kBadCases), wxtest::NameOfRow{});

}  // namespace
}  // namespace stratocue::standins
