#pragma once

#include <vector>

#include "audio/audio_settings.h"
#include "audio/wave_out.h"
#include "ui/dialogs.h"

namespace morvane::ui {

// What the audio setup dialog says instead of its lists when there is no output device.
inline constexpr const char *kNoSoundOutputText = "No sound output found";

// What the audio setup dialog shows: the names of the first 22 devices, the format texts of
// each and the entry to preselect for the saved settings.
AudioSetupChoices MakeAudioSetupChoices(const std::vector<audio::WaveOutCaps> &devices,
                                        const audio::AudioSettings &settings);

} // namespace morvane::ui
