#pragma once

#include "metar/metar_report.h"
#include "ui/frm_status.h"

namespace stratocue::app {

// The decoded METAR lives in the status window's lblMETAR... labels; these move it between
// the labels and the record the decoder and the writers work on.
[[nodiscard]] metar::MetarReport readMetarReport(const ui::FrmStatus& status);
void showMetarReport(ui::FrmStatus& status, const metar::MetarReport& report);

}  // namespace stratocue::app
