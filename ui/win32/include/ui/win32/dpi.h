#pragma once

namespace stratocue::ui::win32 {

// Sizes at the DPI the windows are shown at. The design gives window sizes in twips (1,440
// to the inch, so 15 to the pixel at 96 DPI); the layout's own spacings are pixels at 96
// DPI. Both grow with the DPI, as the text in the system's font does.
struct Dpi {
    int dotsPerInch = 96;

    // The system's DPI, which a system-DPI-aware program lays its windows out for.
    [[nodiscard]] static Dpi ofSystem();

    [[nodiscard]] constexpr int fromTwips(int twips) const { return (twips * dotsPerInch + 720) / 1440; }
    [[nodiscard]] constexpr int fromPixelsAt96(int pixels) const { return (pixels * dotsPerInch + 48) / 96; }
};

}  // namespace stratocue::ui::win32
