#include "ui/audio_setup_choices.h"

#include <algorithm>

#include "audio/audio_setup.h"

namespace morvane::ui {

AudioSetupChoices MakeAudioSetupChoices(const std::vector<audio::WaveOutCaps> &devices,
                                        const audio::AudioSettings &settings) {
    AudioSetupChoices choices;
    const std::size_t count = std::min(devices.size(), audio::kMaxSetupDevices);
    for (std::size_t d = 0; d < count; ++d) {
        choices.Devices.push_back(audio::TruncateProductName(devices[d].ProductName));
        choices.Formats.push_back(audio::FormatTexts(devices[d].Formats));
    }
    choices.PreselectedFormat = audio::PreselectedFormat(settings);
    return choices;
}

} // namespace morvane::ui
