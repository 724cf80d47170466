#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ui/frm_main.h"

namespace stratocue::app {

// The main window's settings are kept between runs in this file beside the station files.
inline constexpr std::string_view kSettingsFileName = "stratocue.ini";

// One kept setting: the control's name and the whole numbers it may hold.
struct SettingRange {
    std::string_view name;
    int lowest;
    int highest;
};

// The settings kept, in the order they are saved.
inline constexpr std::array<SettingRange, 8> kKeptSettings{{
    {"txtREPEATMETAR", 1, 60},
    {"txtREPEATFD", 1, 120},
    {"chkUPDATEONSTATION", 0, 1},
    {"chkUPDATEFDONSTATION", 0, 1},
    {"chkVATSIM", 0, 1},
    {"chkWINDSALOFT", 0, 1},
    {"chkDISABLEMSG", 0, 1},
    {"chkSMOOTH", 0, 1},
}};

// A line of the file that was not taken, and why.
struct IgnoredSettingLine {
    int lineNumber;  // from 1
    std::string text;
    std::string reason;
};

// What a settings file says: the values it sets, and the lines it could not use.
struct SettingsRead {
    std::map<std::string, int, std::less<>> values;
    std::vector<IgnoredSettingLine> ignored;
};

// Reads `name=value` lines; `#` starts a comment, blank lines are skipped. A line without
// `=`, a name that is not a kept setting, or a value that is not a whole number within the
// setting's range is ignored with its reason; a later line for the same name wins.
[[nodiscard]] SettingsRead parseSettings(std::string_view text);

// The file text that keeps the window's settings: an interval box whose contents are not a
// whole number within its range is left out, so that it starts from its default.
[[nodiscard]] std::string settingsText(const ui::FrmMain& form);

// Reads the settings file in `folder`; a missing or unreadable file sets nothing.
[[nodiscard]] SettingsRead loadSettings(const std::filesystem::path& folder);

// Puts what `read` sets into the form's controls (raising their events as any change does)
// and adds one line per ignored line to the current METAR text.
void applySettings(const SettingsRead& read, ui::FrmMain& form);

// Writes the window's settings to the file in `folder` through a temporary file renamed
// over it, so that the file is never left half-written; false (the old file untouched)
// when the folder cannot be written.
bool saveSettings(const std::filesystem::path& folder, const ui::FrmMain& form);

}  // namespace stratocue::app
