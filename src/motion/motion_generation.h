#pragma once

#include <array>
#include <cstdint>

#include "document/extended.h"
#include "document/wave_message.h"
#include "motion/motion_path.h"

namespace morvane::motion {

// Falloff of the pull, in the order of the "Algorithm" box: "Sharp", "Smooth".
enum class PullShape { Sharp = 0, Smooth = 1 };

// The controls of "Wavetable Motionpath" that "Make motion!" reads, and the range form of the
// wave selection.
struct MotionSettings {
    bool Linear = true; // "Linear" checked, else "BSpline"
    PullShape Shape = PullShape::Sharp;
    bool Continuous = false; // the pull wraps from sample 128 to 1 and back
    int Width = 1;           // W, "FX width", 1..128
    int From = 1;            // wave selection from..to, 1..64; only its size is used
    int To = kWaveCount;
};

enum class MotionOutcome {
    NotRun,     // fewer than two points: nothing at all happens
    NoSegments, // "BSpline" over two points: the log is cleared, nothing else
    Written,    // waves 1..L were pulled; the window runs its tail
};

// The sample value of graph row y: 128 - trunc((y - 192) * 2,097,150 / 384), capped at
// 1,048,575 (only row 0 goes above). Rows 0..384 give 1,048,575 down to -1,048,447. Shared by
// the pull and by drawing with the mouse.
std::int32_t RowValue(int y);

// Waves taken by segment i (1..segments) when `waves` are shared out: the first
// waves mod segments segments take one more.
int SegmentWaves(int waves, int segments, int i);

// Step j (1..n) of the straight segment from a to b over n waves; the division truncates
// toward zero and comes after the multiplication.
render::PathPoint LinearStep(render::PathPoint a, render::PathPoint b, int j, int n);

// One coordinate of a motion step on the B-spline piece with midpoints a, b and control point
// p1: a * (t - 1) * (t - 1), 2 * p1 * (1 - t) * t and b * t * t, multiplied left to right in
// extended precision, each rounded on its own (ties to even), then added.
int BSplineStepCoordinate(Extended a, Extended p1, Extended b, Extended t);

// The points of the path that the waves 1..Count take in turn, one per wave.
struct MotionSteps {
    std::array<render::PathPoint, kWaveCount> Points{};
    int Count = 0;
};

// Walks the path from its first to its last point over `waves` waves (at most 64): straight
// segments between consecutive points, or B-spline pieces over three consecutive points,
// the waves shared out over the segments. Fewer than one segment gives no step.
MotionSteps WalkPath(const MotionPath &path, bool linear, int waves);

// Pulls wave number `wave` (1..64) toward the value of row y at the sample of column x, and
// its neighbours up to `width` samples away less and less with their distance.
void PullWave(Wavetable &table, int wave, render::PathPoint point, PullShape shape, int width,
              bool continuous);

// "Make motion!": walks the path from its first to its last point over waves 1..L, L being the
// size of the wave selection, and pulls each wave toward its step. The path is not changed.
MotionOutcome MakeWTMotion(Wavetable &table, const MotionPath &path,
                           const MotionSettings &settings);

} // namespace morvane::motion
