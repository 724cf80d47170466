#include "app/settings_file.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>

#include "common/number_format.h"
#include "common/number_parse.h"

namespace stratocue::app {
namespace {

constexpr std::string_view kBlanks = " \t\r";

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

const SettingRange* keptSetting(std::string_view name) {
    const auto found =
        std::find_if(kKeptSettings.begin(), kKeptSettings.end(), [&](const SettingRange& s) { return s.name == name; });
    return found == kKeptSettings.end() ? nullptr : &*found;
}

// The text box or check box that holds setting `name`.
struct SettingControl {
    ui::Control<std::string> ui::FrmMain::*text = nullptr;
    ui::CheckBox ui::FrmMain::*check = nullptr;
};

SettingControl controlOf(std::string_view name) {
    for (const ui::FrmMain::ControlEntry& entry : ui::FrmMain::controls()) {
        if (entry.name == name) return {entry.text, entry.check};
    }
    return {};
}

// The whole number a setting's control holds, if it is one within the setting's range.
std::optional<int> heldValue(const SettingRange& setting, const ui::FrmMain& form) {
    const SettingControl control = controlOf(setting.name);
    double value = 0;
    if (control.check != nullptr) {
        value = (form.*control.check).value();
    } else if (control.text != nullptr) {
        const std::string_view text = trimmed((form.*control.text).value());
        if (text.empty()) return std::nullopt;
        value = parseLeadingNumber(text);
    } else {
        return std::nullopt;
    }
    if (value != static_cast<int>(value) || value < setting.lowest || value > setting.highest) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace

SettingsRead parseSettings(std::string_view text) {
    SettingsRead read;
    int lineNumber = 0;
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        const auto lineEnd = std::min(text.find('\n', lineStart), text.size());
        const std::string_view rawLine = text.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        ++lineNumber;
        const std::string_view line = trimmed(rawLine.substr(0, rawLine.find('#')));
        if (line.empty()) continue;
        const auto ignore = [&](std::string reason) {
            read.ignored.push_back({lineNumber, std::string(trimmed(rawLine)), std::move(reason)});
        };
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            ignore("not name=value");
            continue;
        }
        const std::string_view name = trimmed(line.substr(0, equals));
        const std::string_view valueText = trimmed(line.substr(equals + 1));
        const SettingRange* setting = keptSetting(name);
        if (setting == nullptr) {
            ignore("unknown setting");
            continue;
        }
        int value = 0;
        const auto [end, error] = std::from_chars(valueText.data(), valueText.data() + valueText.size(), value);
        if (valueText.empty() || error != std::errc{} || end != valueText.data() + valueText.size()) {
            ignore("not a whole number");
            continue;
        }
        if (value < setting->lowest || value > setting->highest) {
            ignore("out of range " + std::to_string(setting->lowest) + " to " + std::to_string(setting->highest));
            continue;
        }
        read.values.insert_or_assign(std::string(name), value);
    }
    return read;
}

std::string settingsText(const ui::FrmMain& form) {
    std::string text = "# Stratocue settings, saved on End Program and read at start\n";
    for (const SettingRange& setting : kKeptSettings) {
        const auto value = heldValue(setting, form);
        if (value) text += std::string(setting.name) + "=" + std::to_string(*value) + "\n";
    }
    return text;
}

SettingsRead loadSettings(const std::filesystem::path& folder) {
    std::ifstream file(folder / kSettingsFileName, std::ios::binary);
    if (!file) return {};
    std::ostringstream content;
    content << file.rdbuf();
    return parseSettings(content.str());
}

void applySettings(const SettingsRead& read, ui::FrmMain& form) {
    for (const auto& [name, value] : read.values) {
        const SettingControl control = controlOf(name);
        if (control.check != nullptr) (form.*control.check).set(value);
        // The interval boxes show their minutes as the main cycle writes them.
        if (control.text != nullptr) (form.*control.text).set(formatShortest(value));
    }
    if (read.ignored.empty()) return;
    std::string shown = form.txtMETARstr.value();
    for (const IgnoredSettingLine& line : read.ignored) {
        shown += std::string(kSettingsFileName) + " line " + std::to_string(line.lineNumber) + " ignored (" +
                 line.reason + "): " + line.text + "\r\n";
    }
    form.txtMETARstr.set(shown);
}

bool saveSettings(const std::filesystem::path& folder, const ui::FrmMain& form) {
    const std::filesystem::path target = folder / kSettingsFileName;
    std::filesystem::path temporary = target;
    temporary += ".new";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) return false;
        file << settingsText(form);
        file.close();
        if (!file) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (!error) return true;
    std::filesystem::remove(temporary, error);
    return false;
}

}  // namespace stratocue::app
