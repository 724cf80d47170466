#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "common/sim_offsets.h"
#include "ui/control.h"
#include "ui/frm_status.h"

namespace stratocue::app {

// How one simulator value read every tick is turned into its status-label text.
enum class ReadingKind {
    Latitude,     // signed 32-bit, 10001750 = 90 degrees, shown in radians "0.000000"
    Longitude,    // signed 32-bit, 2^32 = 360 degrees, shown in radians "0.000000"
    Coverage,     // unsigned 16-bit, 65535 = 8 eighths, shortest form with a leading blank
    Whole16,      // signed 16-bit whole number
    Temperature,  // signed 16-bit, degrees Celsius x 256, shown "0"
    Altitude32,   // 32-bit word whose low 16 bits are the signed whole metres
    Clock,        // three bytes hour, minute, second, shown "00:00:00"
};

struct SimulatorReading {
    offsets::SimOffset value;
    ReadingKind kind;
    ui::Label ui::FrmStatus::*label;
};

// The fourteen values of every tick, in the order they are read.
[[nodiscard]] const std::array<SimulatorReading, 14>& simulatorReadings();

// Aircraft position in radians from the raw words.
[[nodiscard]] double latitudeRadians(std::int32_t word);
[[nodiscard]] double longitudeRadians(std::int32_t word);

// The label text of a value from its raw little-endian bytes.
[[nodiscard]] std::string readingText(ReadingKind kind, std::span<const std::byte, 4> raw);

}  // namespace stratocue::app
