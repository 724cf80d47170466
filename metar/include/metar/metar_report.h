#pragma once

#include <string>

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

}  // namespace stratocue::metar
