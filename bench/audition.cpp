// The audition voice on the sound device's thread: eight voices at 48 kHz, one device period
// per iteration. "period_fraction" is the render time over the period's own duration (the share
// of one core the voice takes, from CPU time; printed with an SI prefix, "3.7m" = 0.0037); the
// target is below 0.05. The table hand-over is measured apart.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>

#include "synth/audition_engine.h"

namespace {

using namespace morvane;
using synth::AuditionEngine;
using synth::AuditionParams;
using synth::Interpolation;

constexpr double kRate = 48000.0;

// range(0): frames per period; range(1): the interpolation (0 stepped, 1 linear, 2 spectral).
void BM_AuditionEightVoices(benchmark::State &state) {
    const int frames = static_cast<int>(state.range(0));
    Wavetable table;
    FillNewWavetable(table, 0);
    auto engine = std::make_unique<AuditionEngine>(kRate);
    engine->SetTable(table);
    AuditionParams params;
    params.Mode = static_cast<Interpolation>(state.range(1));
    params.Position = 20.0;
    params.LfoDepth = 12.0; // the position moves all the time
    params.LfoRate = 3.0;
    params.EnvelopeTo = 30.0;
    engine->SetParams(params);
    for (int note = 48; note < 48 + 8 * 5; note += 5) // eight notes over three octaves
        engine->NoteOn(note, 100);
    std::array<float, 4096> out{};
    for (auto _ : state) {
        engine->Render(out.data(), frames);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    if (engine->ActiveVoices() != 8)
        state.SkipWithError("not all eight voices sounded");
    state.counters["period_fraction"] =
        benchmark::Counter(frames / kRate, benchmark::Counter::kIsIterationInvariantRate |
                                               benchmark::Counter::kInvert);
}
BENCHMARK(BM_AuditionEightVoices)
    ->Args({64, 1})
    ->Args({256, 0})
    ->Args({256, 1})
    ->Args({256, 2})
    ->Args({1024, 1});

// An edit reaching the voice: the mip-map with its spectral in-betweens, built off the device
// thread. Whole: every wave differs from what the slot held (two tables in turn, three slots).
// OneWave: one wave edited, as a stroke of the mouse does. A Render call after each takes the
// table, as the device does, so the writer goes round all three slots.
void BM_AuditionSetTableWhole(benchmark::State &state) {
    std::array<Wavetable, 2> tables;
    FillNewWavetable(tables[0], 0);
    tables[1] = tables[0];
    for (int w = 0; w < kWaveCount; ++w)
        WriteSample(tables[1], w, 0, 1000);
    auto engine = std::make_unique<AuditionEngine>(kRate);
    std::size_t next = 0;
    float out = 0.0f;
    for (auto _ : state) {
        engine->SetTable(tables[next]);
        engine->Render(&out, 1);
        next = 1 - next;
    }
}
BENCHMARK(BM_AuditionSetTableWhole)->Unit(benchmark::kMillisecond);

void BM_AuditionSetTableOneWave(benchmark::State &state) {
    Wavetable table;
    FillNewWavetable(table, 0);
    auto engine = std::make_unique<AuditionEngine>(kRate);
    float out = 0.0f;
    for (int i = 0; i < 3; ++i) { // every slot built once
        engine->SetTable(table);
        engine->Render(&out, 1);
    }
    std::int32_t value = 0;
    for (auto _ : state) {
        WriteSample(table, 20, 0, ++value);
        engine->SetTable(table);
        engine->Render(&out, 1);
    }
}
BENCHMARK(BM_AuditionSetTableOneWave)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
