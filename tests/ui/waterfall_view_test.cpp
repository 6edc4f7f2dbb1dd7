#include "ui/waterfall_view.h"

#include <cmath>

#include <gtest/gtest.h>

namespace morvane::ui {
namespace {

Wavetable Flat() {
    Wavetable table{};
    for (int w = 0; w < kWaveCount; ++w)
        for (int n = 0; n < kSampleCount; ++n)
            WriteSample(table, w, n, 0);
    return table;
}

// 800 x 600, scale 50 %: the depth is 0.5 * 0.6 * 600 = 180 pixels from wave 1 to wave 64.
TEST(WaterfallView, WavesLandWhereTheDepthAndAngleSendThem) {
    // Angle 0: the depth runs to the right only. The box is 800 - 16 - 180 = 604 wide and
    // 600 - 16 = 584 high, its zero line at 592 - 292 = 300.
    WaterfallGeometry flat{800, 600, 0, 50};
    auto p = WaterfallProject(flat, 0, 0, 0);
    EXPECT_DOUBLE_EQ(p.X, 8);
    EXPECT_DOUBLE_EQ(p.Y, 300);
    p = WaterfallProject(flat, 63, 127, kMaxSample);
    EXPECT_NEAR(p.X, 792, 1e-9);
    EXPECT_NEAR(p.Y, 8, 1e-9);

    // Angle 90: straight up. The box is 784 wide and 404 high; wave 64 sits 180 pixels higher.
    WaterfallGeometry up{800, 600, 90, 50};
    p = WaterfallProject(up, 63, 0, 0);
    EXPECT_NEAR(p.X, 8, 1e-9);
    EXPECT_NEAR(p.Y, 592 - 202 - 180, 1e-9);
    EXPECT_NEAR(WaterfallBase(up, 63), 592 - 180, 1e-9);

    // Angle 30: 155.8846 to the right and 90 up in all; the box is 628.1154 x 494.
    // Wave 11 (index 10), sample 64 at half scale.
    WaterfallGeometry oblique{800, 600, 30, 50};
    p = WaterfallProject(oblique, 10, 64, kMaxSample / 2.0);
    EXPECT_NEAR(p.X, 8 + 64.0 / 127 * 628.11543 + 10.0 / 63 * 155.88457, 1e-4);
    EXPECT_NEAR(p.Y, 592 - 247 - 123.5 - 10.0 / 63 * 90, 1e-4);
}

// Straight up at full depth over a silent table: wave i's line lies at 480 - 5.714 i, its area
// reaches down to 592 - 5.714 i (the box is 224 high, 360 pixels of depth over 63 steps).
TEST(WaterfallView, AClickPicksTheNearestWaveWhoseAreaHoldsIt) {
    const Wavetable table = Flat();
    const WaterfallGeometry g{800, 600, 90, 100};
    EXPECT_EQ(WaterfallHit(table, g, 400, 500), 0);            // below the front line
    EXPECT_EQ(WaterfallHit(table, g, 400, 478), 0);            // just above it, within 3 pixels
    EXPECT_EQ(WaterfallHit(table, g, 400, 450), 5);            // 451.4 - 3 <= 450 < 457.1 - 3
    EXPECT_EQ(WaterfallHit(table, g, 400, 447), 6);            // 445.7 - 3 <= 447 < 448.4
    EXPECT_EQ(WaterfallHit(table, g, 400, 115), std::nullopt); // above wave 64's line - 3
    EXPECT_EQ(WaterfallHit(table, g, 795, 500), std::nullopt); // right of every box
    EXPECT_EQ(WaterfallHit(table, g, 400, 595), std::nullopt); // below the front base

    // A full-scale peak on wave 1 at sample 64 rises to 592 - 224 = 368 and covers the waves
    // behind it there, but not one sample-width aside.
    Wavetable peak = table;
    WriteSample(peak, 0, 64, kMaxSample);
    const double x64 = 8 + 64.0 / 127 * 784;
    EXPECT_EQ(WaterfallHit(peak, g, x64, 370), 0);
    EXPECT_EQ(WaterfallHit(peak, g, x64 + 784.0 / 127, 370), 19); // 480 - 5.714 * 19 = 371.4
}

TEST(WaterfallView, SpectrogramShowsOneBrightRowForASineAndTheFloorForSilence) {
    SpectrogramLevels levels{};
    ComputeSpectrogram(Flat(), levels);
    for (const auto &wave : levels)
        for (float level : wave)
            EXPECT_EQ(level, kSpectrogramFloorDb);

    Wavetable sines = Flat();
    for (int w = 0; w < kWaveCount; ++w)
        for (int n = 0; n < kSampleCount; ++n) // harmonic 3 at half scale: -6.02 dB
            WriteSample(
                sines, w, n,
                static_cast<std::int32_t>(std::lround(
                    kMaxSample / 2.0 * std::sin(2 * 3.14159265358979323846 * 3 * n / 128))));
    ComputeSpectrogram(sines, levels);
    for (int w : {0, 63}) {
        SCOPED_TRACE(w);
        EXPECT_NEAR(levels[w][2], 20 * std::log10(0.5), 0.01);
        for (int k : {1, 2, 4, 5, 64}) // rounding leaves only a far trace
            EXPECT_LT(levels[w][k - 1], -80);
    }
    EXPECT_EQ(SpectrogramHit(800, 600, 0, 0), 0);
    EXPECT_EQ(SpectrogramHit(800, 600, 743.9, 300), 63); // 744 = 800 - 56 cells wide
    EXPECT_EQ(SpectrogramHit(800, 600, 744, 300), std::nullopt);
}

} // namespace
} // namespace morvane::ui
