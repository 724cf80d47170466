#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace stratocue::standins {

// How long the slow fault holds every answer back, unless it names its own delay.
inline constexpr std::chrono::milliseconds kSlowAnswerDelay{3000};
inline constexpr std::chrono::milliseconds kLongestSlowAnswerDelay{600000};

// How the weather stand-in misbehaves on purpose; the faults combine.
struct WxFaults {
    bool slow = false;                                      // every answer comes after slowDelay
    std::chrono::milliseconds slowDelay{kSlowAnswerDelay};  // "slow=MS" sets it
    std::optional<int> status;                              // every answer carries this HTTP status
    bool oversize = false;                                  // every page is padded past 32,767 bytes
    bool endless = false;                                   // every body goes on without end (wx_server.h)
    bool noPage = false;                                    // every body is bytes that are no page at all
    // "<service>=N": every answer of that service carries status N, the others answer as
    // usual. Services are named by their servers.txt keys (kWxServiceNames).
    std::map<std::string, int, std::less<>> serviceStatus;
};

// The services a fault may name: today's data API and VATSIM service, the classic VATSIM
// and weather-service METAR pages, and the classic FD pages.
inline constexpr std::string_view kWxServiceNames[] = {"awc_api", "vatsim_api", "metar_vatsim", "metar_nws", "fdwinds"};

// The files of a national bulletin split into the seven regional bulletin files.
struct WxSplitJob {
    std::string nationalFile;
    std::string stationsFile;
    std::string alaskaFile;
    std::string outFolder;
};

struct WxOptions {
    std::string dataFolder;
    int port = 0;  // 0 = any free port
    WxFaults faults;
    std::optional<WxSplitJob> split;  // set: split bulletins instead of serving
    bool showHelp = false;
};

struct ParsedWxOptions {
    WxOptions options;
    std::string error;  // empty when the command line was good
};

// Reads the command line (without the program name); the first bad option gives its error.
[[nodiscard]] ParsedWxOptions parseWxOptions(std::span<const std::string_view> arguments);

// The usage text, several lines ending with a newline.
[[nodiscard]] std::string wxUsage();

}  // namespace stratocue::standins
