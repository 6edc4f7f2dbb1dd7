#pragma once

#include <filesystem>
#include <string_view>

#include "audio/audio_settings.h"

namespace morvane::audio {

inline constexpr std::string_view kAudioSection = "AudioOutput";

// Reads the five keys of section "AudioOutput" of the settings file, each with its default when
// the file, the section or the key is missing or the value is not a decimal 32-bit integer
// (ParseDecimal). A file that cannot be read is no error: every field gets its default.
void LoadAudioSettings(AudioSettings &settings, const std::filesystem::path &path);

// Writes the five keys, in their order, into section "AudioOutput" (WriteSettingsSection),
// creating the folder, the file or the section when missing; every other line of the file stays
// as it was, and a failed save leaves the old file whole.
void SaveAudioSettings(const AudioSettings &settings, const std::filesystem::path &path);

} // namespace morvane::audio
