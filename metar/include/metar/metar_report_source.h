#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "web/web_answer.h"

namespace stratocue::metar {

// Where the current report of one station comes from: the address to ask, and how the
// answer turns into the report text. The text is the one the page cut gives, so the
// decoder, the fallback texts and the schedules never know which source answered.
class MetarReportSource {
public:
    MetarReportSource() = default;
    MetarReportSource(const MetarReportSource&) = delete;
    MetarReportSource& operator=(const MetarReportSource&) = delete;
    MetarReportSource(MetarReportSource&&) = delete;
    MetarReportSource& operator=(MetarReportSource&&) = delete;
    virtual ~MetarReportSource() = default;

    // The address that asks for the station's report; for a source that takes several
    // stations, `stationId` may be a comma-separated list of identifiers.
    [[nodiscard]] virtual std::string requestUrl(std::string_view stationId) const = 0;

    // True when one request may ask for several stations at once (identifiers joined by ",").
    [[nodiscard]] virtual bool takesSeveralStations() const { return false; }

    // The report text the answer holds for the station; nullopt when the source has no
    // report for it (the not-found path). Throws when the answer is a failure or the text
    // cannot be cut (the error path).
    [[nodiscard]] virtual std::optional<std::string> reportFromAnswer(const WebAnswer& answer,
                                                                      std::string_view stationId) const = 0;
};

}  // namespace stratocue::metar
