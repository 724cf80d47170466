#include "tools/command_line.h"

#include <chrono>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <system_error>

#include "fdwinds/gfs_winds.h"
#include "tools/decode_commands.h"

namespace stratocue::tools {
namespace {

constexpr std::string_view kProgramName = "stratocue-decode";
// The METAR temperature text before any report was decoded.
constexpr std::string_view kDefaultSurfaceTemp = ".";

CommandResult usageError(std::string_view reason) {
    std::string message = std::string(kProgramName) + ": " + std::string(reason) + "\n";
    message += kUsageText;
    return {"", message, kExitUsage};
}

CommandResult runMetar(const std::vector<std::string>& reportArguments,
                       const std::function<std::string()>& readStandardInput) {
    if (!reportArguments.empty() && reportArguments.front() == "--ids") {
        if (reportArguments.size() != 2) return usageError("--ids needs one comma-separated list of IDs");
        return decodeServiceAnswer(readStandardInput(), reportArguments[1]);
    }
    if (!reportArguments.empty()) {
        const std::vector<std::string_view> reports(reportArguments.begin(), reportArguments.end());
        return decodeMetarReports(reports);
    }
    const std::string input = readStandardInput();
    return decodeMetarReports(reportLines(input));
}

CommandResult runFd(const std::vector<std::string>& fdArguments) {
    std::string surfaceTemp(kDefaultSurfaceTemp);
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < fdArguments.size(); ++i) {
        const std::string& argument = fdArguments[i];
        if (optionsEnded) {
            files.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--temp") {
            if (i + 1 == fdArguments.size()) return usageError("--temp needs a value");
            surfaceTemp = fdArguments[++i];
        } else if (argument.starts_with("--temp=")) {
            surfaceTemp = argument.substr(std::string_view("--temp=").size());
        } else if (argument.size() > 1 && argument.starts_with('-')) {
            return usageError("unknown option " + argument);
        } else {
            files.push_back(argument);
        }
    }
    if (files.empty()) return usageError("fd needs at least one PAGE_FILE");

    std::vector<FdPage> pages;
    pages.reserve(files.size());
    for (const std::string& file : files) {
        std::optional<std::string> text = readFileBytes(file);
        if (!text) return failureResult("cannot read " + file);
        pages.push_back({file, std::move(*text)});
    }
    return decodeFdPages(pages, surfaceTemp);
}

CommandResult runGfs(const std::vector<std::string>& gfsArguments) {
    std::string hour = fdwinds::gfsHourText(std::chrono::system_clock::now());
    std::vector<std::string> files;
    for (std::size_t i = 0; i < gfsArguments.size(); ++i) {
        const std::string& argument = gfsArguments[i];
        if (argument == "--hour") {
            if (i + 1 == gfsArguments.size()) return usageError("--hour needs a value");
            hour = gfsArguments[++i];
        } else if (argument.size() > 1 && argument.starts_with('-')) {
            return usageError("unknown option " + argument);
        } else {
            files.push_back(argument);
        }
    }
    if (files.size() != 1) return usageError("gfs needs one ANSWER_FILE");
    const std::optional<std::string> text = readFileBytes(files.front());
    if (!text) return failureResult("cannot read " + files.front());
    return decodeGfsAnswer(*text, hour);
}

}  // namespace

std::optional<std::string> readFileBytes(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    return bytes;
}

CommandResult runDecodeTool(const std::vector<std::string>& arguments,
                            const std::function<std::string()>& readStandardInput) {
    if (arguments.empty()) return usageError("missing command");
    const std::string& command = arguments.front();
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (command == "metar") return runMetar(rest, readStandardInput);
    if (command == "fd") return runFd(rest);
    if (command == "gfs") return runGfs(rest);
    if (command == "--help" || command == "-h") return {std::string(kUsageText), "", kExitSuccess};
    return usageError("unknown command " + command);
}

}  // namespace stratocue::tools
