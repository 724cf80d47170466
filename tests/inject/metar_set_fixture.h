#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "common/sim_offsets.h"
#include "inject/metar_set.h"
#include "metar/metar_report.h"
#include "recording_platform.h"
#include "scripted_random.h"

namespace stratocue::inject::testing {

// A decoded report with three layers: 270 degrees at 10 knots, 10 miles, 15/10, 1013 hPa.
inline metar::MetarReport typicalReport() {
    metar::MetarReport report;
    report.datetime = "121756";
    report.winddir = "270";
    report.windspeed = "10";
    report.gusting = "0";
    report.vis = "10";
    report.ptype = "0";
    report.pint = "0";
    report.temp = "15";
    report.dewpoint = "10";
    report.tsdensity = "0";
    report.c1density = "SCT";
    report.c1base = "030";
    report.c2density = "BKN";
    report.c2base = "080";
    report.c3density = "OVC";
    report.c3base = "120";
    report.alt = "1013";
    return report;
}

// An aircraft 96 m above a station 4 m high, no winds aloft, messages on.
inline SurfaceWriteSettings typicalSettings() {
    SurfaceWriteSettings settings;
    settings.reportText = "KSFO 121756Z 27010KT 10SM SCT030 BKN080 OVC120 15/10 A2992";
    settings.altitudeText = "100";
    settings.stationElevationMetres = 4;
    return settings;
}

// Everything one METAR_Set call reads and changes, with a recording link.
struct SurfaceWrite {
    metar::MetarReport report = typicalReport();
    SurfaceWriteSettings settings = typicalSettings();
    bool altitudeSet = false;
    ScriptedRandom random{0.0};
    RecordedLink recorded;

    void run() { METAR_Set(recorded.link, report, altitudeSet, settings, random); }
    [[nodiscard]] const RecordingPlatform& platform() const { return recorded.platform; }
};

// The offsets of a full write for an aircraft near the station, without winds aloft.
inline const std::vector<std::int32_t> kFullWriteOffsets = {
    offsets::kLayer2Type.offset,    offsets::kLayer3Type.offset,     offsets::kLayer2Base.offset,
    offsets::kLayer2Top.offset,     offsets::kLayer2Coverage.offset, offsets::kLayer3Base.offset,
    offsets::kLayer3Top.offset,     offsets::kLayer3Coverage.offset, offsets::kLayer1Base.offset,
    offsets::kLayer1Top.offset,     offsets::kLayer1Coverage.offset, offsets::kLayer1Type.offset,
    offsets::kPrecipitation.offset, offsets::kTemperature.offset,    offsets::kTemperatureAltitude.offset,
    offsets::kGust.offset,          offsets::kWindSpeed.offset,      offsets::kWindDirection.offset,
    offsets::kVisibility.offset,    offsets::kPressure.offset,       offsets::kDewPoint.offset,
    offsets::kMessageText.offset,   offsets::kMessageShow.offset};

// The low 16 bits of a value, as the simulator receives them.
inline std::uint16_t low16(std::int32_t value) { return static_cast<std::uint16_t>(value); }

// `offsets` without the ones in `removed`, order kept.
inline std::vector<std::int32_t> without(std::vector<std::int32_t> offsets, const std::vector<std::int32_t>& removed) {
    std::erase_if(offsets, [&](std::int32_t offset) {
        return std::find(removed.begin(), removed.end(), offset) != removed.end();
    });
    return offsets;
}

}  // namespace stratocue::inject::testing
