#include "audio/playback.h"

#include <cmath>

namespace morvane::audio {

namespace {
constexpr double kReferenceRate = 44100.0; // the rate at which one value lasts one frame
constexpr int kPlayDivisor = 128;          // 21-bit samples to a quarter of the 16-bit range
constexpr int kLastWaveIndex = kWaveCount - 1;
constexpr int kSlowestInterval = 50; // track bar maximum; the interval grows 4 ms per step below
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
    double position = 1.0;
    double step = kReferenceRate / samplesPerSec;
    if (channels == 2) {
        step = step / 2;
    }
    for (AudioBuffer &buffer : buffers) {
        for (AudioSample &sample : buffer) {
            const auto index = static_cast<std::size_t>(std::floor(position)) - 1;
            sample.store(values[index], std::memory_order_relaxed);
            position = position + step;
            if (std::floor(position) > kSampleCount) {
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
