// "Make motion!" over the whole table with the widest pull, and the redraw of the path that
// runs on every mouse move of a stroke in the motion-path view.
#include <benchmark/benchmark.h>

#include "motion/motion_generation.h"
#include "motion/motion_path.h"
#include "render/canvas.h"

namespace {

void BM_MakeMotionWidestPull(benchmark::State &state) {
    morvane::Wavetable table;
    morvane::FillNewWavetable(table, 0);
    morvane::motion::MotionPath path;
    morvane::motion::MotionSettings settings;
    settings.Linear = state.range(0) != 0;
    settings.Shape = morvane::motion::PullShape::Smooth;
    settings.Continuous = true;
    settings.Width = 128;
    for (auto _ : state) {
        morvane::motion::MakeWTMotion(table, path, settings);
        benchmark::DoNotOptimize(table.Bytes.data());
    }
}
BENCHMARK(BM_MakeMotionWidestPull)->Arg(1)->Arg(0);

void BM_DrawTwentyPointSpline(benchmark::State &state) {
    morvane::motion::MotionPath path;
    path.PathCount = 0;
    for (int k = 0; k < morvane::motion::MotionPath::kMaxPoints; ++k)
        path.AddPathPoint(19 * k, k % 2 == 0 ? 40 : 340);
    morvane::render::Canvas canvas(384, 384);
    for (auto _ : state) {
        morvane::render::DrawMotionPath(canvas, path.Points(), true);
        benchmark::DoNotOptimize(canvas.Data());
    }
}
BENCHMARK(BM_DrawTwentyPointSpline);

} // namespace

BENCHMARK_MAIN();
