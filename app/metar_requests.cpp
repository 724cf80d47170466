#include "app/metar_requests.h"

#include <exception>
#include <optional>
#include <string>

#include "app/metar_report_labels.h"
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

MetarSource selectedSource(ui::FrmMain& main) {
    return ui::isChecked(main.chkVATSIM) ? MetarSource::Vatsim : MetarSource::WeatherService;
}

// Fetches the station's report from the source behind the "VATSIM METARs" choice.
std::optional<std::string> fetchReport(MetarRequestContext& context, std::string_view stationId) {
    const auto source = chooseMetarSource(context.servers, selectedSource(context.frmMain()));
    return fetchMetarReport(context.Inet1, *source, stationId);
}

const stations::Station& stationAt(const stations::StationTables& tables, std::int16_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= tables.StationList.size()) {
        throw RuntimeFault(RuntimeFault::Kind::Subscript, "Subscript out of range");
    }
    return tables.StationList[static_cast<std::size_t>(index)];
}

}  // namespace

void METAR_Read(MetarRequestContext& context, const std::int16_t& tempIndex) {
    context.frmMain().txtMETARstr.set("Downloading...");
    try {
        const std::optional<std::string> reportText = fetchReport(context, stationAt(context.stations, tempIndex).id);
        ui::FrmStatus& status = context.frmStatus();
        if (!reportText) {
            status.lblMETARdatetime.set("UNAVAIL");
            status.lblMETARalt.set("1013");
            return;
        }
        MetarReport report = readMetarReport(status);
        const MetarDecodeResult decoded = decodeMetar(*reportText, report);
        showMetarReport(context.frmStatus(), report);
        context.frmMain().txtMETARstr.set(decoded.txtMETARstr);
    } catch (const std::exception&) {
        context.frmStatus().lblMETARdatetime.set("PARSE ERROR");
        context.frmMain().txtMETARstr.set(std::string(kParseErrorReportText));
    }
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
        const std::optional<std::string> reportText = fetchReport(context, stationId);
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
