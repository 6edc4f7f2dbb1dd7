#include "audio/audio_settings_file.h"

#include <string>

#include "document/decimal.h"
#include "files/settings_file.h"

namespace morvane::audio {

namespace fs = std::filesystem;

namespace {

std::int32_t ReadInt(std::string_view text, std::string_view key, std::int32_t fallback) {
    const auto value = files::ReadIniValue(text, kAudioSection, key);
    if (!value) {
        return fallback;
    }
    return ParseDecimal(*value).value_or(fallback);
}

} // namespace

void LoadAudioSettings(AudioSettings &settings, const fs::path &path) {
    const std::string text = files::ReadSettingsText(path);
    const AudioSettings defaults;
    settings.WaveAudioDevice = ReadInt(text, "WaveAudioDevice", defaults.WaveAudioDevice);
    settings.WaveChannels = ReadInt(text, "WaveChannels", defaults.WaveChannels);
    settings.WaveSamplesPerSec = ReadInt(text, "WaveSamplesPerSec", defaults.WaveSamplesPerSec);
    settings.WaveBlockAlign = ReadInt(text, "WaveBlockAlign", defaults.WaveBlockAlign);
    settings.WaveBitsPerSample = ReadInt(text, "WaveBitsPerSample", defaults.WaveBitsPerSample);
}

void SaveAudioSettings(const AudioSettings &settings, const fs::path &path) {
    const files::IniKeyValues values = {
        {"WaveAudioDevice", std::to_string(settings.WaveAudioDevice)},
        {"WaveChannels", std::to_string(settings.WaveChannels)},
        {"WaveSamplesPerSec", std::to_string(settings.WaveSamplesPerSec)},
        {"WaveBlockAlign", std::to_string(settings.WaveBlockAlign)},
        {"WaveBitsPerSample", std::to_string(settings.WaveBitsPerSample)},
    };
    files::WriteSettingsSection(path, kAudioSection, values);
}

} // namespace morvane::audio
