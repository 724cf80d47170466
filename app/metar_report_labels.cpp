#include "app/metar_report_labels.h"

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

namespace stratocue::app {
using metar::MetarReport;
namespace {

using StatusLabel = ui::Label ui::FrmStatus::*;

// The status window's label of a report field: the right-hand value named "lblMETAR" + the
// field's name.
StatusLabel labelOf(std::string_view fieldName) {
    const std::string labelName = "lblMETAR" + std::string(fieldName);
    for (const ui::FrmStatus::Row& row : ui::FrmStatus::layout()) {
        if (row.rightValue != nullptr && row.rightName == labelName) return row.rightValue;
    }
    throw std::logic_error("the status window has no label " + labelName);
}

// The label of each field of metar::kMetarFields, in the same order.
const std::array<StatusLabel, metar::kMetarFields.size()>& fieldLabels() {
    static const std::array<StatusLabel, metar::kMetarFields.size()> labels = [] {
        std::array<StatusLabel, metar::kMetarFields.size()> found{};
        for (std::size_t i = 0; i < found.size(); ++i) found[i] = labelOf(metar::kMetarFields[i].name);
        return found;
    }();
    return labels;
}

}  // namespace

MetarReport readMetarReport(const ui::FrmStatus& status) {
    MetarReport report;
    for (std::size_t i = 0; i < metar::kMetarFields.size(); ++i) {
        report.*metar::kMetarFields[i].member = (status.*fieldLabels()[i]).value();
    }
    return report;
}

void showMetarReport(ui::FrmStatus& status, const MetarReport& report) {
    for (std::size_t i = 0; i < metar::kMetarFields.size(); ++i) {
        (status.*fieldLabels()[i]).set(report.*metar::kMetarFields[i].member);
    }
}

}  // namespace stratocue::app
