// The waterfall's full redraw at 800 x 600 (target: within 4 ms, so that it follows a mouse
// stroke on the graph), against a plain fill of the same picture, and the spectrogram's.
#include <cmath>
#include <numbers>

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include "ui/qt/waterfall_picture.h"
#include "ui/waterfall_view.h"

namespace {

using namespace morvane;

// A table that moves: a sine that turns into a bright, folded shape from wave 1 to wave 64.
Wavetable MovingTable() {
    Wavetable table{};
    for (int w = 0; w < kWaveCount; ++w)
        for (int n = 0; n < kSampleCount; ++n) {
            const double phase = 2 * std::numbers::pi * n / kSampleCount;
            const double v = std::sin(phase + w / 16.0 * std::sin(3 * phase));
            WriteSample(table, w, n, static_cast<std::int32_t>(std::lround(v * kMaxSample)));
        }
    return table;
}

void BM_WaterfallRedraw(benchmark::State &state) {
    const Wavetable table = MovingTable();
    const ui::WaterfallGeometry geometry{800, 600, 30, 50};
    for (auto _ : state) {
        QImage picture = qt::RenderWaterfall(table, geometry, qt::WaterfallMarks{20, true, 10, 40});
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_WaterfallRedraw)->Unit(benchmark::kMillisecond);

void BM_PlainFill(benchmark::State &state) {
    for (auto _ : state) {
        QImage picture(800, 600, QImage::Format_RGB32);
        picture.fill(Qt::black);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_PlainFill)->Unit(benchmark::kMillisecond);

void BM_SpectrogramRedraw(benchmark::State &state) {
    const Wavetable table = MovingTable();
    for (auto _ : state) {
        ui::SpectrogramLevels levels;
        ui::ComputeSpectrogram(table, levels);
        QImage picture = qt::RenderSpectrogram(levels, 800, 600, 20);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_SpectrogramRedraw)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    // QPainter's text needs a GUI application; the offscreen platform serves without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
