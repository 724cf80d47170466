#include "tools/decode_commands.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include <nlohmann/json.hpp>

#include "common/ansi_text.h"
#include "common/fault.h"
#include "fdwinds/fd_decoder.h"
#include "fdwinds/fd_winds.h"
#include "metar/metar_decoder.h"
#include "metar/metar_report.h"

namespace stratocue::tools {
namespace {

// Objects keep their members in the order written, so each line reads like the record.
using Json = nlohmann::ordered_json;

// JSON text of the program's one-byte-per-character text, byte for byte.
Json jsonText(std::string_view ansiText) { return Json(utf8FromAnsi(ansiText)); }

std::string jsonLine(const Json& object) { return object.dump() + '\n'; }

// The level names of the JSON rows, in FdLevel order.
constexpr std::array<std::string_view, fdwinds::kLevelCount> kLevelNames{"3K",  "6K",  "9K",  "12K", "18K",
                                                                         "24K", "30K", "34K", "39K"};

Json fdRowObject(const fdwinds::FdWinds& winds, std::int16_t row) {
    Json levels = Json::object();
    const auto& rowLevels = winds.levels.at(static_cast<std::size_t>(row));
    for (std::size_t level = 0; level < fdwinds::kLevelCount; ++level) {
        const fdwinds::FdLevelValues& values = rowLevels.at(level);
        levels[std::string(kLevelNames.at(level))] = Json::array({values.dirCode, values.speedCode, values.tempC});
    }
    Json object = Json::object();
    object["row"] = row;
    object["rowId"] = jsonText(winds.rowId.at(static_cast<std::size_t>(row)));
    object["levels"] = std::move(levels);
    object["summary"] = jsonText(fdwinds::FD_DisplayText(winds, row));
    return object;
}

}  // namespace

std::string metarJsonLine(std::string_view reportText) {
    metar::MetarReport report;
    const metar::MetarDecodeResult result = metar::decodeMetar(reportText, report);
    Json object = Json::object();
    object["datetime"] = jsonText(report.datetime);
    object["winddir"] = jsonText(report.winddir);
    object["windspeed"] = jsonText(report.windspeed);
    object["gusting"] = jsonText(report.gusting);
    object["vis"] = jsonText(report.vis);
    object["ptype"] = jsonText(report.ptype);
    object["pint"] = jsonText(report.pint);
    object["temp"] = jsonText(report.temp);
    object["dewpoint"] = jsonText(report.dewpoint);
    object["tsdensity"] = jsonText(report.tsdensity);
    object["c1density"] = jsonText(report.c1density);
    object["c1base"] = jsonText(report.c1base);
    object["c2density"] = jsonText(report.c2density);
    object["c2base"] = jsonText(report.c2base);
    object["c3density"] = jsonText(report.c3density);
    object["c3base"] = jsonText(report.c3base);
    object["alt"] = jsonText(report.alt);
    object["txtMETARstr"] = jsonText(result.txtMETARstr);
    return object.dump();
}

std::vector<std::string_view> reportLines(std::string_view inputText) {
    std::vector<std::string_view> lines;
    std::size_t lineStart = 0;
    while (lineStart < inputText.size()) {
        const std::size_t lineEnd = inputText.find('\n', lineStart);
        if (lineEnd == std::string_view::npos) {
            lines.push_back(inputText.substr(lineStart));
            break;
        }
        lines.push_back(inputText.substr(lineStart, lineEnd - lineStart));
        lineStart = lineEnd + 1;
    }
    return lines;
}

CommandResult decodeMetarReports(const std::vector<std::string_view>& reports) {
    CommandResult result;
    for (const std::string_view report : reports) {
        result.standardOutput += metarJsonLine(report);
        result.standardOutput += '\n';
    }
    return result;
}

CommandResult decodeFdPages(const std::vector<FdPage>& pages, std::string_view surfaceTempText) {
    std::vector<std::string> cuts;
    cuts.reserve(pages.size());
    for (const FdPage& page : pages) {
        try {
            cuts.push_back(fdwinds::FD_CutBulletin(page.text));
        } catch (const fdwinds::FdFormatError& error) {
            return failureResult(page.name + ": " + error.what());
        }
    }
    try {
        fdwinds::FdWinds winds;
        fdwinds::FD_DecodeRows(fdwinds::FD_SplitTokens(fdwinds::FD_JoinCuts(cuts)), surfaceTempText, winds);

        CommandResult result;
        for (std::int16_t row = 1; row <= winds.rowCount; ++row) {
            result.standardOutput += jsonLine(fdRowObject(winds, row));
        }
        return result;
    } catch (const fdwinds::FdFormatError& error) {
        return failureResult(error.what());
    } catch (const RuntimeFault& fault) {
        return failureResult(fault.what());
    }
}

CommandResult failureResult(std::string_view message) {
    Json object = Json::object();
    object["error"] = jsonText(message);
    return {jsonLine(object), "", kExitFailure};
}

}  // namespace stratocue::tools
