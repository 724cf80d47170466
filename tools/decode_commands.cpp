#include "tools/decode_commands.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include <nlohmann/json.hpp>

#include "common/ansi_text.h"
#include "common/fault.h"
#include "fdwinds/fd_decoder.h"
#include "fdwinds/fd_sources.h"
#include "fdwinds/fd_winds.h"
#include "fdwinds/gfs_winds.h"
#include "metar/metar_decoder.h"
#include "metar/metar_report.h"
#include "metar/metar_services.h"

namespace stratocue::tools {
namespace {

// Objects keep their members in the order written, so each line reads like the record.
using Json = nlohmann::ordered_json;

// JSON text of the program's one-byte-per-character text, byte for byte.
Json jsonText(std::string_view ansiText) { return Json(utf8FromAnsi(ansiText)); }

std::string jsonLine(const Json& object) { return object.dump() + '\n'; }

// The station table of one input, cut as what it is: a classic bulletin page is markup
// (its table ends at "</PRE>"), the data API's winds-aloft text is plain text.
std::string stationTableOf(std::string_view text) {
    if (text.find('<') != std::string_view::npos) return fdwinds::FD_CutBulletin(text);
    return fdwinds::FD_CutWindTempText(text);
}

Json fdRowObject(const fdwinds::FdWinds& winds, std::int16_t row) {
    Json levels = Json::object();
    const auto& rowLevels = winds.levels.at(static_cast<std::size_t>(row));
    for (std::size_t level = 0; level < fdwinds::kLevelCount; ++level) {
        const fdwinds::FdLevelValues& values = rowLevels.at(level);
        levels[std::string(fdwinds::kFdLevels.at(level).name)] =
            Json::array({values.dirCode, values.speedCode, values.tempC});
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
    const metar::MetarDecodeResult result = metar::decodeMetar(metar::withoutReportType(reportText), report);
    Json object = Json::object();
    for (const metar::MetarField& field : metar::kMetarFields) {
        object[std::string(field.name)] = jsonText(report.*field.member);
    }
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

CommandResult decodeServiceAnswer(std::string_view answer, std::string_view idList) {
    std::string_view rest = idList;
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        const std::string_view id = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
        if (const auto report = metar::reportLineFromServiceText(answer, id)) {
            return {metarJsonLine(*report) + '\n', "", kExitSuccess};
        }
    }
    return failureResult("no report for " + std::string(idList));
}

CommandResult decodeFdPages(const std::vector<FdPage>& pages, std::string_view surfaceTempText) {
    std::vector<std::string> cuts;
    cuts.reserve(pages.size());
    for (const FdPage& page : pages) {
        try {
            cuts.push_back(stationTableOf(page.text));
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

CommandResult decodeGfsAnswer(std::string_view answerText, std::string_view hourText) {
    try {
        const fdwinds::FdWinds winds =
            fdwinds::GFS_WindsRow(fdwinds::GFS_ReadAnswer({200, std::string(answerText)}, hourText));
        return {jsonLine(fdRowObject(winds, 1)), "", kExitSuccess};
    } catch (const fdwinds::GfsAnswerError& error) {
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
