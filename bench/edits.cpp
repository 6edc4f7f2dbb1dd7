// The extended-precision edits over the whole table (64 waves x 128 samples): the generator
// (sine, added by multiplication), amplify and morph.
#include <benchmark/benchmark.h>

#include "document/wave_message.h"
#include "edit/generator.h"
#include "edit/random.h"
#include "edit/table_ops.h"
#include "edit/transforms.h"

namespace {

constexpr morvane::SampleRange kWholeWave{0, morvane::kSampleCount - 1};

void BM_GenerateSineMultiplied(benchmark::State &state) {
    morvane::Wavetable table;
    morvane::FillNewWavetable(table, 0);
    morvane::edit::RandomGenerator random;
    morvane::edit::WaveBackup backup;
    morvane::edit::GeneratorSettings settings;
    settings.Harmonic = 50;
    settings.FadePosition = 7;
    settings.Mode = morvane::edit::CombineMode::Multi;
    for (auto _ : state) {
        auto result = morvane::edit::GenerateWaves(table, settings, 1, morvane::kWaveCount,
                                                   kWholeWave, random, backup);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_GenerateSineMultiplied)->Unit(benchmark::kMillisecond);

void BM_AmplifyDown(benchmark::State &state) {
    morvane::Wavetable table;
    morvane::FillNewWavetable(table, 0);
    morvane::edit::WaveBackup backup;
    for (auto _ : state) {
        auto result = morvane::edit::Amplify(table, 1, morvane::kWaveCount, kWholeWave, 3, false,
                                             false, backup);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_AmplifyDown)->Unit(benchmark::kMillisecond);

void BM_Morph(benchmark::State &state) {
    morvane::Wavetable table;
    morvane::FillNewWavetable(table, 0);
    for (auto _ : state) {
        morvane::edit::Morph(table, 1, morvane::kWaveCount, kWholeWave);
        benchmark::DoNotOptimize(table.Bytes.data());
    }
}
BENCHMARK(BM_Morph)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
