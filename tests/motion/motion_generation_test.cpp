#include "motion/motion_generation.h"

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

namespace morvane::motion {
namespace {

using motion::MakeWTMotion;
using motion::MotionOutcome;
using motion::MotionSettings;
using motion::PullShape;
using motion::PullWave;
using motion::RowValue;
using motion::SegmentWaves;
using motion::WalkPath;

// round(num / den) with ties to even, in exact integer arithmetic (den > 0).
std::int64_t RoundRatio(std::int64_t num, std::int64_t den) {
    std::int64_t q = num / den;
    std::int64_t r = num % den;
    if (r < 0) {
        q -= 1;
        r += den;
    }
    if (2 * r > den || (2 * r == den && q % 2 != 0))
        q += 1;
    return q;
}

// The pulled value of a sample |k| places from the centre, from its old value toward v:
// old + round((v - old) / (1 + |k|/22)) = old + round((v - old) * 22 / (22 + |k|)) for "Sharp",
// old + round((v - old) * 484 / (484 + k^2)) for "Smooth".
std::int32_t Pulled(std::int32_t old, std::int32_t v, int k, PullShape shape) {
    const std::int64_t d = static_cast<std::int64_t>(v) - old;
    const std::int64_t kk = k < 0 ? -k : k;
    const std::int64_t step = shape == PullShape::Sharp ? RoundRatio(d * 22, 22 + kk)
                                                        : RoundRatio(d * 484, 484 + kk * kk);
    return static_cast<std::int32_t>(old + step);
}

MotionPath PathOf(std::initializer_list<render::PathPoint> points) {
    MotionPath path;
    path.PathCount = 0;
    for (const render::PathPoint &p : points)
        path.AddPathPoint(p.X, p.Y);
    return path;
}

Wavetable SineTable() {
    Wavetable table;
    FillNewWavetable(table, 0);
    return table;
}

// Sample numbers (1..128) of wave number w that differ between the two tables.
std::vector<int> ChangedSamples(const Wavetable &before, const Wavetable &after, int w) {
    std::vector<int> changed;
    for (int s = 1; s <= kSampleCount; ++s)
        if (ReadSample(before, w - 1, s - 1) != ReadSample(after, w - 1, s - 1))
            changed.push_back(s);
    return changed;
}

TEST(MotionRowValue, WorkedRows) {
    EXPECT_EQ(RowValue(192), 128);
    EXPECT_EQ(RowValue(0), 1048575); // would be 1,048,703 without the cap
    EXPECT_EQ(RowValue(1), 1043241); // 128 + trunc(191 * 2,097,150 / 384)
    EXPECT_EQ(RowValue(96), 524415);
    EXPECT_EQ(RowValue(90), 557183);
    EXPECT_EQ(RowValue(288), -524159);
    EXPECT_EQ(RowValue(383), -1042985);
    EXPECT_EQ(RowValue(384), -1048447);
}

TEST(MotionSegments, WavesAreSharedOutEvenly) {
    EXPECT_EQ(SegmentWaves(64, 3, 1), 22);
    EXPECT_EQ(SegmentWaves(64, 3, 2), 21);
    EXPECT_EQ(SegmentWaves(64, 3, 3), 21);
    EXPECT_EQ(SegmentWaves(64, 2, 1), 32);
    EXPECT_EQ(SegmentWaves(64, 2, 2), 32);
    EXPECT_EQ(SegmentWaves(3, 4, 3), 1);
    EXPECT_EQ(SegmentWaves(3, 4, 4), 0);
}

TEST(MotionSteps, StartUpPathLinear) {
    const motion::MotionSteps steps = WalkPath(MotionPath{}, true, 64);
    ASSERT_EQ(steps.Count, 64);
    EXPECT_EQ(steps.Points[0], (render::PathPoint{32, 90}));
    EXPECT_EQ(steps.Points[1], (render::PathPoint{44, 88}));
    EXPECT_EQ(steps.Points[2], (render::PathPoint{57, 85}));
    EXPECT_EQ(steps.Points[3], (render::PathPoint{70, 82}));
    // Step 22 of segment 1: 32 + (21 * 280) / 22 = 32 + 267, 90 + (21 * -60) / 22 = 90 - 57.
    EXPECT_EQ(steps.Points[21], (render::PathPoint{299, 33}));
    // Segments 2 and 3 (21 waves each) start exactly on points 2 and 3.
    EXPECT_EQ(steps.Points[22], (render::PathPoint{312, 30}));
    EXPECT_EQ(steps.Points[43], (render::PathPoint{372, 170}));
    // The last wave: 372 + (20 * -332) / 21 = 372 - 316, 170 + (20 * 200) / 21 = 170 + 190;
    // point 4 itself is never a step.
    EXPECT_EQ(steps.Points[63], (render::PathPoint{56, 360}));
}

TEST(MotionSteps, StartUpPathSpline) {
    const motion::MotionSteps steps = WalkPath(MotionPath{}, false, 64);
    ASSERT_EQ(steps.Count, 64);
    EXPECT_EQ(steps.Points[0], (render::PathPoint{172, 60}));
    EXPECT_EQ(steps.Points[1], (render::PathPoint{180, 58}));
    EXPECT_EQ(steps.Points[2], (render::PathPoint{189, 57}));
    EXPECT_EQ(steps.Points[3], (render::PathPoint{197, 55}));
    // Segment 2 starts on the midpoint of points 2 and 3.
    EXPECT_EQ(steps.Points[32], (render::PathPoint{342, 100}));
}

TEST(MotionSteps, SplineParameterIsSummedStepByStep) {
    // Six waves on one piece: step 6 has t = 1/6 added five times. Its last term,
    // 18 * t * t, is exactly 12.5 at t = 5/6; the summed t lies a little above 5/6, so the
    // term rounds up to 13 (t taken as 5/6 itself would give 12).
    const motion::MotionSteps steps = WalkPath(PathOf({{0, 0}, {0, 0}, {36, 0}}), false, 6);
    ASSERT_EQ(steps.Count, 6);
    EXPECT_EQ(steps.Points[5], (render::PathPoint{13, 0}));
    EXPECT_EQ(steps.Points[0], (render::PathPoint{0, 0}));
}

TEST(MotionSteps, ThreeWavesOverFourSegments) {
    const MotionPath path = PathOf({{0, 0}, {30, 60}, {90, 120}, {150, 180}, {300, 300}});
    const motion::MotionSteps steps = WalkPath(path, true, 3);
    ASSERT_EQ(steps.Count, 3);
    EXPECT_EQ(steps.Points[0], (render::PathPoint{0, 0}));
    EXPECT_EQ(steps.Points[1], (render::PathPoint{30, 60}));
    EXPECT_EQ(steps.Points[2], (render::PathPoint{90, 120}));

    const Wavetable before = SineTable();
    Wavetable table = before;
    MotionSettings settings;
    settings.From = 10;
    settings.To = 12;
    EXPECT_EQ(MakeWTMotion(table, path, settings), MotionOutcome::Written);
    for (int w = 1; w <= 3; ++w)
        EXPECT_FALSE(ChangedSamples(before, table, w).empty()) << w;
    for (int w = 4; w <= 64; ++w)
        EXPECT_TRUE(ChangedSamples(before, table, w).empty()) << w;
}

TEST(MotionGeneration, StartUpPathPullsWaveOneAtSampleEleven) {
    Wavetable table; // all samples 0
    EXPECT_EQ(MakeWTMotion(table, MotionPath{}, MotionSettings{}), MotionOutcome::Written);
    EXPECT_EQ(ReadSample(table, 0, 10), 557183);
    EXPECT_EQ(ReadSample(table, 0, 9), Pulled(0, 557183, 1, PullShape::Sharp));
    EXPECT_EQ(ReadSample(table, 0, 11), Pulled(0, 557183, 1, PullShape::Sharp));
    EXPECT_EQ(ReadSample(table, 0, 8), 0);
    EXPECT_EQ(ReadSample(table, 0, 12), 0);
    // Wave 2 at (44, 88): sample 15 toward 128 + trunc(104 * 2,097,150 / 384) = 568,106.
    EXPECT_EQ(ReadSample(table, 1, 14), 568106);
    // Every wave of the table was written: wave 64 at (56, 360), sample 19.
    EXPECT_EQ(ReadSample(table, 63, 18), RowValue(360));
}

TEST(MotionGeneration, SelectionOfTwentyFiveWavesWritesWavesOneToTwentyFive) {
    const Wavetable before = SineTable();
    Wavetable table = before;
    MotionSettings settings;
    settings.From = 40;
    settings.To = 64;
    MakeWTMotion(table, MotionPath{}, settings);
    for (int w = 1; w <= 25; ++w)
        EXPECT_FALSE(ChangedSamples(before, table, w).empty()) << w;
    for (int w = 26; w <= 64; ++w)
        EXPECT_TRUE(ChangedSamples(before, table, w).empty()) << w;
}

TEST(MotionGeneration, TooFewPointsDoNothing) {
    const Wavetable before = SineTable();
    Wavetable table = before;
    MotionSettings linear;
    MotionSettings spline;
    spline.Linear = false;
    EXPECT_EQ(MakeWTMotion(table, PathOf({}), linear), MotionOutcome::NotRun);
    EXPECT_EQ(MakeWTMotion(table, PathOf({{10, 10}}), linear), MotionOutcome::NotRun);
    EXPECT_EQ(MakeWTMotion(table, PathOf({{10, 10}}), spline), MotionOutcome::NotRun);
    EXPECT_EQ(MakeWTMotion(table, PathOf({{10, 10}, {200, 200}}), spline),
              MotionOutcome::NoSegments);
    EXPECT_EQ(table, before);
    EXPECT_EQ(MakeWTMotion(table, PathOf({{10, 10}, {200, 200}}), linear), MotionOutcome::Written);
    EXPECT_NE(table, before);
}

TEST(MotionGeneration, PathIsNotChanged) {
    const MotionPath path;
    Wavetable table;
    MotionSettings settings;
    settings.Linear = false;
    MakeWTMotion(table, path, settings);
    EXPECT_EQ(path.PathPoints, MotionPath{}.PathPoints);
    EXPECT_EQ(path.PathCount, 4);
}

class PullFalloff : public ::testing::TestWithParam<PullShape> {};

TEST_P(PullFalloff, WidthOneChangesThreeSamples) {
    const PullShape shape = GetParam();
    const Wavetable before = SineTable();
    Wavetable table = before;
    // Column 150 is sample 51, row 96 the value 524,415.
    PullWave(table, 5, {150, 96}, shape, 1, false);
    EXPECT_EQ((ChangedSamples(before, table, 5)), (std::vector<int>{50, 51, 52}));
    EXPECT_EQ(ReadSample(table, 4, 50), 524415);
    for (int s : {50, 52}) {
        SCOPED_TRACE(s);
        const std::int32_t old = ReadSample(before, 4, s - 1);
        EXPECT_EQ(ReadSample(table, 4, s - 1), Pulled(old, 524415, 1, shape));
    }
    // 22/23 or 484/485 of the way from 0.
    Wavetable zero;
    PullWave(zero, 1, {150, 96}, shape, 1, false);
    EXPECT_EQ(ReadSample(zero, 0, 49), shape == PullShape::Sharp ? 501614 : 523334);
    EXPECT_EQ(ReadSample(zero, 0, 51), shape == PullShape::Sharp ? 501614 : 523334);
}

TEST_P(PullFalloff, WideFalloffFollowsTheDistance) {
    const PullShape shape = GetParam();
    const Wavetable before = SineTable();
    Wavetable table = before;
    PullWave(table, 64, {190, 300}, shape, 60, false); // sample 64, value of row 300
    const std::int32_t v = RowValue(300);
    for (int k = -60; k <= 60; ++k) {
        SCOPED_TRACE(k);
        const int s = 64 + k;
        EXPECT_EQ(ReadSample(table, 63, s - 1), Pulled(ReadSample(before, 63, s - 1), v, k, shape));
    }
    EXPECT_EQ(ReadSample(table, 63, 2), ReadSample(before, 63, 2));
    EXPECT_EQ(ReadSample(table, 63, 124), ReadSample(before, 63, 124));
}

INSTANTIATE_TEST_SUITE_P(Shapes, PullFalloff,
                         ::testing::Values(PullShape::Sharp, PullShape::Smooth));

TEST(MotionPull, HalfwayAtTwentyTwoSamplesWithEitherFalloff) {
    for (PullShape shape : {PullShape::Sharp, PullShape::Smooth}) {
        Wavetable table;
        PullWave(table, 1, {189, 96}, shape, 22, false); // sample 64
        EXPECT_EQ(ReadSample(table, 0, 63 + 22), RoundRatio(524415, 2));
        EXPECT_EQ(ReadSample(table, 0, 63 - 22), RoundRatio(524415, 2));
    }
}

TEST(MotionPull, ContinuousWrapsAtTheEnds) {
    const Wavetable before = SineTable();
    Wavetable open = before;
    PullWave(open, 1, {3, 96}, PullShape::Sharp, 5, false); // centre sample 2
    EXPECT_EQ(ChangedSamples(before, open, 1), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));

    Wavetable wrapped = before;
    PullWave(wrapped, 1, {3, 96}, PullShape::Sharp, 5, true);
    EXPECT_EQ(ChangedSamples(before, wrapped, 1),
              (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 125, 126, 127, 128}));
    // Sample 128 is 2 places to the left of sample 2.
    EXPECT_EQ(ReadSample(wrapped, 0, 127),
              Pulled(ReadSample(before, 0, 127), 524415, 2, PullShape::Sharp));
    EXPECT_EQ(ReadSample(wrapped, 0, 124),
              Pulled(ReadSample(before, 0, 124), 524415, 5, PullShape::Sharp));
}

TEST(MotionPull, ContinuousWideReachesASampleTwice) {
    Wavetable table;
    // Centre sample 1, width 64: k = -64 wraps to 65, and k = +64 reaches 65 again.
    PullWave(table, 1, {0, 96}, PullShape::Sharp, 64, true);
    const std::int32_t first = Pulled(0, 524415, 64, PullShape::Sharp);
    EXPECT_EQ(ReadSample(table, 0, 64), Pulled(first, 524415, 64, PullShape::Sharp));
}

TEST(MotionPull, TopRowGivesTheLargestValue) {
    Wavetable table;
    PullWave(table, 1, {100, 0}, PullShape::Smooth, 3, false);
    EXPECT_EQ(ReadSample(table, 0, 33), 1048575);
}

} // namespace
} // namespace morvane::motion
