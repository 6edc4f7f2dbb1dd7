#include "midi/midi_settings.h"

#include <charconv>
#include <optional>
#include <system_error>

#include "audio/settings_file.h"

namespace morvane::midi {

namespace fs = std::filesystem;

namespace {

std::optional<std::int32_t> ParseDecimal(std::string_view text) {
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    std::int32_t value = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, 10);
    if (text.empty() || ec != std::errc{} || ptr != end)
        return std::nullopt;
    return value;
}

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
    const std::string text = audio::ReadSettingsText(path);
    MidiOutputSettings settings;
    settings.MidiApi = audio::ReadIniValue(text, kMidiSection, "MidiApi").value_or("");
    settings.MidiPort = audio::ReadIniValue(text, kMidiSection, "MidiPort").value_or("");
    if (const auto pause = audio::ReadIniValue(text, kMidiSection, "MidiPauseMs")) {
        if (const auto value = ParseDecimal(*pause))
            settings.MidiPauseMs = ClampPause(*value);
    }
    return settings;
}

void SaveMidiOutputSettings(const MidiOutputSettings &settings, const fs::path &path) {
    const audio::IniKeyValues values = {
        {"MidiApi", IniStringValue(settings.MidiApi)},
        {"MidiPort", IniStringValue(settings.MidiPort)},
        {"MidiPauseMs", std::to_string(ClampPause(settings.MidiPauseMs))},
    };
    audio::WriteSettingsSection(path, kMidiSection, values);
}

} // namespace morvane::midi
