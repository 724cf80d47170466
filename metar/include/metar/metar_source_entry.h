#pragma once

#include <memory>
#include <string>

#include "metar/metar_page.h"
#include "metar/metar_report_source.h"
#include "web/server_addresses.h"

namespace stratocue::metar {

// What a METAR source says about itself: its server (the servers.txt key and the default
// address), the "VATSIM METARs" choice it serves, and how it is made for an address. The
// source's page layout comes with what `make` builds.
struct MetarSourceEntry {
    SourceServer server;
    MetarSource choice;
    std::unique_ptr<MetarReportSource> (*make)(std::string address);
};

}  // namespace stratocue::metar
