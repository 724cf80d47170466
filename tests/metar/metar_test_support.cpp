#include "metar_test_support.h"

#include <gtest/gtest.h>

#include <array>

namespace stratocue::metar::testing {
namespace {

using Field = std::string MetarReport::*;

constexpr std::array<std::pair<std::string_view, Field>, 17> kFields = {{
    {"datetime", &MetarReport::datetime},
    {"winddir", &MetarReport::winddir},
    {"windspeed", &MetarReport::windspeed},
    {"gusting", &MetarReport::gusting},
    {"vis", &MetarReport::vis},
    {"ptype", &MetarReport::ptype},
    {"pint", &MetarReport::pint},
    {"temp", &MetarReport::temp},
    {"dewpoint", &MetarReport::dewpoint},
    {"tsdensity", &MetarReport::tsdensity},
    {"c1density", &MetarReport::c1density},
    {"c1base", &MetarReport::c1base},
    {"c2density", &MetarReport::c2density},
    {"c2base", &MetarReport::c2base},
    {"c3density", &MetarReport::c3density},
    {"c3base", &MetarReport::c3base},
    {"alt", &MetarReport::alt},
}};

std::string oldText(std::string_view name) { return "old " + std::string(name); }

}  // namespace

MetarReport recordWithOldTexts() {
    MetarReport report;
    for (const auto& [name, field] : kFields) report.*field = oldText(name);
    return report;
}

std::string fieldText(const MetarReport& report, std::string_view name) {
    for (const auto& [fieldName, field] : kFields) {
        if (fieldName == name) return report.*field;
    }
    ADD_FAILURE() << "no field named " << name;
    return {};
}

const std::vector<std::string_view>& fieldNames() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> all;
        for (const auto& entry : kFields) all.push_back(entry.first);
        return all;
    }();
    return names;
}

std::string withExtraTokens(std::string report, int count) {
    for (int i = 0; i < count; ++i) report += " NOSIG";
    return report;
}

void expectDecodes(std::string_view reportText, const FieldValues& expected) {
    MetarReport report = recordWithOldTexts();
    const MetarDecodeResult result = decodeMetar(reportText, report);
    EXPECT_FALSE(result.faulted);
    for (const std::string_view name : fieldNames()) {
        EXPECT_NE(fieldText(report, name), oldText(name)) << name << " was not written";
    }
    for (const auto& [name, value] : expected) {
        const std::string actual = name == "txtMETARstr" ? result.txtMETARstr : fieldText(report, name);
        EXPECT_EQ(actual, value) << name;
    }
}

}  // namespace stratocue::metar::testing
