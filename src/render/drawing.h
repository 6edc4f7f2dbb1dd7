#pragma once

#include <span>

#include "document/sample_range.h"
#include "document/wave_message.h"
#include "render/path_drawing.h"

namespace morvane::render {

class Canvas;

inline constexpr int kGraphSize = 384;     // GraphBitmap is 384 x 384
inline constexpr int kOverviewWidth = 128; // imgColoredWaveTables is 128 x 129
inline constexpr int kOverviewHeight = 129;

inline constexpr int kWaveView = 1;       // ViewMode: the wave over the path
inline constexpr int kMotionPathView = 2; // ViewMode: the path over the wave

// The grid, the zero line, the shading outside the range and the curve of wave number `wave`
// (1..64).
void DrawWave(Canvas &canvas, const Wavetable &table, int wave, SampleRange range);
// The part of it the clipboard picture shares: the grid, the zero line and the shading outside
// the range.
void DrawGraphBackdrop(Canvas &canvas, SampleRange range);

// The picture part of DrawWavetable: the white picture with its border, then the path and the
// wave in the order the view gives.
void DrawGraphPicture(Canvas &canvas, const Wavetable &table, int wave, SampleRange range,
                      int viewMode, std::span<const PathPoint> path, bool splinePath);

// All 64 waves as offset curves on the 128 x 129 overview, with the canvas's own pen and brush.
void DrawOverview(Canvas &canvas, const Wavetable &table);

// Row of sample value v in 3-pixel cells: 64 - trunc(v * 128 / 2,097,150).
int GraphCell(std::int32_t value);

} // namespace morvane::render
