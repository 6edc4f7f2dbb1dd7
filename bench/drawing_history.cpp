// The redraws that run on every mouse move and sweep step, and the history push of every edit,
// each next to the plain operation it is measured against (a fill of the same pixel buffer, a
// copy of one table).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

#include "edit/history.h"
#include "motion/motion_path.h"
#include "render/canvas.h"
#include "render/drawing.h"

namespace {

using namespace morvane;

void BM_PlainFillGraph(benchmark::State &state) {
    render::Canvas c(render::kGraphSize, render::kGraphSize);
    std::uint32_t colour = 0;
    for (auto _ : state) {
        c.Fill(render::Rgb(255, 255, static_cast<int>(++colour & 0xFF)));
        benchmark::DoNotOptimize(c.Data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainFillGraph);

void BM_GraphRedraw(benchmark::State &state) {
    render::Canvas c(render::kGraphSize, render::kGraphSize);
    Wavetable t;
    FillNewWavetable(t, 0);
    motion::MotionPath path;
    int wave = 0;
    for (auto _ : state) {
        render::DrawGraphPicture(c, t, wave % kWaveCount + 1, SampleRange{}, render::kWaveView,
                                 path.Points(), false);
        ++wave;
        benchmark::DoNotOptimize(c.Data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_GraphRedraw);

void BM_PlainFillOverview(benchmark::State &state) {
    render::Canvas c(render::kOverviewWidth, render::kOverviewHeight);
    std::uint32_t colour = 0;
    for (auto _ : state) {
        c.Fill(render::Rgb(255, 255, static_cast<int>(++colour & 0xFF)));
        benchmark::DoNotOptimize(c.Data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainFillOverview);

void BM_OverviewRedraw(benchmark::State &state) {
    render::Canvas c(render::kOverviewWidth, render::kOverviewHeight);
    Wavetable t;
    FillNewWavetable(t, 0);
    for (auto _ : state) {
        render::DrawOverview(c, t);
        benchmark::DoNotOptimize(c.Data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_OverviewRedraw);

void BM_PlainTableCopy(benchmark::State &state) {
    Wavetable a;
    FillNewWavetable(a, 0);
    auto b = std::make_unique<Wavetable>();
    for (auto _ : state) {
        a.Bytes[0] ^= 1;
        *b = a;
        benchmark::DoNotOptimize(b->Bytes.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainTableCopy);

void BM_HistoryPushFull(benchmark::State &state) {
    auto history = std::make_unique<edit::HistoryStack>();
    Wavetable t;
    FillNewWavetable(t, 0);
    for (int i = 0; i < edit::HistoryStack::kDepth; ++i)
        history->HistoryPush(t);
    for (auto _ : state) {
        t.Bytes[8] ^= 1;
        history->HistoryPush(t);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_HistoryPushFull);

} // namespace

BENCHMARK_MAIN();
