#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "midi/paced_sender.h"

namespace morvane::midi {

inline constexpr std::string_view kMidiSection = "MidiOutput";

// The MIDI output the user chose: section "MidiOutput" of the settings file, beside
// "AudioOutput". The port is kept by its API and name (see FindPort); no port is chosen while
// MidiPort is empty.
struct MidiOutputSettings {
    std::string MidiApi;  // "alsa", "jack"; empty matches any API
    std::string MidiPort; // the port's name
    std::int32_t MidiPauseMs = kDefaultPauseMs;

    friend bool operator==(const MidiOutputSettings &, const MidiOutputSettings &) = default;
};

// Reads the three keys, each with its default when the file, the section or the key is
// missing; a pause that is no decimal number gives the default, one outside 20..2000 ms is
// brought into that range. A file that cannot be read is no error.
MidiOutputSettings LoadMidiOutputSettings(const std::filesystem::path &path);

// Writes the three keys into section "MidiOutput", keeping every other line of the file, the
// same way the audio settings are written: the whole new text goes to a temporary file beside
// the target, which replaces it only once flushed, so a failed save leaves the old file whole.
// Throws Error("Unable to write to <path>").
void SaveMidiOutputSettings(const MidiOutputSettings &settings, const std::filesystem::path &path);

inline constexpr std::string_view kMidiInputSection = "MidiInput";

// The MIDI input the audition plays from: section "MidiInput", the port kept by its API and
// name as the output's is. No port is chosen while MidiPort is empty.
struct MidiInputSettings {
    std::string MidiApi;
    std::string MidiPort;

    friend bool operator==(const MidiInputSettings &, const MidiInputSettings &) = default;
};

// Reads and writes the two keys as the output's are read and written.
MidiInputSettings LoadMidiInputSettings(const std::filesystem::path &path);
void SaveMidiInputSettings(const MidiInputSettings &settings, const std::filesystem::path &path);

// The value as written after "MidiPort=": quoted when the reader would otherwise lose blanks at
// its ends or quotes around it; line breaks, which no INI line can hold, become blanks.
std::string IniStringValue(std::string_view value);

} // namespace morvane::midi
