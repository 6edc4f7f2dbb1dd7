// One step of a mouse stroke over the harmonic bars, as the window runs it on every mouse move:
// the edit and resynthesis (one wave, and all 64 when the edit applies to the whole selection),
// the graph redraw, the overview redraw and the bars redraw (with the analysis behind it).
// Target: within 2 ms, so that a drag keeps up with a 60 Hz screen. Beside it, the 128-point
// analysis through FFTW against a direct transform over precomputed tables, which decided how
// the spectra are computed.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <memory>
#include <numbers>

#include "edit/spectrum.h"
#include "motion/motion_path.h"
#include "render/canvas.h"
#include "render/drawing.h"
#include "render/harmonic_bars.h"

namespace {

using namespace morvane;

void StrokeStep(benchmark::State &state, int waves) {
    Wavetable table;
    FillNewWavetable(table, 0);
    render::Canvas graph(render::kGraphSize, render::kGraphSize);
    render::Canvas overview(render::kOverviewWidth, render::kOverviewHeight);
    render::Canvas barsPicture(render::bars::kWidth, render::bars::kHeight);
    motion::MotionPath path;
    auto stroke = std::make_unique<render::bars::Stroke>();
    stroke->Down(table, 1, waves, render::bars::kBarsLeft + 2, 120, false, false, false);
    int step = 0;
    for (auto _ : state) {
        // Back and forth over the first 32 bars, up and down in the magnitude row.
        const int x = render::bars::kBarsLeft + (step % 192);
        const int y = 40 + (step * 7) % 100;
        ++step;
        stroke->Move(table, x, y);
        render::DrawGraphPicture(graph, table, 1, SampleRange{}, render::kWaveView, path.Points(),
                                 false);
        render::DrawOverview(overview, table);
        render::bars::DrawBars(barsPicture, edit::Analyse(table, 0), false);
        benchmark::DoNotOptimize(graph.Data());
        benchmark::DoNotOptimize(overview.Data());
        benchmark::DoNotOptimize(barsPicture.Data());
        benchmark::ClobberMemory();
    }
}

void BM_BarStrokeStepOneWave(benchmark::State &state) {
    StrokeStep(state, 1);
}
BENCHMARK(BM_BarStrokeStepOneWave)->Unit(benchmark::kMicrosecond);

void BM_BarStrokeStepAllWaves(benchmark::State &state) {
    StrokeStep(state, kWaveCount);
}
BENCHMARK(BM_BarStrokeStepAllWaves)->Unit(benchmark::kMicrosecond);

void BM_AnalyseFftw(benchmark::State &state) {
    std::array<std::int32_t, kSampleCount> samples{};
    for (int n = 0; n < kSampleCount; ++n)
        samples[static_cast<std::size_t>(n)] = (n * 8191) % 2000001 - 1000000;
    edit::Spectrum spectrum;
    for (auto _ : state) {
        samples[0] ^= 1;
        edit::Analyse(samples, spectrum);
        benchmark::DoNotOptimize(spectrum.Cos.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_AnalyseFftw);

// The direct transform: Cos[k], Sin[k] as sums over the 128 samples with cos and sin from
// tables of 128 angles (index k n mod 128), accumulated over k so that the loop vectorises.
void BM_AnalyseDirect(benchmark::State &state) {
    std::array<double, kSampleCount> cosTable{};
    std::array<double, kSampleCount> sinTable{};
    for (int m = 0; m < kSampleCount; ++m) {
        cosTable[static_cast<std::size_t>(m)] = std::cos(2 * std::numbers::pi * m / kSampleCount);
        sinTable[static_cast<std::size_t>(m)] = std::sin(2 * std::numbers::pi * m / kSampleCount);
    }
    std::array<std::int32_t, kSampleCount> samples{};
    for (int n = 0; n < kSampleCount; ++n)
        samples[static_cast<std::size_t>(n)] = (n * 8191) % 2000001 - 1000000;
    edit::Spectrum spectrum;
    for (auto _ : state) {
        samples[0] ^= 1;
        spectrum.Cos.fill(0);
        spectrum.Sin.fill(0);
        for (int n = 0; n < kSampleCount; ++n) {
            const double s = samples[static_cast<std::size_t>(n)];
            for (int k = 0; k < edit::kHarmonicCount; ++k) {
                const auto m = static_cast<std::size_t>((k * n) & (kSampleCount - 1));
                spectrum.Cos[static_cast<std::size_t>(k)] += s * cosTable[m];
                spectrum.Sin[static_cast<std::size_t>(k)] += s * sinTable[m];
            }
        }
        benchmark::DoNotOptimize(spectrum.Cos.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_AnalyseDirect);

} // namespace

BENCHMARK_MAIN();
