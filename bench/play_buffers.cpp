// The buffer fill that runs on every redraw while a generator exists, also at the fastest sweep
// (one step per millisecond), next to a plain store of the same 131,072 samples.
#include <benchmark/benchmark.h>

#include <memory>

#include "audio/playback.h"

namespace {

using namespace morvane;

void BM_PlainStoreOfAllBuffers(benchmark::State &state) {
    auto buffers = std::make_unique<audio::AudioBuffers>();
    std::int16_t value = 0;
    for (auto _ : state) {
        ++value;
        for (audio::AudioBuffer &buffer : *buffers) {
            for (audio::AudioSample &sample : buffer) {
                sample.store(value, std::memory_order_relaxed);
            }
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainStoreOfAllBuffers);

void BM_FillPlayBuffers(benchmark::State &state) {
    Wavetable table;
    FillNewWavetable(table, 0);
    auto buffers = std::make_unique<audio::AudioBuffers>();
    audio::AudioSettings settings;
    settings.WaveChannels = static_cast<std::int32_t>(state.range(0));
    settings.WaveSamplesPerSec = static_cast<std::int32_t>(state.range(1));
    int wave = 0;
    for (auto _ : state) {
        audio::FillPlayBuffers(table, wave % kWaveCount, settings, *buffers);
        ++wave;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillPlayBuffers)->Args({2, 44100})->Args({1, 44100})->Args({1, 48000});

} // namespace

BENCHMARK_MAIN();
