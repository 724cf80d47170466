#include "metar/metar_services.h"

#include <array>

#include "common/ansi_text.h"

namespace stratocue::metar {
namespace {

// Since 2025 the data API may put the report type before the station.
constexpr std::array<std::string_view, 2> kReportTypePrefixes = {"METAR ", "SPECI "};

std::string_view withoutLineEnd(std::string_view line) {
    if (line.ends_with('\r')) line.remove_suffix(1);
    return line;
}

constexpr std::size_t kDayTimeDigits = 6;  // ddhhmm before the "Z"
constexpr int kMinutesPerDay = 24 * 60;
constexpr int kHalfMonthDays = 15;

// The observation time of a report as minutes into its month; nullopt when its second word
// is no ddhhmmZ group.
std::optional<int> observationMinutes(std::string_view report) {
    const auto timeStart = report.find(' ');
    if (timeStart == std::string_view::npos) return std::nullopt;
    const std::string_view time = report.substr(timeStart + 1, kDayTimeDigits + 1);
    if (time.size() != kDayTimeDigits + 1 || time.back() != 'Z') return std::nullopt;
    int digits[kDayTimeDigits] = {};
    for (std::size_t i = 0; i < kDayTimeDigits; ++i) {
        if (time[i] < '0' || time[i] > '9') return std::nullopt;
        digits[i] = time[i] - '0';
    }
    const int day = digits[0] * 10 + digits[1];
    return day * kMinutesPerDay + (digits[2] * 10 + digits[3]) * 60 + digits[4] * 10 + digits[5];
}

// True when `candidate` was observed after `current`. A day more than half a month before
// the other one belongs to the next month (a report of the 1st is newer than one of the 31st).
bool observedLater(std::string_view candidate, std::string_view current) {
    const auto candidateTime = observationMinutes(candidate);
    const auto currentTime = observationMinutes(current);
    if (!candidateTime || !currentTime) return false;
    const int difference = *candidateTime - *currentTime;
    if (difference < -kHalfMonthDays * kMinutesPerDay) return true;
    if (difference > kHalfMonthDays * kMinutesPerDay) return false;
    return difference > 0;
}

}  // namespace

std::string_view withoutReportType(std::string_view line) {
    for (const std::string_view prefix : kReportTypePrefixes) {
        if (line.starts_with(prefix)) return line.substr(prefix.size());
    }
    return line;
}

std::optional<std::string> reportLineFromServiceText(std::string_view text, std::string_view stationId) {
    const std::string wantedId = upperAscii(stationId);
    std::optional<std::string> newest;
    while (!text.empty()) {
        const auto lineEnd = text.find('\n');
        const std::string_view line = withoutLineEnd(text.substr(0, lineEnd));
        text = lineEnd == std::string_view::npos ? std::string_view{} : text.substr(lineEnd + 1);

        const std::string_view report = withoutReportType(line);
        const std::string_view firstWord = report.substr(0, report.find(' '));
        if (firstWord.empty() || upperAscii(firstWord) != wantedId) continue;
        if (!newest || observedLater(report, *newest)) newest = std::string(report);
    }
    return newest;
}

std::optional<std::string> reportFromServiceAnswer(const WebAnswer& answer, std::string_view stationId) {
    requireServiceSuccess(answer);
    if (isEmptyAnswer(answer)) return std::nullopt;
    return reportLineFromServiceText(answer.text, stationId);
}

}  // namespace stratocue::metar
