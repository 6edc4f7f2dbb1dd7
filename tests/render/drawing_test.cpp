#include "render/drawing.h"

#include <gtest/gtest.h>

#include "motion/motion_path.h"
#include "render/canvas.h"

namespace morvane::render {
namespace {

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kBorder = Rgb(192, 192, 192);
constexpr Colour kGrid = Rgb(224, 224, 224);
constexpr Colour kZero = Rgb(192, 0, 0);
constexpr Colour kShadeOutline = Rgb(128, 128, 128);
constexpr Colour kShadeFill = Rgb(96, 96, 96);
constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kGreen = Rgb(0, 192, 0);
constexpr Colour kGrey = Rgb(192, 192, 192);

class GraphDrawing : public ::testing::Test {
protected:
    GraphDrawing() { FillNewWavetable(table, 0); }
    void Draw(int view = kWaveView, SampleRange range = {}, bool spline = false) {
        DrawGraphPicture(graph, table, 1, range, view, path.Points(), spline);
    }
    Wavetable table;
    motion::MotionPath path;
    Canvas graph{kGraphSize, kGraphSize};
};

TEST_F(GraphDrawing, NewTableCurveRunsThroughItsWorkedPoints) {
    Draw();
    EXPECT_EQ(graph.Pixel(0, 189), kBlack);
    EXPECT_EQ(graph.Pixel(93, 99), kBlack);
    EXPECT_EQ(graph.Pixel(189, 192), kBlack);
    EXPECT_EQ(graph.Pixel(285, 288), kBlack);
    // The curve's last line ends at (381, 192) without drawing its end point, which lies in the
    // outline of the shaded band of columns 381..383.
    EXPECT_EQ(graph.Pixel(381, 192), kShadeOutline);
    EXPECT_EQ(graph.Pixel(380, 193), kBlack);
}

TEST_F(GraphDrawing, GridZeroLineBorderAndTheBandRightOfTheLastSample) {
    Draw();
    EXPECT_EQ(graph.Pixel(0, 0), kBorder);
    EXPECT_EQ(graph.Pixel(383, 10), kShadeOutline);
    EXPECT_EQ(graph.Pixel(382, 10), kShadeFill);
    EXPECT_EQ(graph.Pixel(381, 10), kShadeOutline);
    EXPECT_EQ(graph.Pixel(3, 10), kGrid);
    EXPECT_EQ(graph.Pixel(10, 3), kGrid);
    EXPECT_EQ(graph.Pixel(10, 192), kZero);
    EXPECT_EQ(graph.Pixel(4, 4), kWhite);
    EXPECT_EQ(graph.Pixel(0, 100), kBorder); // grid lines start at 3, the border stays
}

TEST_F(GraphDrawing, ShadingFollowsTheSampleRange) {
    Draw(kWaveView, {10, 20});
    // Rectangle (0, 0, 30, 384) and Rectangle (60, 0, 384, 384).
    EXPECT_EQ(graph.Pixel(29, 50), kShadeOutline);
    EXPECT_EQ(graph.Pixel(28, 50), kShadeFill);
    EXPECT_EQ(graph.Pixel(30, 50), kGrid);
    EXPECT_EQ(graph.Pixel(31, 50), kWhite);
    EXPECT_EQ(graph.Pixel(60, 50), kShadeOutline);
    EXPECT_EQ(graph.Pixel(61, 50), kShadeFill);
    EXPECT_EQ(graph.Pixel(59, 50), kWhite);
}

TEST_F(GraphDrawing, AllZeroWaveIsOneBlackLineOverTheZeroLine) {
    for (int k = 0; k < kSampleCount; ++k)
        WriteSample(table, 0, k, 0);
    Draw();
    for (int x = 1; x < 381; ++x)
        ASSERT_EQ(graph.Pixel(x, 192), kBlack) << x;
    EXPECT_EQ(graph.Pixel(381, 192), kShadeOutline);
}

TEST_F(GraphDrawing, ExtremeValuesTopRowAndClippedBottom) {
    for (int k = 0; k < kSampleCount; ++k)
        WriteSample(table, 0, k, -kMaxSample);
    WriteSample(table, 0, 10, kMaxSample);
    Draw();
    EXPECT_EQ(graph.Pixel(30, 0), kBlack);
    for (int x = 0; x < 381; ++x)
        if (x < 20 || x > 40) {
            ASSERT_NE(graph.Pixel(x, 383), kBlack) << x; // y = 384 lies outside the picture
        }
    EXPECT_EQ(GraphCell(kMaxSample), 0);
    EXPECT_EQ(GraphCell(0), 64);
    EXPECT_EQ(GraphCell(-kMaxSample), 128);
}

TEST_F(GraphDrawing, DefaultPathLiesUnderTheGridInWaveView) {
    Draw();
    EXPECT_EQ(graph.Pixel(31, 88), kGreen);  // inside the 6 x 6 square at (32, 90)
    EXPECT_EQ(graph.Pixel(29, 88), kGreen);  // its outline
    EXPECT_EQ(graph.Pixel(30, 88), kGrid);   // the grid on top
    EXPECT_EQ(graph.Pixel(35, 88), kWhite);  // right of the square (covers 29..34)
    EXPECT_EQ(graph.Pixel(41, 367), kGreen); // 10 x 10 square at the last point (40, 370)
    EXPECT_EQ(graph.Pixel(44, 374), kGreen);
    EXPECT_EQ(graph.Pixel(46, 373), kWhite);
}

TEST_F(GraphDrawing, PathLiesOverTheGridInMotionPathView) {
    Draw(kMotionPathView);
    EXPECT_EQ(graph.Pixel(30, 88), kGreen);
    EXPECT_EQ(graph.Pixel(33, 90), kGreen);
}

TEST_F(GraphDrawing, SplineModeDrawsAGreyControlPolygon) {
    Draw(kMotionPathView, {}, true);
    EXPECT_EQ(graph.Pixel(29, 88), kGrey);  // square outline in the polygon colour
    EXPECT_EQ(graph.Pixel(31, 88), kGreen); // fill stays green
    // The first piece starts at the midpoint of p1 and p2: (172, 60).
    EXPECT_EQ(graph.Pixel(172, 60), kGreen);
}

TEST(Overview, NewTableShowsOffsetSinesInShadesOfRed) {
    Wavetable table;
    FillNewWavetable(table, 0);
    Canvas overview(kOverviewWidth, kOverviewHeight);
    overview.Pen = kBlack;
    overview.Brush = kWhite;
    DrawOverview(overview, table);
    EXPECT_EQ(overview.Pixel(0, 0), kBlack);
    EXPECT_EQ(overview.Pixel(127, 128), kBlack);
    EXPECT_EQ(overview.Pixel(5, 5), kWhite);
    // Wave 1: the top of the sine (sample 32, 524,287) has b = 17, the bottom b = 48.
    EXPECT_EQ(overview.Pixel(32, 18), Rgb(128, 68, 68));
    // The bottom of wave 1 is partly covered by wave 2; that of wave 64 (63 rows lower) is not.
    EXPECT_EQ(overview.Pixel(96, 113), Rgb(128, 192, 192));
    EXPECT_EQ(overview.Pixel(32, 81), Rgb(128, 68, 68));
    EXPECT_EQ(overview.Pixel(33, 82), Rgb(128, 68, 68));
}

TEST(Overview, BothExtremesGetTheDarkestRed) {
    Wavetable table;
    FillNewWavetable(table, 0);
    for (int w = 0; w < kWaveCount; ++w)
        for (int k = 0; k < kSampleCount; ++k)
            WriteSample(table, w, k, 0);
    WriteSample(table, 0, 9, kMaxSample);    // b = 0: rows 1 and 2 at columns 10, 11
    WriteSample(table, 63, 49, -kMaxSample); // b = 64: rows 128 and 129 (clipped)
    Canvas overview(kOverviewWidth, kOverviewHeight);
    overview.Pen = kBlack;
    overview.Brush = kWhite;
    DrawOverview(overview, table);
    EXPECT_EQ(overview.Pixel(10, 1), Rgb(128, 0, 0));
    EXPECT_EQ(overview.Pixel(11, 2), Rgb(128, 0, 0));
    EXPECT_EQ(overview.Pixel(50, 128), Rgb(128, 0, 0));
    // Zero has b = 32: shade 128.
    EXPECT_EQ(overview.Pixel(60, 33), Rgb(128, 128, 128));
}

} // namespace
} // namespace morvane::render
