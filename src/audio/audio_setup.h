#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "audio/audio_settings.h"
#include "audio/wave_out.h"

namespace morvane::audio {

// Devices beyond the 22nd are neither queried nor listed.
inline constexpr std::size_t kMaxSetupDevices = 22;

// The texts of the 16-bit formats set in `formats`, in the order of the format table:
// "11.025 kHz, mono", "11.025 kHz, stereo", ... "96 kHz, stereo". Other bits are ignored.
std::vector<std::string> FormatTexts(std::uint32_t formats);

// The format entry preselected for the saved settings: 2 r + s with r the index of the saved
// rate among 11025, 22050, 44100, 48000, 96000 and s = 1 for two channels; -1 for another rate.
// It counts as if the device offered all ten formats, so it may name another entry, or one past
// the end of a shorter list.
int PreselectedFormat(const AudioSettings &settings);

// The dialog's OK: device := the chosen entry (-1 for none: the wave mapper), channels from
// "stereo", 16 bits, the rate from the first of "11.025 kHz", "22.05 kHz", "44.1 kHz", "48 kHz",
// "96 kHz" that the text contains, tested in this order (unchanged when none does), block align
// from channels and bits.
void ApplyAudioSetup(AudioSettings &settings, int deviceIndex, std::string_view formatText);

} // namespace morvane::audio
