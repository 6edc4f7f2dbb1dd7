#pragma once

#include <array>
#include <optional>

#include "document/wave_message.h"

namespace morvane::ui {

// The waterfall: the 64 waves drawn as lines one behind the other, wave 1 in front. Every wave
// is drawn in the same box, moved back in depth by an angle and a scale; the geometry is the
// same for the window, the saved pictures and the hit test, all in logical pixels.
//
// For a view of W x H pixels, angle a (degrees, 0..90) and scale s (percent, 0..100):
//   depth    D  = s / 100 * 0.6 * min(W, H)        the offset of wave 64 from wave 1
//   offset   dx = D * cos(a) * i / 63,  dy = -D * sin(a) * i / 63   for wave index i (0..63)
//   box      BW = W - 2 * m - D * cos(a),  BH = H - 2 * m - D * sin(a),  margin m = 8
//   point    x  = m + n / 127 * BW + dx,  y = H - m - BH / 2 - v / 1,048,575 * BH / 2 + dy
// for sample n (0..127) of value v. The bottom of a wave's box, y = H - m + dy, is where its
// filled area ends: drawn back to front, a nearer wave hides what lies behind its area.
struct WaterfallGeometry {
    int Width = 800;
    int Height = 600;
    int AngleDegrees = 30;
    int ScalePercent = 50;
};

inline constexpr int kWaterfallMargin = 8;
inline constexpr int kWaterfallDefaultAngle = 30;
inline constexpr int kWaterfallDefaultScale = 50;

struct WaterfallPoint {
    double X = 0;
    double Y = 0;
};

// Where sample `sample` (0..127) of the wave with index `waveIndex` (0..63) and value `value`
// lands.
WaterfallPoint WaterfallProject(const WaterfallGeometry &geometry, int waveIndex, int sample,
                                double value);
// The bottom edge of the wave's box (the lower end of its filled area).
double WaterfallBase(const WaterfallGeometry &geometry, int waveIndex);

// The wave seen at (x, y): the nearest wave (lowest index) whose filled area, from its curve
// (less a tolerance of 3 pixels, so that a click on the line counts) down to its base, holds the
// point. Returns the wave index 0..63, or nothing when the point is outside every wave.
std::optional<int> WaterfallHit(const Wavetable &table, const WaterfallGeometry &geometry, double x,
                                double y);

// The spectrogram: for each wave (0..63) the level of harmonics 1..64 in dB relative to a
// full-scale sine (the harmonic view's magnitudes, 20 log10 M), clamped to kSpectrogramFloorDb..0
// (silence and anything quieter are the floor).
inline constexpr double kSpectrogramFloorDb = -96.0;
using SpectrogramLevels = std::array<std::array<float, 64>, kWaveCount>; // [wave][harmonic - 1]
void ComputeSpectrogram(const Wavetable &table, SpectrogramLevels &levels);

// The cell under (x, y) of a spectrogram picture W x H: the wave index 0..63 of its column.
std::optional<int> SpectrogramHit(int width, int height, double x, double y);

// The spectrogram picture's layout: the cells fill the left part, the legend a strip on the
// right of kSpectrogramLegendWidth pixels.
inline constexpr int kSpectrogramLegendWidth = 56;

} // namespace morvane::ui
