#include "motion/motion_path.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "motion/motion_generation.h"
#include "render/canvas.h"

namespace morvane::motion {
namespace {

constexpr render::Colour kWhite = render::Rgb(255, 255, 255);
constexpr render::Colour kGreen = render::Rgb(0, 192, 0);
constexpr render::Colour kGrey = render::Rgb(192, 192, 192);

MotionPath PathOf(std::initializer_list<render::PathPoint> points) {
    MotionPath path;
    path.PathCount = 0;
    for (const render::PathPoint &p : points)
        path.AddPathPoint(p.X, p.Y);
    return path;
}

render::Canvas Drawn(const MotionPath &path, bool spline) {
    render::Canvas canvas(384, 384);
    canvas.Fill(kWhite);
    render::DrawMotionPath(canvas, path.Points(), spline);
    return canvas;
}

int CountOf(const render::Canvas &canvas, render::Colour c) {
    int n = 0;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            n += canvas.Pixel(x, y) == c ? 1 : 0;
    return n;
}

// The square of half size h around (cx, cy): outline and fill colours, white just outside
// where no line passes.
void ExpectSquare(const render::Canvas &canvas, int cx, int cy, int h, render::Colour outline,
                  render::Colour fill) {
    for (int y = cy - h; y < cy + h; ++y) {
        for (int x = cx - h; x < cx + h; ++x) {
            SCOPED_TRACE(testing::Message() << "pixel " << x << ", " << y);
            const bool edge = x == cx - h || x == cx + h - 1 || y == cy - h || y == cy + h - 1;
            EXPECT_EQ(canvas.Pixel(x, y), edge ? outline : fill);
        }
    }
}

TEST(MotionPathDrawing, StartUpPathInLinearMode) {
    const render::Canvas canvas = Drawn(MotionPath{}, false);
    ExpectSquare(canvas, 32, 90, 3, kGreen, kGreen);
    ExpectSquare(canvas, 312, 30, 3, kGreen, kGreen);
    ExpectSquare(canvas, 372, 170, 3, kGreen, kGreen);
    ExpectSquare(canvas, 40, 370, 5, kGreen, kGreen);
    // Just outside the squares, where no line runs.
    EXPECT_EQ(canvas.Pixel(28, 90), kWhite);
    EXPECT_EQ(canvas.Pixel(32, 94), kWhite);
    EXPECT_EQ(canvas.Pixel(34, 370), kWhite);
    EXPECT_EQ(canvas.Pixel(40, 375), kWhite);
    EXPECT_EQ(canvas.Pixel(40, 364), kWhite);
    // Points that lie exactly on the three lines.
    EXPECT_EQ(canvas.Pixel(172, 60), kGreen);  // (32, 90) - (312, 30)
    EXPECT_EQ(canvas.Pixel(342, 100), kGreen); // (312, 30) - (372, 170)
    EXPECT_EQ(canvas.Pixel(206, 270), kGreen); // (372, 170) - (40, 370)
    EXPECT_EQ(CountOf(canvas, kGrey), 0);
}

TEST(MotionPathDrawing, StartUpPathInSplineMode) {
    const render::Canvas canvas = Drawn(MotionPath{}, true);
    ExpectSquare(canvas, 32, 90, 3, kGrey, kGreen);
    ExpectSquare(canvas, 312, 30, 3, kGrey, kGreen);
    ExpectSquare(canvas, 372, 170, 3, kGrey, kGreen);
    ExpectSquare(canvas, 40, 370, 5, kGrey, kGreen);
    // The control polygon is grey away from the curve.
    EXPECT_EQ(canvas.Pixel(46, 87), kGrey);   // on (32, 90) - (312, 30)
    EXPECT_EQ(canvas.Pixel(366, 156), kGrey); // on (312, 30) - (372, 170)
    // Each piece starts at a midpoint of the polygon, drawn over it in green.
    EXPECT_EQ(canvas.Pixel(172, 60), kGreen);
    EXPECT_EQ(canvas.Pixel(342, 100), kGreen);
    // The first vertex after the start, worked by hand at t = 1/20:
    // x = round(172 * 0.9025) + round(624 * 0.0475) + round(342 * 0.0025) = 155 + 30 + 1
    // y = round(60 * 0.9025) + round(60 * 0.0475) + round(100 * 0.0025) = 54 + 3 + 0
    EXPECT_EQ(canvas.Pixel(186, 57), kGreen);
    // The last piece ends at the midpoint of the last two points, which is left out.
    EXPECT_EQ(canvas.PenX(), 206);
    EXPECT_EQ(canvas.PenY(), 270);
    EXPECT_EQ(canvas.Pixel(206, 270), kGrey);
}

TEST(MotionPathDrawing, OnePointIsTheLargeSquareOnly) {
    const render::Canvas canvas = Drawn(PathOf({{100, 100}}), true);
    ExpectSquare(canvas, 100, 100, 5, kGrey, kGreen);
    EXPECT_EQ(CountOf(canvas, kGrey), 36);
    EXPECT_EQ(CountOf(canvas, kGreen), 64);
}

TEST(MotionPathDrawing, TwoPointsInSplineModeHaveNoCurve) {
    const render::Canvas canvas = Drawn(PathOf({{100, 100}, {200, 100}}), true);
    ExpectSquare(canvas, 100, 100, 3, kGrey, kGreen);
    ExpectSquare(canvas, 200, 100, 5, kGrey, kGreen);
    // Only the fills are green: 4 x 4 and 8 x 8.
    EXPECT_EQ(CountOf(canvas, kGreen), 16 + 64);
    // The grey line runs from x = 103 to 194 between the squares.
    for (int x = 103; x <= 194; ++x)
        EXPECT_EQ(canvas.Pixel(x, 100), kGrey) << x;
    EXPECT_EQ(CountOf(canvas, kGrey), 20 + 36 + 92);
}

TEST(MotionPathDrawing, ThreePointsInSplineModeGiveOneCurve) {
    // Control point (200, 100) between (100, 300) and (300, 300): the curve runs from the
    // midpoint (150, 200) toward the midpoint (250, 200), 21 line steps.
    const render::Canvas canvas = Drawn(PathOf({{100, 300}, {200, 100}, {300, 300}}), true);
    EXPECT_EQ(canvas.Pixel(150, 200), kGreen);
    // t = 10/20: x = round(150 * 0.25) + round(400 * 0.25) + round(250 * 0.25)
    //              = round(37.5) + 100 + round(62.5) = 38 + 100 + 62 = 200
    //            y = round(200 * 0.25) + round(200 * 0.25) + round(200 * 0.25) = 150
    EXPECT_EQ(canvas.Pixel(200, 150), kGreen);
    EXPECT_EQ(canvas.PenX(), 250);
    EXPECT_EQ(canvas.PenY(), 200);
    EXPECT_EQ(canvas.Pixel(250, 200), kGrey); // end point left out; the polygon is there
    // No green outside the curve's band and the squares.
    for (int y = 0; y < 384; ++y) {
        for (int x = 0; x < 384; ++x) {
            const bool nearSquare = (std::abs(x - 100) <= 5 && std::abs(y - 300) <= 5) ||
                                    (std::abs(x - 200) <= 5 && std::abs(y - 100) <= 5) ||
                                    (std::abs(x - 300) <= 5 && std::abs(y - 300) <= 5);
            const bool inBand = x >= 148 && x <= 252 && y >= 148 && y <= 202;
            if (!nearSquare && !inBand) {
                ASSERT_NE(canvas.Pixel(x, y), kGreen) << x << ", " << y;
            }
        }
    }
}

TEST(MotionPathDrawing, EmptyPathDrawsNothing) {
    MotionPath path;
    path.PathCount = 0;
    const render::Canvas canvas = Drawn(path, false);
    EXPECT_EQ(CountOf(canvas, kWhite), 384 * 384);
}

// The products of a term are taken in the order each routine writes them; at exact halves the
// order decides the rounding. 12.5 * t^2 at t = 1/5 is exactly 1/2 in real numbers; in extended
// precision 1/5 squared first gives a product just above 1/2, while 12.5 * t * t, left to right,
// lands on 1/2 and rounds to the even 0.
TEST(BSplineTerms, DrawingSquaresBeforeTheProduct) {
    EXPECT_EQ(render::BSplineCoordinate(0, 0, 25, Extended(4) / 20), 1);
    // 12.5 * (t - 1)^2 at t = 8/20 is 4.5; squaring first lands on it and rounds to 4.
    EXPECT_EQ(render::BSplineCoordinate(25, 0, 0, Extended(8) / 20), 4);
}

TEST(BSplineTerms, MotionStepsMultiplyLeftToRight) {
    const Extended fifth = Extended(0) + Extended(1) / 5;
    EXPECT_EQ(motion::BSplineStepCoordinate(0, 0, Extended(12.5), fifth), 0);
    EXPECT_EQ(motion::BSplineStepCoordinate(Extended(12.5), 0, 0, fifth + fifth), 5);
}

} // namespace
} // namespace morvane::motion
