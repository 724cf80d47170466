#include "standins/wx/wx_options.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace stratocue::standins {
namespace {

constexpr int kLargestPort = 65535;
constexpr int kLowestStatus = 100;
constexpr int kHighestStatus = 599;
constexpr std::string_view kStatusFaultPrefix = "status=";
constexpr std::string_view kSlowFaultPrefix = "slow=";
constexpr std::array<std::string_view, 7> kValueOptions = {"--data",     "--port",   "--fault", "--split-fd",
                                                           "--stations", "--alaska", "--out"};

std::optional<int> parseWholeNumber(std::string_view text, int lowest, int highest) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    if (value < lowest || value > highest) return std::nullopt;
    return value;
}

// The service a "<service>=N" fault names; nullopt for any other fault.
std::optional<std::string_view> serviceFault(std::string_view value) {
    for (const std::string_view service : kWxServiceNames) {
        if (value.starts_with(service) && value.substr(service.size()).starts_with('=')) return service;
    }
    return std::nullopt;
}

// Adds one --fault value; an empty result means it was good, otherwise the error.
std::string addFault(std::string_view value, WxFaults& faults) {
    if (value == "slow") {
        faults.slow = true;
    } else if (value.starts_with(kSlowFaultPrefix)) {
        const auto delay = parseWholeNumber(value.substr(kSlowFaultPrefix.size()), 0,
                                            static_cast<int>(kLongestSlowAnswerDelay.count()));
        if (!delay) return "--fault slow=MS needs milliseconds from 0 to 600000";
        faults.slow = true;
        faults.slowDelay = std::chrono::milliseconds(*delay);
    } else if (value == "oversize") {
        faults.oversize = true;
    } else if (value == "endless") {
        faults.endless = true;
    } else if (value == "nopage") {
        faults.noPage = true;
    } else if (const auto service = serviceFault(value)) {
        const auto status = parseWholeNumber(value.substr(service->size() + 1), kLowestStatus, kHighestStatus);
        if (!status) return "--fault " + std::string(*service) + "=N needs a status from 100 to 599";
        faults.serviceStatus.insert_or_assign(std::string(*service), *status);
    } else if (value.starts_with(kStatusFaultPrefix)) {
        faults.status = parseWholeNumber(value.substr(kStatusFaultPrefix.size()), kLowestStatus, kHighestStatus);
        if (!faults.status) return "--fault status=N needs a status from 100 to 599";
    } else {
        return "unknown fault '" + std::string(value) + "'";
    }
    return {};
}

struct SplitFiles {
    std::optional<std::string> national, stations, alaska, out;
};

// Checks that the options fit together and makes the split job when one was asked for.
std::string finish(const SplitFiles& split, bool serverOptionsGiven, WxOptions& options) {
    const bool anySplitFile = split.national || split.stations || split.alaska || split.out;
    if (!anySplitFile) {
        return options.dataFolder.empty() ? "--data DIR is required" : std::string();
    }
    if (serverOptionsGiven) return "--split-fd does not serve: leave out --data, --port and --fault";
    if (!split.national || !split.stations || !split.alaska || !split.out) {
        return "--split-fd, --stations, --alaska and --out go together";
    }
    options.split = WxSplitJob{*split.national, *split.stations, *split.alaska, *split.out};
    return {};
}

}  // namespace

ParsedWxOptions parseWxOptions(std::span<const std::string_view> arguments) {
    ParsedWxOptions parsed;
    WxOptions& options = parsed.options;
    SplitFiles split;
    bool serverOptionsGiven = false;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view option = arguments[i];
        if (option == "--help" || option == "-h") {
            options.showHelp = true;
            return parsed;
        }
        if (std::find(kValueOptions.begin(), kValueOptions.end(), option) == kValueOptions.end()) {
            parsed.error = std::string(option.starts_with("-") ? "unknown option '" : "unknown argument '");
            parsed.error += option;
            parsed.error += '\'';
            return parsed;
        }
        if (i + 1 >= arguments.size()) {
            parsed.error = std::string(option) + " needs a value";
            return parsed;
        }
        const std::string_view value = arguments[++i];
        if (option == "--data") {
            options.dataFolder = value;
            serverOptionsGiven = true;
        } else if (option == "--port") {
            const auto port = parseWholeNumber(value, 0, kLargestPort);
            if (!port) {
                parsed.error = "--port needs a number from 0 to 65535";
                return parsed;
            }
            options.port = *port;
            serverOptionsGiven = true;
        } else if (option == "--fault") {
            parsed.error = addFault(value, options.faults);
            if (!parsed.error.empty()) return parsed;
            serverOptionsGiven = true;
        } else if (option == "--split-fd") {
            split.national = value;
        } else if (option == "--stations") {
            split.stations = value;
        } else if (option == "--alaska") {
            split.alaska = value;
        } else {  // --out
            split.out = value;
        }
    }
    parsed.error = finish(split, serverOptionsGiven, options);
    return parsed;
}

std::string wxUsage() {
    return "usage: standin-wx --data DIR [--port N]\n"
           "                 [--fault slow|slow=MS|status=N|SERVICE=N|oversize|endless|nopage]...\n"
           "       standin-wx --split-fd NATIONAL_FILE --stations FDWINDS_TXT --alaska AK_FILE --out DIR\n"
           "Serves METAR pages (/search_metar.html?cod=ID, /cgi-bin/mgetmetar.pl?cccc=ID) and the\n"
           "seven FD pages (/fdwinds/text/<region>_fd1.shtml), and the same weather as today's\n"
           "services answer it (/ID, /api/data/metar?ids=ID&format=raw,\n"
           "/api/data/windtemp?region=R&level=low&fcst=06), from DIR/metars.txt and\n"
           "DIR/fd/<region>_fd1.txt, and the forecast model's winds aloft (/v1/gfs) from\n"
           "DIR/gfs.txt, on 127.0.0.1 (port 0 = any free port), or splits a national FD\n"
           "bulletin into the regional bulletin files. Faults: slow answers (3 s, or MS milliseconds),\n"
           "status N on every answer, status N on every answer of one SERVICE (awc_api, vatsim_api,\n"
           "metar_vatsim, metar_nws, fdwinds), pages padded past 32,767 bytes, bodies without end,\n"
           "bodies that are no page at all. A station may have several lines in metars.txt (the last\n"
           "is its current report; the data API lists them all); a station without one has no report.\n";
}

}  // namespace stratocue::standins
