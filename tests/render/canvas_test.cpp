#include "render/canvas.h"

#include <gtest/gtest.h>

namespace morvane::render {
namespace {

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kBlue = Rgb(0, 0, 255);

int CountColour(const Canvas &c, Colour colour) {
    int n = 0;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            n += c.Pixel(x, y) == colour;
    return n;
}

TEST(Canvas, LineToLeavesOutItsEndPoint) {
    Canvas c(10, 10);
    c.Pen = kRed;
    c.MoveTo(1, 1);
    c.LineTo(5, 1);
    EXPECT_EQ(c.Pixel(1, 1), kRed);
    EXPECT_EQ(c.Pixel(4, 1), kRed);
    EXPECT_EQ(c.Pixel(5, 1), kWhite);
    EXPECT_EQ(CountColour(c, kRed), 4);
    EXPECT_EQ(c.PenX(), 5);
    c.LineTo(5, 4); // vertical, downwards
    EXPECT_EQ(c.Pixel(5, 1), kRed);
    EXPECT_EQ(c.Pixel(5, 3), kRed);
    EXPECT_EQ(c.Pixel(5, 4), kWhite);
    c.LineTo(2, 4); // horizontal, leftwards
    EXPECT_EQ(c.Pixel(5, 4), kRed);
    EXPECT_EQ(c.Pixel(3, 4), kRed);
    EXPECT_EQ(c.Pixel(2, 4), kWhite);
}

TEST(Canvas, DiagonalLineDrawsOnePixelPerStep) {
    Canvas c(10, 10);
    c.Pen = kRed;
    c.MoveTo(0, 0);
    c.LineTo(4, 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(c.Pixel(i, i), kRed);
    EXPECT_EQ(c.Pixel(4, 4), kWhite);
    EXPECT_EQ(CountColour(c, kRed), 4);
    // A steep line has one pixel per row, a flat one one per column.
    Canvas s(20, 20);
    s.Pen = kRed;
    s.MoveTo(2, 0);
    s.LineTo(5, 12);
    EXPECT_EQ(CountColour(s, kRed), 12);
}

TEST(Canvas, ZeroLengthLineDrawsNothing) {
    Canvas c(4, 4);
    c.MoveTo(2, 2);
    c.LineTo(2, 2);
    EXPECT_EQ(CountColour(c, kWhite), 16);
}

TEST(Canvas, RectangleCoversLeftToRightMinusOneWithOutlineAndFill) {
    Canvas c(10, 10);
    c.Pen = kRed;
    c.Brush = kBlue;
    c.Rectangle(2, 3, 7, 8);
    EXPECT_EQ(c.Pixel(2, 3), kRed);
    EXPECT_EQ(c.Pixel(6, 7), kRed);
    EXPECT_EQ(c.Pixel(7, 7), kWhite);
    EXPECT_EQ(c.Pixel(6, 8), kWhite);
    EXPECT_EQ(c.Pixel(3, 4), kBlue);
    EXPECT_EQ(c.Pixel(5, 6), kBlue);
    EXPECT_EQ(CountColour(c, kRed), 16); // ring of a 5 x 5 square
    EXPECT_EQ(CountColour(c, kBlue), 9);
}

TEST(Canvas, EmptyRectanglesDrawNothing) {
    Canvas c(10, 10);
    c.Pen = kRed;
    c.Rectangle(0, 0, 0, 10);
    c.Rectangle(5, 5, 4, 9);
    c.Rectangle(1, 6, 8, 6);
    EXPECT_EQ(CountColour(c, kRed), 0);
}

TEST(Canvas, EverythingOutsideThePictureIsClipped) {
    Canvas c(8, 8);
    c.Pen = kRed;
    c.Brush = kBlue;
    c.MoveTo(-20, -5);
    c.LineTo(30, 40);
    c.MoveTo(-3, 8);
    c.LineTo(20, 8);
    c.MoveTo(8, -3);
    c.LineTo(8, 20);
    c.Rectangle(-5, -5, 3, 3);
    c.Rectangle(6, 6, 100, 100);
    c.SetPixel(-1, 0, kRed);
    c.SetPixel(0, 8, kRed);
    EXPECT_EQ(c.Pixel(0, 0), kBlue);
    EXPECT_EQ(c.Pixel(2, 2), kRed);
    EXPECT_EQ(c.Pixel(6, 6), kRed);
    EXPECT_EQ(c.Pixel(7, 7), kBlue);
    EXPECT_EQ(c.Pixel(-1, -1), 0u);
}

} // namespace
} // namespace morvane::render
