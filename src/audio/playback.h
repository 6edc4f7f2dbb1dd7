#pragma once

#include <array>
#include <cstdint>

#include "audio/audio_settings.h"
#include "audio/wave_out.h"
#include "document/wave_message.h"

namespace morvane::audio {

// The 128 values of one wave as they are played: entry s - 1 holds sample s divided by 128,
// truncated toward zero, so the 21-bit samples become -8191..8191, a quarter of the 16-bit
// range.
using PlayTable = std::array<std::int16_t, kSampleCount>;
PlayTable MakePlayTable(const Wavetable &table, int waveIndex);

// Writes all 16 buffers from the play table with relaxed stores (the device may be reading
// them). The position starts at 1.0 and steps by 44100 / rate, halved for two channels (the
// left and right values of a frame are half a step apart); once it passes 128 it starts again
// at exactly 1.0. A rate that is not positive (a hand-edited settings file) gives silence, as
// no step can be computed from it.
void FillBuffers(const PlayTable &values, std::int32_t samplesPerSec, std::int32_t channels,
                 AudioBuffers &buffers);

// The current wave (list index 0..63) into the generator's buffers, with the rate and the
// channel count of the settings.
void FillPlayBuffers(const Wavetable &table, int waveIndex, const AudioSettings &settings,
                     AudioBuffers &buffers);

// One step of the sweep from list index `index`: back and forth over 0..63, each end wave
// current for two ticks. Turns `direction` (+1 or -1) at the ends.
int SweepStep(int index, int &direction);

// The sweep timer's interval in milliseconds for a play speed track bar position 1..50.
int PlaySpeedInterval(int position);

} // namespace morvane::audio
