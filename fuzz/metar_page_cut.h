#pragma once

// One METAR download after the transfer, as the program runs it: the body becomes the page
// text, the report is cut out of it and decoded. Input: the station identifier on the first
// line, the page body after it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "common/fault.h"
#include "fuzz_input.h"
#include "metar/metar_decoder.h"
#include "metar/metar_page.h"
#include "web/page_text.h"

namespace stratocue::fuzz {

// Longest report the cut can give: 255 characters taken, at least 3 dropped before "<".
constexpr std::size_t kLongestCutReport = 252;

inline void cutAndDecodePage(const std::uint8_t* data, std::size_t size, metar::MetarSource source) {
    const auto [stationId, body] = splitFirstLine(asText(data, size));
    std::optional<std::string> report;
    try {
        const std::string page = web::pageTextFromBody(std::as_bytes(std::span(body.data(), body.size())));
        report = metar::cutReportFromPage(page, source, stationId);
    } catch (const RuntimeFault&) {
        return;  // the documented fault: the caller shows its fallback text
    }
    if (!report) return;
    expect(report->size() <= kLongestCutReport, "a cut report holds at most 252 characters");
    metar::MetarReport decoded;
    static_cast<void>(metar::decodeMetar(*report, decoded));
}

}  // namespace stratocue::fuzz
