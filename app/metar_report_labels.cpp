#include "app/metar_report_labels.h"

#include <array>
#include <utility>

namespace stratocue::app {
using metar::MetarReport;
namespace {

using FieldLabel = std::pair<std::string MetarReport::*, ui::Label ui::FrmStatus::*>;

constexpr std::array<FieldLabel, 17> kFieldLabels{{
    {&MetarReport::datetime, &ui::FrmStatus::lblMETARdatetime},
    {&MetarReport::winddir, &ui::FrmStatus::lblMETARwinddir},
    {&MetarReport::windspeed, &ui::FrmStatus::lblMETARwindspeed},
    {&MetarReport::gusting, &ui::FrmStatus::lblMETARgusting},
    {&MetarReport::vis, &ui::FrmStatus::lblMETARvis},
    {&MetarReport::ptype, &ui::FrmStatus::lblMETARptype},
    {&MetarReport::pint, &ui::FrmStatus::lblMETARpint},
    {&MetarReport::temp, &ui::FrmStatus::lblMETARtemp},
    {&MetarReport::dewpoint, &ui::FrmStatus::lblMETARdewpoint},
    {&MetarReport::tsdensity, &ui::FrmStatus::lblMETARtsdensity},
    {&MetarReport::c1density, &ui::FrmStatus::lblMETARc1density},
    {&MetarReport::c1base, &ui::FrmStatus::lblMETARc1base},
    {&MetarReport::c2density, &ui::FrmStatus::lblMETARc2density},
    {&MetarReport::c2base, &ui::FrmStatus::lblMETARc2base},
    {&MetarReport::c3density, &ui::FrmStatus::lblMETARc3density},
    {&MetarReport::c3base, &ui::FrmStatus::lblMETARc3base},
    {&MetarReport::alt, &ui::FrmStatus::lblMETARalt},
}};

}  // namespace

MetarReport readMetarReport(const ui::FrmStatus& status) {
    MetarReport report;
    for (const auto& [field, label] : kFieldLabels) report.*field = (status.*label).value();
    return report;
}

void showMetarReport(ui::FrmStatus& status, const MetarReport& report) {
    for (const auto& [field, label] : kFieldLabels) (status.*label).set(report.*field);
}

}  // namespace stratocue::app
