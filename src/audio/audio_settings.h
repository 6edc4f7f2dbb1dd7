#pragma once

#include <cstdint>

namespace morvane::audio {

// The audio output device and PCM format: one instance for the whole run, read from and
// written to the settings file, changed by the audio setup dialog. Values are taken as they
// are (a hand-edited file may hold anything); the generator and the buffer fill cope with any.
struct AudioSettings {
    // Device number as the wave-out port counts its devices (0 = the first); -1 selects the
    // wave mapper, that is the system's default output.
    std::int32_t WaveAudioDevice = 0;
    std::int32_t WaveChannels = 2;          // 1 mono, 2 stereo
    std::int32_t WaveSamplesPerSec = 44100; // Hz
    std::int32_t WaveBlockAlign = 4;        // bytes per frame
    std::int32_t WaveBitsPerSample = 16;    // the setup dialog only ever sets 16

    friend bool operator==(const AudioSettings &, const AudioSettings &) = default;
};

} // namespace morvane::audio
