#include "midi/midi_settings.h"

#include <optional>

#include "document/decimal.h"
#include "files/settings_file.h"

namespace morvane::midi {

namespace fs = std::filesystem;

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v';
}

} // namespace

std::string IniStringValue(std::string_view value) {
    std::string text(value);
    for (char &c : text) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    const bool needsQuotes = !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()) ||
                                               text.front() == '"' || text.front() == '\'');
    return needsQuotes ? "\"" + text + "\"" : text;
}

MidiOutputSettings LoadMidiOutputSettings(const fs::path &path) {
    const std::string text = files::ReadSettingsText(path);
    MidiOutputSettings settings;
    settings.MidiApi = files::ReadIniValue(text, kMidiSection, "MidiApi").value_or("");
    settings.MidiPort = files::ReadIniValue(text, kMidiSection, "MidiPort").value_or("");
    if (const auto pause = files::ReadIniValue(text, kMidiSection, "MidiPauseMs")) {
        if (const auto value = ParseDecimal(*pause))
            settings.MidiPauseMs = ClampPause(*value);
    }
    return settings;
}

void SaveMidiOutputSettings(const MidiOutputSettings &settings, const fs::path &path) {
    const files::IniKeyValues values = {
        {"MidiApi", IniStringValue(settings.MidiApi)},
        {"MidiPort", IniStringValue(settings.MidiPort)},
        {"MidiPauseMs", std::to_string(ClampPause(settings.MidiPauseMs))},
    };
    files::WriteSettingsSection(path, kMidiSection, values);
}

MidiInputSettings LoadMidiInputSettings(const fs::path &path) {
    const std::string text = files::ReadSettingsText(path);
    MidiInputSettings settings;
    settings.MidiApi = files::ReadIniValue(text, kMidiInputSection, "MidiApi").value_or("");
    settings.MidiPort = files::ReadIniValue(text, kMidiInputSection, "MidiPort").value_or("");
    return settings;
}

void SaveMidiInputSettings(const MidiInputSettings &settings, const fs::path &path) {
    const files::IniKeyValues values = {
        {"MidiApi", IniStringValue(settings.MidiApi)},
        {"MidiPort", IniStringValue(settings.MidiPort)},
    };
    files::WriteSettingsSection(path, kMidiInputSection, values);
}

} // namespace morvane::midi
