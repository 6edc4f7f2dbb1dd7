#include "render/recording_picture.h"

#include <gtest/gtest.h>

#include "render/canvas.h"

namespace morvane::render {
namespace {

TEST(RecordingPicture, ColumnsHoldEverySampleOnce) {
    // Seven samples over three columns: samples 0-1, 2-3 and 4-6; beyond +-1 is clamped. With
    // fewer samples than columns each column shows the sample it falls on.
    const std::vector<double> samples = {0.5, -0.25, 2.0, 0.0, -0.5, -3.0, 0.75};
    EXPECT_EQ(RecordingColumns(samples, 3),
              (std::vector<SampleSpan>{{-0.25, 0.5}, {0.0, 1.0}, {-1.0, 0.75}}));
    EXPECT_EQ(RecordingColumns(std::vector<double>{0.5, -0.5}, 4),
              (std::vector<SampleSpan>{{0.5, 0.5}, {0.5, 0.5}, {-0.5, -0.5}, {-0.5, -0.5}}));
    EXPECT_TRUE(RecordingColumns({}, 3).empty());
}

TEST(RecordingPicture, DrawsTheCurveInsideTheShadedRegion) {
    // Height 81: zero on row 40, +1 on row 0; +0.5 is row 20, -0.25 row 50.
    Canvas canvas(100, 81);
    DrawRecording(canvas, std::vector<SampleSpan>(100, SampleSpan{-0.25, 0.5}), 0.25, 0.5);
    const Colour curve = canvas.Pixel(10, 20);
    EXPECT_EQ(canvas.Pixel(10, 50), curve);
    EXPECT_NE(canvas.Pixel(10, 19), curve);
    EXPECT_NE(canvas.Pixel(10, 51), curve);
    const Colour edge = canvas.Pixel(25, 5); // columns 25 and 50 are the edges
    EXPECT_EQ(canvas.Pixel(50, 75), edge);
    EXPECT_NE(edge, curve);
    // Shaded between the edges, white outside.
    EXPECT_EQ(canvas.Pixel(10, 5), Rgb(255, 255, 255));
    EXPECT_NE(canvas.Pixel(30, 5), Rgb(255, 255, 255));
    EXPECT_EQ(canvas.Pixel(60, 5), Rgb(255, 255, 255));
}

} // namespace
} // namespace morvane::render
