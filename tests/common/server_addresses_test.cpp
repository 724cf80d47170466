#include "common/server_addresses.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace stratocue {
namespace {

struct Expected {
    std::optional<std::string> metarVatsim{};
    std::optional<std::string> metarNws{};
    std::optional<std::string> fdwinds{};
    std::string vatsimApi = "https://metar.vatsim.net";
    std::string awcApi = "https://aviationweather.gov";
};

void expectAddresses(const ServerAddresses& actual, const Expected& expected) {
    EXPECT_EQ(actual.metarVatsim, expected.metarVatsim);
    EXPECT_EQ(actual.metarNws, expected.metarNws);
    EXPECT_EQ(actual.fdwinds, expected.fdwinds);
    EXPECT_EQ(actual.vatsimApi, expected.vatsimApi);
    EXPECT_EQ(actual.awcApi, expected.awcApi);
}

struct ParseCase {
    const char* name;
    std::string text;
    Expected expected;
};

TEST(ParseServerAddresses, KeysOverTheDefaults) {
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

TEST_F(ServerAddressesFile, ReadsServersTxtOrFallsBackToTheDefaults) {
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

}  // namespace
}  // namespace stratocue
