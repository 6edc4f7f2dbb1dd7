#include "audio/playback.h"

#include <array>
#include <cstddef>

namespace morvane::audio {

namespace {
constexpr double kReferenceRate = 44100.0; // the rate at which one value lasts one frame
constexpr int kPlayDivisor = 128;          // 21-bit samples to a quarter of the 16-bit range
constexpr int kLastWaveIndex = kWaveCount - 1;
constexpr int kSlowestInterval = 50; // track bar maximum; the interval grows 4 ms per step below
// Values of one cycle kept for repeating: a cycle takes 128 x rate / 44,100 values in mono and
// twice that in stereo, so this covers every rate up to about 350 kHz.
constexpr std::size_t kCycleCache = 2048;
} // namespace

PlayTable MakePlayTable(const Wavetable &table, int waveIndex) {
    PlayTable values{};
    for (int s = 0; s < kSampleCount; ++s) {
        values[static_cast<std::size_t>(s)] =
            static_cast<std::int16_t>(ReadSample(table, waveIndex, s) / kPlayDivisor);
    }
    return values;
}

void FillBuffers(const PlayTable &values, std::int32_t samplesPerSec, std::int32_t channels,
                 AudioBuffers &buffers) {
    if (samplesPerSec <= 0) {
        for (AudioBuffer &buffer : buffers) {
            for (AudioSample &sample : buffer) {
                sample.store(0, std::memory_order_relaxed);
            }
        }
        return;
    }
    double step = kReferenceRate / samplesPerSec;
    if (channels == 2) {
        step = step / 2;
    }
    // The position restarts at exactly 1.0 once it passes 128, so the values repeat with the
    // period of one cycle. One cycle is worked out once and then repeated, unless it is longer
    // than the cache (rates far above the usual ones), when the position is stepped throughout.
    // The position stays positive (1 up to 129 + step): truncation is its floor.
    std::array<std::int16_t, kCycleCache> cycle{};
    std::size_t cycleLength = 0;
    double position = 1.0;
    while (cycleLength < kCycleCache) {
        cycle[cycleLength++] = values[static_cast<std::size_t>(position) - 1];
        position = position + step;
        if (static_cast<int>(position) > kSampleCount) {
            break;
        }
    }
    if (static_cast<int>(position) > kSampleCount) {
        std::size_t k = 0;
        for (AudioBuffer &buffer : buffers) {
            for (AudioSample &sample : buffer) {
                sample.store(cycle[k], std::memory_order_relaxed);
                if (++k == cycleLength) {
                    k = 0;
                }
            }
        }
        return;
    }
    position = 1.0;
    for (AudioBuffer &buffer : buffers) {
        for (AudioSample &sample : buffer) {
            sample.store(values[static_cast<std::size_t>(position) - 1], std::memory_order_relaxed);
            position = position + step;
            if (static_cast<int>(position) > kSampleCount) {
                position = 1.0; // the overshoot is dropped
            }
        }
    }
}

void FillPlayBuffers(const Wavetable &table, int waveIndex, const AudioSettings &settings,
                     AudioBuffers &buffers) {
    FillBuffers(MakePlayTable(table, waveIndex), settings.WaveSamplesPerSec, settings.WaveChannels,
                buffers);
}

int SweepStep(int index, int &direction) {
    int next = index + direction;
    if (next == kWaveCount) {
        next = kLastWaveIndex;
        direction = -1;
    }
    if (next == -1) {
        next = 0;
        direction = +1;
    }
    return next;
}

int PlaySpeedInterval(int position) {
    return (kSlowestInterval - position) * 4 + 1;
}

} // namespace morvane::audio
