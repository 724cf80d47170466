#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "metar/metar_decoder.h"
#include "metar/metar_report.h"

namespace stratocue::metar::testing {

// Expected texts by field name; "txtMETARstr" names the decoder's report text.
using FieldValues = std::vector<std::pair<std::string_view, std::string>>;

// A record whose every field holds "old <field>", to see which fields a decoding writes.
[[nodiscard]] MetarReport recordWithOldTexts();

// The text of the named MetarReport field; fails the test for an unknown name.
[[nodiscard]] std::string fieldText(const MetarReport& report, std::string_view name);

// The 17 field names in record order.
[[nodiscard]] const std::vector<std::string_view>& fieldNames();

// The report followed by `count` more tokens "NOSIG".
[[nodiscard]] std::string withExtraTokens(std::string report, int count);

// Decodes `reportText` into a record with old texts and expects a clean decoding that
// wrote all 17 fields, with the listed fields (and txtMETARstr) as given.
void expectDecodes(std::string_view reportText, const FieldValues& expected);

}  // namespace stratocue::metar::testing
