#include "midi/midi_settings.h"

#include <charconv>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>

#include "audio/settings_file.h"
#include "document/error.h"
#include "files/atomic_file.h"

namespace morvane::midi {

namespace fs = std::filesystem;

namespace {

std::optional<std::string> ReadWholeFile(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return std::move(content).str();
}

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
    const std::string text = ReadWholeFile(path).value_or(std::string());
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
    const std::string shown = "Unable to write to " + path.string();
    std::error_code ec;
    std::string text;
    if (fs::exists(path, ec)) {
        // The other sections can only be kept when the file can be read.
        const std::optional<std::string> existing = ReadWholeFile(path);
        if (!existing)
            throw Error(shown);
        text = *existing;
    } else if (path.has_parent_path()) {
        fs::create_directories(path.parent_path(), ec);
    }
    const audio::IniKeyValues values = {
        {"MidiApi", IniStringValue(settings.MidiApi)},
        {"MidiPort", IniStringValue(settings.MidiPort)},
        {"MidiPauseMs", std::to_string(ClampPause(settings.MidiPauseMs))},
    };
    const std::string newText = audio::WriteIniValues(text, kMidiSection, values);
    try {
        files::WriteFileAtomically(
            path.string(),
            std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t *>(newText.data()),
                                          newText.size()));
    } catch (const std::exception &) {
        throw Error(shown);
    }
}

} // namespace morvane::midi
