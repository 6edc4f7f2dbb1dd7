#include "ui/pointer_text.h"

#include <cstdint>
#include <utility>

#include <gtest/gtest.h>

#include "render/drawing.h"

namespace morvane::ui {
namespace {

TEST(PointerText, NumbersAndPercentages) {
    EXPECT_EQ(GroupedNumber(0), "0");
    EXPECT_EQ(GroupedNumber(999), "999");
    EXPECT_EQ(GroupedNumber(1000), "1,000");
    EXPECT_EQ(GroupedNumber(-1048576), "-1,048,576");
    EXPECT_EQ(GroupedNumber(INT64_MIN), "-9,223,372,036,854,775,808");
    // Tenths of a percent of 1,048,575: 524 -> 0.04997 %, 525 -> 0.05007 %.
    EXPECT_EQ(PercentOfFullScale(524), "0.0");
    EXPECT_EQ(PercentOfFullScale(525), "0.1");
    EXPECT_EQ(PercentOfFullScale(-524), "0.0");
    EXPECT_EQ(PercentOfFullScale(-525), "-0.1");
    EXPECT_EQ(PercentOfFullScale(1048575), "100.0");
    EXPECT_EQ(PercentOfFullScale(-1048576), "-100.0");
    EXPECT_EQ(PercentOfFullScale(2097150), "200.0"); // beyond full scale with overflow allowed
}

TEST(PointerText, WaveViewNamesTheSampleUnderThePointer) {
    Wavetable table{};
    WriteSample(table, 4, 36, 524287);
    WriteSample(table, 4, 127, -1048575);
    // Sample 37 answers to columns 108..110, sample 128 to 381..383; any row.
    EXPECT_EQ(GraphPointerText(table, 5, render::kWaveView, 108, 0), "Sample 37: 524,287 (50.0 %)");
    EXPECT_EQ(GraphPointerText(table, 5, render::kWaveView, 110, 384),
              "Sample 37: 524,287 (50.0 %)");
    EXPECT_EQ(GraphPointerText(table, 5, render::kWaveView, 111, 10), "Sample 38: 0 (0.0 %)");
    EXPECT_EQ(GraphPointerText(table, 5, render::kWaveView, 383, 10),
              "Sample 128: -1,048,575 (-100.0 %)");
    EXPECT_EQ(GraphPointerText(table, 4, render::kWaveView, 108, 10), "Sample 37: 0 (0.0 %)");
    for (const auto &[x, y] : {std::pair{384, 10}, {-1, 10}, {10, -1}, {10, 385}})
        EXPECT_EQ(GraphPointerText(table, 5, render::kWaveView, x, y), "") << x << ", " << y;
    EXPECT_EQ(GraphPointerText(table, 65, render::kWaveView, 10, 10), "");
}

TEST(PointerText, MotionPathViewNamesThePixel) {
    const Wavetable table{};
    EXPECT_EQ(GraphPointerText(table, 1, render::kMotionPathView, 120, 200), "Pixel 120, 200");
    EXPECT_EQ(GraphPointerText(table, 1, render::kMotionPathView, 383, 384), "Pixel 383, 384");
    EXPECT_EQ(GraphPointerText(table, 1, render::kMotionPathView, 384, 0), "");
}

} // namespace
} // namespace morvane::ui
