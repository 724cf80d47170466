#pragma once

#include <array>
#include <string>
#include <string_view>

namespace stratocue::metar {

// The decoded METAR: 17 texts, as the status window shows them (lblMETAR + field name).
// Every field starts as "."; numbers keep the form the decoder wrote (leading zeros too).
struct MetarReport {
    std::string datetime = ".";
    std::string winddir = ".";
    std::string windspeed = ".";
    std::string gusting = ".";
    std::string vis = ".";
    std::string ptype = ".";
    std::string pint = ".";
    std::string temp = ".";
    std::string dewpoint = ".";
    std::string tsdensity = ".";
    std::string c1density = ".";
    std::string c1base = ".";
    std::string c2density = ".";
    std::string c2base = ".";
    std::string c3density = ".";
    std::string c3base = ".";
    std::string alt = ".";
};

// One field of the report: its name and its member. The status window shows the field in
// label "lblMETAR" + name; stratocue-decode writes it under its name.
struct MetarField {
    std::string_view name;
    std::string MetarReport::*member;
};

// The 17 fields, in the order of the report.
inline constexpr std::array<MetarField, 17> kMetarFields{{
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

}  // namespace stratocue::metar
