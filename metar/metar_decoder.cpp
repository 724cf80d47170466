#include "metar/metar_decoder.h"

#include <array>
#include <cstdint>
#include <exception>
#include <limits>
#include <string>

#include "common/ansi_text.h"
#include "common/fault.h"
#include "common/number_format.h"
#include "common/number_parse.h"
#include "common/rounding.h"
#include "common/units.h"
#include "metar/report_tokens.h"
#include "metar/text_slices.h"

namespace stratocue::metar {
namespace {

// Groups are looked for among the first 20 tokens only.
constexpr int kLastScannedSlot = 20;
// Without an altimeter group the weather scans stop at this slot.
constexpr int kAltIndexWithoutAltimeter = 10;
constexpr float kFewestMiles = 1.0F;
constexpr float kMostMiles = 99.0F;

std::string text(std::string_view view) { return std::string(view); }

std::string wholeNumberText(double value) { return std::to_string(roundTo<std::int16_t>(value)); }

// Step 1: the report text with its line breaks shown as blanks.
std::string reportTextWithoutLineBreaks(std::string_view reportText) {
    return replaceAll(replaceAll(reportText, "\n", " "), "\r", " ");
}

// Step 3: the day and time group.
void decodeDateTime(const ReportTokens& tokens, MetarReport& report) { report.datetime = text(tokens.at(2)); }

// Step 4: chooses the wind token (3, or 4 after a modifier such as AUTO) and returns its slot.
std::int16_t windSlot(const ReportTokens& tokens) {
    const std::string_view third = tokens.at(3);
    if (contains(third, "KT") || contains(third, "MPS")) return 3;
    if (contains(third, "T") && third.size() > 4) return 3;
    return 4;
}

// Step 4: direction, mean speed and gust in knots from the wind token.
void decodeWind(std::string_view wind, MetarReport& report) {
    report.winddir = text(left(wind, 3));
    const std::int16_t length = length16(wind);
    if (contains(wind, "MPS")) {
        const std::int16_t gustAt = position16(wind, "G");
        std::string_view speedText;
        std::string_view gustText = "0";
        if (gustAt > 0) {
            speedText = mid(wind, 4, checked16(gustAt - 4));
            gustText = mid(wind, checked16(gustAt + 1), checked16(length - gustAt - 3));
        } else {
            speedText = mid(wind, 4, checked16(length - 6));
        }
        // Metres per second to knots, as the program converts them: twice the number.
        report.windspeed = wholeNumberText(parseLeadingNumber(speedText) * 2);
        report.gusting = wholeNumberText(parseLeadingNumber(gustText) * 2);
    } else if (contains(wind, "KT")) {
        const std::int16_t gustAt = position16(wind, "G");
        if (gustAt > 0) {
            report.windspeed = text(mid(wind, 4, checked16(gustAt - 4)));
            report.gusting = text(mid(wind, checked16(gustAt + 1), checked16(length - gustAt - 2)));
        } else {
            report.windspeed = text(mid(wind, 4, checked16(length - 5)));
            report.gusting = "0";
        }
    } else {
        // No unit: the speed is the third- and second-last characters (27015T gives 15).
        report.windspeed = text(mid(wind, checked16(length - 2), 2));
        report.gusting = "0";
    }
}

// Step 5, fraction: "1 1/2SM" (whole miles in the token before) or "3/4SM"; only the
// first and last characters of the fraction count.
std::string fractionVisibility(std::string_view miles, std::int16_t slashAt, std::string_view tokenBefore) {
    std::string whole = "0";
    std::string_view numerator = left(miles, 1);
    if (tokenBefore.size() == 1) {
        whole = text(tokenBefore);
        numerator = mid(miles, checked16(slashAt - 1), 1);
    }
    const double denominator = parseLeadingNumber(right(miles, 1));
    if (denominator == 0.0) throw RuntimeFault(RuntimeFault::Kind::DivisionByZero, "Division by zero");
    const double quotient = parseLeadingNumber(numerator) / denominator;
    return whole + replaceAll(formatNumber(quotient, ".00"), ",", ".");
}

// Step 5, metres: a 4-character group after the wind (9999, 0800) as whole statute miles 1 to 99.
std::string metresVisibility(std::string_view metresToken) {
    const double miles = parseLeadingNumber(metresToken) * units::kFeetPerMetre / units::kFeetPerStatuteMile;
    // The program keeps this value in single precision; one that does not fit is an overflow.
    if (!(miles >= -std::numeric_limits<float>::max() && miles <= std::numeric_limits<float>::max())) {
        throw RuntimeFault(RuntimeFault::Kind::Overflow, "Overflow");
    }
    float milesSingle = static_cast<float>(miles);
    if (!(milesSingle >= kFewestMiles)) milesSingle = kFewestMiles;
    if (milesSingle > kMostMiles) milesSingle = kMostMiles;
    return formatNumber(static_cast<double>(milesSingle), "0");
}

// Step 5: visibility in statute miles. The station identifier (slot 1) is never the
// visibility group, even when it contains "SM".
void decodeVisibility(const ReportTokens& tokens, std::int16_t windIndex, MetarReport& report) {
    int visibilitySlot = 0;
    for (int slot = 2; slot <= kLastScannedSlot; ++slot) {
        if (contains(tokens.at(slot), "SM")) visibilitySlot = slot;
    }
    if (visibilitySlot == 0) {
        const std::string_view afterWind = tokens.at(checked16(windIndex + 1));
        report.vis = afterWind.size() == 4 ? metresVisibility(afterWind) : std::string("10");
        return;
    }
    const std::string_view token = tokens.at(visibilitySlot);
    const std::string_view miles = left(token, static_cast<int>(token.size()) - 2);
    const std::int16_t slashAt = position16(miles, "/");
    report.vis = slashAt > 0 ? fractionVisibility(miles, slashAt, tokens.at(visibilitySlot - 1)) : text(miles);
}

// Step 6: an altimeter group is "A" or "Q" followed by four digits (A2992, Q1008).
bool isAltimeterGroup(std::string_view token) {
    if (token.size() != 5 || (token[0] != 'A' && token[0] != 'Q')) return false;
    for (const char c : token.substr(1)) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// Step 6: hectopascals from the last altimeter group, read by its own letter.
std::string altimeterHectopascals(std::string_view group) {
    if (group[0] == 'Q') return text(mid(group, 2, 4));
    const std::string inches = text(mid(group, 2, 2)) + "." + text(mid(group, 4, 2));
    const double hectopascals = parseLeadingNumber(inches) * units::kHectopascalsPerInchOfMercury;
    return replaceAll(formatNumber(hectopascals, "0"), ",", ".");
}

// Step 6: altimeter setting; cuts the report text after the altimeter group. Returns
// altIndex, the last slot the weather scans look at.
std::int16_t decodeAltimeter(const ReportTokens& tokens, std::string& txtMETARstr, MetarReport& report) {
    std::int16_t altIndex = 0;
    for (int slot = 1; slot <= kLastScannedSlot; ++slot) {
        if (isAltimeterGroup(tokens.at(slot))) altIndex = checked16(slot);
    }
    if (altIndex == 0) {
        report.alt = "1013";
        return kAltIndexWithoutAltimeter;
    }
    std::string kept = text(tokens.at(1));
    for (int slot = 2; slot <= altIndex; ++slot) kept += " " + text(tokens.at(slot));
    txtMETARstr = kept;
    report.alt = altimeterHectopascals(tokens.at(altIndex));
    return altIndex;
}

// The level a leading "+" or "-" gives a weather group: 3 heavy, 1 light, else `plain`.
int intensityLevel(std::string_view token, int plain) {
    if (token.starts_with('+')) return 3;
    if (token.starts_with('-')) return 1;
    return plain;
}

// Step 7: thunderstorm level over slots 4 to altIndex; the last "TS" group wins.
void decodeThunderstorm(const ReportTokens& tokens, std::int16_t altIndex, MetarReport& report) {
    int level = 0;
    for (int slot = 4; slot <= altIndex; ++slot) {
        const std::string_view token = tokens.at(slot);
        if (contains(token, "TS")) level = intensityLevel(token, 2);
    }
    report.tsdensity = std::to_string(level);
}

// Step 8: precipitation type and intensity over slots 4 to altIndex; snow outranks rain.
void decodePrecipitation(const ReportTokens& tokens, std::int16_t altIndex, MetarReport& report) {
    int rain = 0;
    int snow = 0;
    for (int slot = 4; slot <= altIndex; ++slot) {
        const std::string_view token = tokens.at(slot);
        if (contains(token, "RA")) rain = intensityLevel(token, 2);
        if (contains(token, "DZ")) rain = 1;  // drizzle always counts as light
        if (contains(token, "SN")) snow = intensityLevel(token, 2);
    }
    if (snow > 0) {
        report.ptype = "2";
        report.pint = std::to_string(snow);
    } else if (rain > 0) {
        report.ptype = "1";
        report.pint = std::to_string(rain);
    } else {
        report.ptype = "0";
        report.pint = "0";
    }
}

// Step 9: a 3-character part (M05) is a negative temperature (-05); others stay as they are.
std::string temperatureText(std::string_view part) {
    return part.size() == 3 ? "-" + text(right(part, 2)) : text(part);
}

// Step 9: temperature and dew point from the first "tt/dd" group of 5 to 7 characters.
void decodeTemperature(const ReportTokens& tokens, MetarReport& report) {
    for (int slot = 1; slot <= kLastScannedSlot; ++slot) {
        const std::string_view token = tokens.at(slot);
        if (contains(token, "/") && token.size() >= 5 && token.size() <= 7 && !contains(token, "SM")) {
            const std::size_t slash = token.find('/');
            report.temp = temperatureText(token.substr(0, slash));
            report.dewpoint = temperatureText(token.substr(slash + 1));
            return;
        }
    }
    report.temp = "15";
    report.dewpoint = "7";
}

struct CloudSlot {
    std::string density;
    std::string base;
};

// Step 10: coverage and base of one cloud group (BKN030CB gives 030, SCT025TCU gives TCU).
CloudSlot cloudFromGroup(std::string_view group) {
    const std::string_view base = right(group, 2) == "CB" ? mid(group, 4, 3) : right(group, 3);
    return {text(left(group, 3)), text(base)};
}

// Step 10: the three cloud slots from the first three groups among slots 1 to 20.
void decodeClouds(const ReportTokens& tokens, MetarReport& report) {
    constexpr std::array<std::string_view, 4> kCoverages = {"FEW", "SCT", "BKN", "OVC"};
    int groupCount = 0;
    std::array<std::string_view, 3> groups{};  // G1, G2, G3
    for (int slot = 1; slot <= kLastScannedSlot; ++slot) {
        const std::string_view token = tokens.at(slot);
        for (const std::string_view coverage : kCoverages) {
            if (!contains(token, coverage)) continue;
            ++groupCount;
            if (groupCount <= 3) groups[static_cast<std::size_t>(groupCount - 1)] = token;
        }
    }
    const CloudSlot none{"NONE", "0"};
    const CloudSlot mixedNone{"None", "0"};  // a distinct text: matches no coverage the writer knows
    std::array<CloudSlot, 3> slots{none, none, none};
    if (groupCount == 1) {
        slots = {mixedNone, cloudFromGroup(groups[0]), mixedNone};
    } else if (groupCount == 2) {
        slots = {none, cloudFromGroup(groups[0]), cloudFromGroup(groups[1])};
    } else if (groupCount >= 3) {
        // The lowest of three or more groups is shown in no slot.
        slots = {mixedNone, cloudFromGroup(groups[1]), cloudFromGroup(groups[2])};
    }
    report.c1density = slots[0].density;
    report.c1base = slots[0].base;
    report.c2density = slots[1].density;
    report.c2base = slots[1].base;
    report.c3density = slots[2].density;
    report.c3base = slots[2].base;
}

// Steps 1 to 10 in order; a fault leaves the fields of the completed steps written.
std::string decodeSteps(std::string_view reportText, MetarReport& report) {
    std::string txtMETARstr = reportTextWithoutLineBreaks(reportText);
    const ReportTokens tokens = ReportTokens::split(reportText);
    decodeDateTime(tokens, report);
    const std::int16_t windIndex = windSlot(tokens);
    decodeWind(tokens.at(windIndex), report);
    decodeVisibility(tokens, windIndex, report);
    const std::int16_t altIndex = decodeAltimeter(tokens, txtMETARstr, report);
    decodeThunderstorm(tokens, altIndex, report);
    decodePrecipitation(tokens, altIndex, report);
    decodeTemperature(tokens, report);
    decodeClouds(tokens, report);
    return txtMETARstr;
}

}  // namespace

MetarDecodeResult decodeMetar(std::string_view reportText, MetarReport& report) {
    try {
        return {decodeSteps(reportText, report), false};
    } catch (const std::exception&) {
        // One fallback for every fault, as the status window shows it.
    }
    report.datetime = "PARSE ERROR";
    return {std::string(kParseErrorReportText), true};
}

}  // namespace stratocue::metar
