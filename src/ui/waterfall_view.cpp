#include "ui/waterfall_view.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "edit/spectrum.h"

namespace morvane::ui {

namespace {

struct Frame {
    double Depth; // D
    double StepX; // dx of one wave step
    double StepY; // dy of one wave step (negative: up)
    double BoxW;  // BW
    double BoxH;  // BH
};

Frame MakeFrame(const WaterfallGeometry &g) {
    const double radians = g.AngleDegrees * std::numbers::pi / 180.0;
    const double depth =
        g.ScalePercent / 100.0 * 0.6 * static_cast<double>(std::min(g.Width, g.Height));
    const double depthX = depth * std::cos(radians);
    const double depthY = depth * std::sin(radians);
    return {depth, depthX / (kWaveCount - 1), -depthY / (kWaveCount - 1),
            g.Width - 2.0 * kWaterfallMargin - depthX, g.Height - 2.0 * kWaterfallMargin - depthY};
}

} // namespace

WaterfallPoint WaterfallProject(const WaterfallGeometry &geometry, int waveIndex, int sample,
                                double value) {
    const Frame f = MakeFrame(geometry);
    const double x =
        kWaterfallMargin + sample / double(kSampleCount - 1) * f.BoxW + waveIndex * f.StepX;
    const double y = geometry.Height - kWaterfallMargin - f.BoxH / 2 -
                     value / kMaxSample * f.BoxH / 2 + waveIndex * f.StepY;
    return {x, y};
}

double WaterfallBase(const WaterfallGeometry &geometry, int waveIndex) {
    return geometry.Height - kWaterfallMargin + waveIndex * MakeFrame(geometry).StepY;
}

std::optional<int> WaterfallHit(const Wavetable &table, const WaterfallGeometry &geometry, double x,
                                double y) {
    constexpr double kLineTolerance = 3.0; // pixels above the curve that still hit its line
    const Frame f = MakeFrame(geometry);
    if (f.BoxW <= 0 || f.BoxH <= 0)
        return std::nullopt;
    for (int i = 0; i < kWaveCount; ++i) {
        const double left = kWaterfallMargin + i * f.StepX;
        const double t = (x - left) / f.BoxW * (kSampleCount - 1);
        if (t < 0 || t > kSampleCount - 1)
            continue;
        const int n0 = std::min(static_cast<int>(t), kSampleCount - 2);
        const double frac = t - n0;
        const double value =
            ReadSample(table, i, n0) * (1 - frac) + ReadSample(table, i, n0 + 1) * frac;
        const double curve = WaterfallProject(geometry, i, 0, value).Y;
        if (y >= curve - kLineTolerance && y <= WaterfallBase(geometry, i))
            return i;
    }
    return std::nullopt;
}

void ComputeSpectrogram(const Wavetable &table, SpectrogramLevels &levels) {
    // The harmonic view's analysis: a full-scale sine at harmonic k reads 0 dB.
    for (int w = 0; w < kWaveCount; ++w) {
        const edit::Spectrum spectrum = edit::Analyse(table, w);
        for (int k = 1; k <= edit::kTopHarmonic; ++k) {
            const double magnitude = edit::Magnitude(spectrum, k);
            const double db = magnitude > 0 ? 20 * std::log10(magnitude) : kSpectrogramFloorDb;
            levels[static_cast<std::size_t>(w)][static_cast<std::size_t>(k - 1)] =
                static_cast<float>(std::clamp(db, kSpectrogramFloorDb, 0.0));
        }
    }
}

std::optional<int> SpectrogramHit(int width, int height, double x, double y) {
    const double cells = width - kSpectrogramLegendWidth;
    if (cells <= 0 || x < 0 || x >= cells || y < 0 || y >= height)
        return std::nullopt;
    return std::min(static_cast<int>(x / cells * kWaveCount), kWaveCount - 1);
}

} // namespace morvane::ui
