#pragma once

#include <algorithm>

#include "document/wave_message.h"

namespace morvane {

// The samples that per-sample edits touch, 0-based and inclusive; First < Last.
struct SampleRange {
    int First = 0;
    int Last = kSampleCount - 1;
    friend bool operator==(const SampleRange &, const SampleRange &) = default;
};

// A run of waves, wave numbers 1..64, From <= To.
struct WaveRange {
    int From = 1;
    int To = 1;
    friend bool operator==(const WaveRange &, const WaveRange &) = default;
};

// The clamped bounds of an edit's waves (1-based numbers) and samples (0-based indexes), so that
// no index can leave the table whatever a caller passes.
constexpr int FirstWave(int from) {
    return std::max(from, 1);
}
constexpr int LastWave(int to) {
    return std::min(to, kWaveCount);
}
constexpr int FirstSample(SampleRange range) {
    return std::max(range.First, 0);
}
constexpr int LastSample(SampleRange range) {
    return std::min(range.Last, kSampleCount - 1);
}

// Exchanges samples a and b (0-based) of the wave with index waveIndex, bytes as they are.
inline void SwapSamples(Wavetable &table, int waveIndex, int a, int b) {
    const SampleTriple ta = ReadSampleBytes(table, waveIndex, a);
    WriteSampleBytes(table, waveIndex, a, ReadSampleBytes(table, waveIndex, b));
    WriteSampleBytes(table, waveIndex, b, ta);
}

} // namespace morvane
