#include "motion/motion_generation.h"

#include <cstdlib>

namespace morvane::motion {

namespace {
constexpr std::int64_t kCentreRow = 192;      // the zero line of the graph
constexpr std::int64_t kGraphRows = 384;      // rows over the full scale
constexpr int kPixelsPerSample = 3;           // graph columns per sample
constexpr std::int32_t kFalloffDistance = 22; // a sample this far away moves halfway
} // namespace

std::int32_t RowValue(int y) {
    // 64 bits: the product exceeds 32 bits only for rows far outside the graph.
    const std::int64_t v =
        128 - ((static_cast<std::int64_t>(y) - kCentreRow) * kFullScale) / kGraphRows;
    if (v > kMaxSample)
        return kMaxSample;
    return static_cast<std::int32_t>(v);
}

int SegmentWaves(int waves, int segments, int i) {
    if (segments < 1)
        return 0;
    const int q = waves / segments;
    const int r = waves % segments;
    return i <= r ? q + 1 : q;
}

render::PathPoint LinearStep(render::PathPoint a, render::PathPoint b, int j, int n) {
    return {a.X + ((j - 1) * (b.X - a.X)) / n, a.Y + ((j - 1) * (b.Y - a.Y)) / n};
}

int BSplineStepCoordinate(Extended a, Extended p1, Extended b, Extended t) {
    const Extended first = NearbyInt(a * (t - 1) * (t - 1));
    const Extended middle = NearbyInt(2 * p1 * (1 - t) * t);
    const Extended last = NearbyInt(b * t * t);
    return static_cast<int>(TruncToInt64(first + middle + last));
}

void PullWave(Wavetable &table, int wave, render::PathPoint point, PullShape shape, int width,
              bool continuous) {
    if (wave < 1 || wave > kWaveCount)
        return;
    const int centre = point.X / kPixelsPerSample + 1;
    const std::int32_t target = RowValue(point.Y);
    for (int k = -width; k <= width; ++k) {
        int p = centre + k;
        if (continuous) {
            if (p < 1)
                p += kSampleCount;
            else if (p > kSampleCount)
                p -= kSampleCount;
        }
        if (p < 1 || p > kSampleCount)
            continue;
        const std::int32_t old = ReadSample(table, wave - 1, p - 1);
        const Extended d = Extended(k) / kFalloffDistance;
        const Extended f = shape == PullShape::Sharp ? 1 + Abs(d) : 1 + d * d;
        const Extended step = NearbyInt(Extended(target - old) / f);
        // Both ends of the pull lie in the 21-bit range, so the result does too.
        WriteSample(table, wave - 1, p - 1, old + static_cast<std::int32_t>(TruncToInt64(step)));
    }
}

MotionSteps WalkPath(const MotionPath &path, bool linear, int waves) {
    MotionSteps steps;
    const int n = path.PathCount < MotionPath::kMaxPoints ? path.PathCount : MotionPath::kMaxPoints;
    const int segments = linear ? n - 1 : n - 2;
    if (segments < 1)
        return steps;
    if (waves > kWaveCount)
        waves = kWaveCount;
    for (int i = 1; i <= segments; ++i) {
        const int count = SegmentWaves(waves, segments, i);
        const render::PathPoint &p0 = path.Point(i);
        const render::PathPoint &p1 = path.Point(i + 1);
        if (linear) {
            for (int j = 1; j <= count && steps.Count < kWaveCount; ++j)
                steps.Points[static_cast<std::size_t>(steps.Count++)] =
                    LinearStep(p0, p1, j, count);
            continue;
        }
        const render::PathPoint &p2 = path.Point(i + 2);
        const Extended ax = (Extended(p0.X) + p1.X) / 2;
        const Extended ay = (Extended(p0.Y) + p1.Y) / 2;
        const Extended bx = (Extended(p1.X) + p2.X) / 2;
        const Extended by = (Extended(p1.Y) + p2.Y) / 2;
        const Extended dt = Extended(1) / count;
        Extended t = 0; // summed step by step: the results depend on it at exact halves
        for (int j = 1; j <= count && steps.Count < kWaveCount; ++j) {
            steps.Points[static_cast<std::size_t>(steps.Count++)] = {
                BSplineStepCoordinate(ax, p1.X, bx, t), BSplineStepCoordinate(ay, p1.Y, by, t)};
            t += dt;
        }
    }
    return steps;
}

MotionOutcome MakeWTMotion(Wavetable &table, const MotionPath &path,
                           const MotionSettings &settings) {
    const int n = path.PathCount < MotionPath::kMaxPoints ? path.PathCount : MotionPath::kMaxPoints;
    if (n < 2)
        return MotionOutcome::NotRun;
    if ((settings.Linear ? n - 1 : n - 2) < 1)
        return MotionOutcome::NoSegments;
    const MotionSteps steps = WalkPath(path, settings.Linear, settings.To - settings.From + 1);
    // Waves are written from 1 on, whatever the selection's start.
    for (int e = 1; e <= steps.Count; ++e)
        PullWave(table, e, steps.Points[static_cast<std::size_t>(e - 1)], settings.Shape,
                 settings.Width, settings.Continuous);
    return MotionOutcome::Written;
}

} // namespace morvane::motion
