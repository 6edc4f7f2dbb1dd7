#include "audio/audio_setup.h"

#include <algorithm>
#include <array>

namespace morvane::audio {

namespace {

struct FormatRow {
    std::uint32_t Bit;
    const char *Text;
};

constexpr std::array<FormatRow, 10> kFormatTable = {{
    {kWaveFormat1M16, "11.025 kHz, mono"},
    {kWaveFormat1S16, "11.025 kHz, stereo"},
    {kWaveFormat2M16, "22.05 kHz, mono"},
    {kWaveFormat2S16, "22.05 kHz, stereo"},
    {kWaveFormat4M16, "44.1 kHz, mono"},
    {kWaveFormat4S16, "44.1 kHz, stereo"},
    {kWaveFormat48M16, "48 kHz, mono"},
    {kWaveFormat48S16, "48 kHz, stereo"},
    {kWaveFormat96M16, "96 kHz, mono"},
    {kWaveFormat96S16, "96 kHz, stereo"},
}};

struct RateText {
    const char *Text;
    std::int32_t Rate;
};

// Tested in this order, each on its own; the texts of the format table hold one rate each.
constexpr std::array<RateText, 5> kRateTexts = {{
    {"11.025 kHz", 11025},
    {"22.05 kHz", 22050},
    {"44.1 kHz", 44100},
    {"48 kHz", 48000},
    {"96 kHz", 96000},
}};

} // namespace

std::vector<std::string> FormatTexts(std::uint32_t formats) {
    std::vector<std::string> texts;
    for (const FormatRow &row : kFormatTable) {
        if ((formats & row.Bit) != 0) {
            texts.emplace_back(row.Text);
        }
    }
    return texts;
}

int PreselectedFormat(const AudioSettings &settings) {
    const auto found =
        std::find(kFormatRates.begin(), kFormatRates.end(), settings.WaveSamplesPerSec);
    if (found == kFormatRates.end()) {
        return -1;
    }
    const int r = static_cast<int>(found - kFormatRates.begin());
    const int s = settings.WaveChannels == 2 ? 1 : 0;
    return 2 * r + s;
}

void ApplyAudioSetup(AudioSettings &settings, int deviceIndex, std::string_view formatText) {
    constexpr std::int32_t kBitsPerSample = 16; // the only depth the dialog offers
    settings.WaveAudioDevice = deviceIndex < 0 ? -1 : deviceIndex;
    settings.WaveChannels = formatText.find("stereo") != std::string_view::npos ? 2 : 1;
    settings.WaveBitsPerSample = kBitsPerSample;
    for (const RateText &rate : kRateTexts) {
        if (formatText.find(rate.Text) != std::string_view::npos) {
            settings.WaveSamplesPerSec = rate.Rate;
        }
    }
    settings.WaveBlockAlign = settings.WaveChannels * settings.WaveBitsPerSample / 8;
}

} // namespace morvane::audio
