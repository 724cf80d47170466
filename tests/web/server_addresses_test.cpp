#include "web/server_addresses.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/temp_folder.h"

namespace stratocue {
namespace {

// The addresses servers.txt names for the keys the weather sources look up.
struct Expected {
    std::optional<std::string> metarVatsim{};
    std::optional<std::string> metarNws{};
    std::optional<std::string> fdwinds{};
    std::optional<std::string> vatsimApi{};
    std::optional<std::string> awcApi{};
};

void expectAddresses(const ServerAddresses& actual, const Expected& expected) {
    EXPECT_EQ(actual.named("metar_vatsim"), expected.metarVatsim);
    EXPECT_EQ(actual.named("metar_nws"), expected.metarNws);
    EXPECT_EQ(actual.named("fdwinds"), expected.fdwinds);
    EXPECT_EQ(actual.named("vatsim_api"), expected.vatsimApi);
    EXPECT_EQ(actual.named("awc_api"), expected.awcApi);
}

struct ParseCase {
    const char* name;
    std::string text;
    Expected expected;
};

TEST(ParseServerAddresses, NamesEachKeysAddress) {
    const std::vector<ParseCase> cases{
        {"Empty", "", {}},
        {"VatsimKey", "metar_vatsim=http://127.0.0.1:8080", {.metarVatsim = "http://127.0.0.1:8080"}},
        {"WeatherServiceKey", "metar_nws=http://localhost:9000", {.metarNws = "http://localhost:9000"}},
        {"FdWindsKey", "fdwinds=https://fd.example", {.fdwinds = "https://fd.example"}},
        {"AllKeys",
         "fdwinds=http://c\nmetar_nws=http://b\nmetar_vatsim=http://a\n",
         {"http://a", "http://b", "http://c"}},
        {"TrailingSlashDropped", "metar_nws=http://localhost:9000/", {.metarNws = "http://localhost:9000"}},
        {"BlanksAroundKeyAndValue", "  fdwinds \t=  http://fd.test  \r\n", {.fdwinds = "http://fd.test"}},
        {"CrLfLines",
         "metar_vatsim=http://a\r\nmetar_nws=http://b\r\n",
         {.metarVatsim = "http://a", .metarNws = "http://b"}},
        {"EqualsInsideTheValue", "metar_nws=http://b/?x=1", {.metarNws = "http://b/?x=1"}},
        {"LaterLineWins", "fdwinds=http://first\nfdwinds=http://second", {.fdwinds = "http://second"}},
        {"CommentsSkipped", "# fdwinds=http://commented\n   # metar_nws=http://indented\n", {}},
        {"UnknownKeyIgnored", "metar=http://x\nFDWINDS=http://upper\n", {}},
        {"LineWithoutEqualsIgnored", "fdwinds http://x\n", {}},
        {"EmptyValueKeepsTheDefault", "fdwinds=\nmetar_nws=/\nawc_api=\n", {}},
        {"VatsimApiKey", "vatsim_api=http://127.0.0.1:9000/", {.vatsimApi = "http://127.0.0.1:9000"}},
        {"AwcApiKey", "awc_api=https://mirror.example:8443", {.awcApi = "https://mirror.example:8443"}},
        {"ApiKeysBesideClassicKeys",
         "awc_api=http://a\nmetar_nws=http://n\nvatsim_api=http://v\n",
         {.metarNws = "http://n", .vatsimApi = "http://v", .awcApi = "http://a"}},
        {"ApiKeysAreLowerCase", "AWC_API=http://a\nVatsim_Api=http://v\n", {}},
        {"BlankLinesSkipped", "\n\n  \nfdwinds=http://fd.test\n\n", {.fdwinds = "http://fd.test"}},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.name);
        expectAddresses(parseServerAddresses(c.text), c.expected);
    }
}

// A folder of the test's own, removed afterwards.
class ServerAddressesFile : public ::testing::Test {
protected:
    test_support::TempFolder temp_;
    const std::filesystem::path& folder_ = temp_.path();
};

struct FileCase {
    const char* name;
    std::optional<std::string> fileText;  // no servers.txt when absent
    std::string subfolder;                // read from this folder below the test folder
    Expected expected;
};

TEST_F(ServerAddressesFile, ReadsServersTxtOrNamesNothing) {
    const std::vector<FileCase> cases{
        {"NoFile", std::nullopt, "", {}},
        {"NoFolder", std::nullopt, "missing", {}},
        {"EmptyFile", "", "", {}},
        {"FileWithCommentAndTwoKeys",
         "# local stand-in servers\r\nmetar_vatsim=http://127.0.0.1:8080/\r\nfdwinds=http://127.0.0.1:8081\r\n",
         "",
         {.metarVatsim = "http://127.0.0.1:8080", .fdwinds = "http://127.0.0.1:8081"}},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(folder_ / kServerAddressesFileName);
        if (c.fileText) std::ofstream(folder_ / kServerAddressesFileName, std::ios::binary) << *c.fileText;
        expectAddresses(loadServerAddresses(folder_ / c.subfolder), c.expected);
    }
}

// A source of the test's own: its server and a name to tell it by.
struct TestSource {
    SourceServer server;
    std::string_view name;
};

const TestSource kClassicPage{{"page", ""}, "classic page"};
const TestSource kService{{"service_api", "https://service.example"}, "service"};
const TestSource kMirror{{"mirror_api", "https://mirror.example"}, "mirror"};

struct ChoiceCase {
    const char* name;
    std::string serversText;
    std::vector<const TestSource*> sources;
    std::optional<std::string_view> expectedSource;  // nullopt: none chosen
    std::string expectedAddress;
};

TEST(ChooseSource, NamedKeyFirstThenTheFirstDefaultInListOrder) {
    const std::vector<ChoiceCase> cases{
        {"NothingNamedFirstDefault", "", {&kClassicPage, &kService, &kMirror}, "service", "https://service.example"},
        {"NamedSourceWithoutDefault", "page=http://p", {&kClassicPage, &kService}, "classic page", "http://p"},
        {"NamedSourceOverItsDefault", "service_api=http://s", {&kClassicPage, &kService}, "service", "http://s"},
        {"NamedLaterSourceOverEarlierDefault", "mirror_api=http://m", {&kService, &kMirror}, "mirror", "http://m"},
        {"TwoNamedEarlierWins",
         "mirror_api=http://m\npage=http://p",
         {&kClassicPage, &kMirror},
         "classic page",
         "http://p"},
        {"KeyOfAnotherSourceIgnored", "page=http://p", {&kService}, "service", "https://service.example"},
        {"NoneNamedNoneWithDefault", "service_api=http://s", {&kClassicPage}, std::nullopt, ""},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto chosen = chooseSource<TestSource>(parseServerAddresses(c.serversText), c.sources);
        ASSERT_EQ(chosen.has_value(), c.expectedSource.has_value());
        if (!chosen) continue;
        EXPECT_EQ(chosen->source->name, *c.expectedSource);
        EXPECT_EQ(chosen->address, c.expectedAddress);
    }
}

}  // namespace
}  // namespace stratocue
