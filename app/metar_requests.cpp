#include "app/metar_requests.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/metar_report_labels.h"
#include "app/station_search.h"
#include "app/weather_fetch.h"
#include "common/fault.h"
#include "common/number_parse.h"
#include "common/rounding.h"
#include "metar/metar_decoder.h"
#include "metar/metar_page.h"
#include "metar/metar_source_choice.h"

namespace stratocue::app {
using namespace metar;
namespace {

constexpr std::int16_t kDefaultForcedRange = 60;
constexpr double kRangeLimit = 10000.0;
constexpr std::string_view kUnavailableDate = "UNAVAIL";
constexpr std::string_view kParseErrorDate = "PARSE ERROR";

// A report found for one of the candidate stations.
struct CandidateReport {
    std::int16_t stationIndex = 0;
    std::string text;
};

MetarSource selectedSource(ui::FrmMain& main) {
    return ui::isChecked(main.chkVATSIM) ? MetarSource::Vatsim : MetarSource::WeatherService;
}

MetarSource otherSource(MetarSource source) {
    return source == MetarSource::Vatsim ? MetarSource::WeatherService : MetarSource::Vatsim;
}

// Runs `ask` against the service behind the "VATSIM METARs" choice and, when that one fails
// (no answer, a time-out, an error status), against the other one. An answer without a
// report is no failure. Raises, naming each failure, when both failed.
template <typename Ask>
auto askEitherService(MetarRequestContext& context, const Ask& ask) {
    const MetarSource selected = selectedSource(context.frmMain());
    try {
        return ask(*chooseMetarSource(context.servers, selected));
    } catch (const std::exception& selectedFailure) {
        if (context.ending()) throw;
        try {
            return ask(*chooseMetarSource(context.servers, otherSource(selected)));
        } catch (const std::exception& otherFailure) {
            throw std::runtime_error(std::string(selectedFailure.what()) + "; " + otherFailure.what());
        }
    }
}

const stations::Station& stationAt(const stations::StationTables& tables, std::int16_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= tables.StationList.size()) {
        throw RuntimeFault(RuntimeFault::Kind::Subscript, "Subscript out of range");
    }
    return tables.StationList[static_cast<std::size_t>(index)];
}

// The stations a refresh may take the report of, nearest first: the chosen one, then
// (unless it is forced) its neighbours around the aircraft.
std::vector<std::int16_t> candidateStations(const MetarRequestContext& context, std::int16_t chosenIndex) {
    std::vector<std::int16_t> candidates{chosenIndex};
    if (context.state.forcedActive) return candidates;
    const std::vector<std::int16_t> neighbours =
        neighbourStations(context.stations, context.aircraftLatitude, context.aircraftLongitude, chosenIndex,
                          kMostNeighbourStations, kNeighbourRange);
    candidates.insert(candidates.end(), neighbours.begin(), neighbours.end());
    return candidates;
}

// Asks one source for the candidates: the chosen station alone, then the others in one
// request when the source takes several stations, else one request each; the first report
// found wins.
std::optional<CandidateReport> askForCandidates(const MetarRequestContext& context, const MetarReportSource& source,
                                                std::span<const std::int16_t> candidates) {
    std::size_t next = 0;
    while (next < candidates.size()) {
        const std::size_t count = next > 0 && source.takesSeveralStations() ? candidates.size() - next : 1;
        std::vector<std::string> ids;
        for (std::size_t i = next; i < next + count; ++i) ids.push_back(stationAt(context.stations, candidates[i]).id);
        if (auto found = fetchFirstReport(context.Inet1, source, ids)) {
            return CandidateReport{candidates[next + found->position], std::move(found->text)};
        }
        next += count;
    }
    return std::nullopt;
}

// The refresh ends without a report to apply: the status window's date tells so, the other
// fields and the weather in hand stay, and txtMETARstr says why in plain words.
MetarReadResult keepWeatherInHand(MetarRequestContext& context, std::string_view datetime, std::string why) {
    context.frmStatus().lblMETARdatetime.set(std::string(datetime));
    if (metarInHand(context.state)) why += "; keeping " + context.state.lastMetarText;
    context.frmMain().txtMETARstr.set(why);
    return {};
}

std::string noReportText(const MetarRequestContext& context, std::string_view chosenId) {
    if (context.state.forcedActive) return "No current report for " + std::string(chosenId);
    return "No current report within " + std::to_string(static_cast<int>(kNeighbourRange)) + " nm of " +
           std::string(chosenId);
}

std::string onOneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

}  // namespace

bool metarInHand(const ProgramState& state) { return state.lastMetarText != ProgramState{}.lastMetarText; }

MetarReadResult METAR_Read(MetarRequestContext& context, const std::int16_t& tempIndex) {
    context.frmMain().txtMETARstr.set("Downloading...");
    std::string chosenId;
    std::optional<CandidateReport> found;
    try {
        chosenId = stationAt(context.stations, tempIndex).id;
        const std::vector<std::int16_t> candidates = candidateStations(context, tempIndex);
        found = askEitherService(
            context, [&](const MetarReportSource& source) { return askForCandidates(context, source, candidates); });
    } catch (const std::exception& failure) {
        return keepWeatherInHand(context, kParseErrorDate, "METAR download failed: " + std::string(failure.what()));
    }
    if (!found) return keepWeatherInHand(context, kUnavailableDate, noReportText(context, chosenId));

    // Decoded apart, so that a report that cannot be decoded leaves the weather in hand whole.
    MetarReport report = readMetarReport(context.frmStatus());
    const MetarDecodeResult decoded = decodeMetar(found->text, report);
    if (decoded.faulted) {
        return keepWeatherInHand(context, kParseErrorDate, "METAR could not be decoded: " + onOneLine(found->text));
    }
    showMetarReport(context.frmStatus(), report);
    context.frmMain().txtMETARstr.set(decoded.txtMETARstr);
    return {true, found->stationIndex};
}

void butGET_Click(MetarRequestContext& context) {
    const std::string stationId = context.frmMain().txtMETARINPUT.value();
    if (stationId.size() != 4) {
        if (!stationId.empty()) {
            context.frmMain().txtMETARREQstr.set("ICAO Station ID not found");
            context.frmMain().chkDEST.set(0);
        }
        return;
    }
    context.frmMain().txtMETARREQstr.set("Getting METAR...");
    try {
        const std::optional<std::string> reportText = askEitherService(context, [&](const MetarReportSource& source) {
            return fetchMetarReport(context.Inet1, source, stationId);
        });
        if (!reportText) {
            context.frmMain().txtMETARREQstr.set("METAR report not found / ID not valid ");
            context.state.forcedId.clear();
            context.frmMain().chkDEST.set(0);
            return;
        }
        if (ui::isChecked(context.frmMain().chkDEST)) {
            const double range = parseLeadingNumber(context.frmMain().txtMETARRANGE.value());
            if (range >= kRangeLimit || !(range > 0.0)) {
                context.state.forcedRange = kDefaultForcedRange;
                // Changing the box runs its change handler: a nested request with range 60.
                context.frmMain().txtMETARRANGE.set("60");
            } else {
                context.state.forcedRange = roundTo<std::int16_t>(range);
                context.state.forcedId = stationId;
            }
        }
        context.frmMain().txtMETARREQstr.set(*reportText);
    } catch (const std::exception&) {
        context.frmMain().txtMETARREQstr.set("METAR request error or invalid ID");
    }
}

void chkDEST_Click(MetarRequestContext& context) {
    if (ui::isChecked(context.frmMain().chkDEST)) {
        butGET_Click(context);
        return;
    }
    context.state.forcedId.clear();
    context.state.forcedActive = false;
}

void txtMETARRANGE_Change(MetarRequestContext& context) { butGET_Click(context); }

}  // namespace stratocue::app
