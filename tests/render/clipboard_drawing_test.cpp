#include "render/clipboard_drawing.h"

#include <gtest/gtest.h>

#include "render/canvas.h"
#include "render/drawing.h"

namespace morvane::render {
namespace {

TEST(DrawClipboard, PictureShowsGridShadingAndTheSlotsOneStepRight) {
    edit::WaveClipboard clip;
    clip.SetSlot(5, EncodeSample(1048575)); // 64 - trunc(1,048,575 * 128 / 2,097,150) = 1
    clip.SetSlot(6, EncodeSample(-1048575));
    clip.Length = 0; // the curve shows every slot, whatever the length
    Canvas canvas(kGraphSize, kGraphSize);
    canvas.Fill(Rgb(1, 2, 3));
    DrawClipboardPicture(canvas, clip, SampleRange{10, 100});

    constexpr Colour kBlack = Rgb(0, 0, 0);
    EXPECT_EQ(canvas.Pixel(0, 200), Rgb(128, 128, 128)); // outline of the left shade
    EXPECT_EQ(canvas.Pixel(10, 10), Rgb(96, 96, 96));    // inside it
    EXPECT_EQ(canvas.Pixel(310, 10), Rgb(96, 96, 96));   // right shade from x = 300
    EXPECT_EQ(canvas.Pixel(200, 3), Rgb(224, 224, 224)); // grid row 3
    EXPECT_EQ(canvas.Pixel(200, 1), Rgb(255, 255, 255)); // background
    EXPECT_EQ(canvas.Pixel(200, 0), Rgb(192, 192, 192)); // outline of the picture
    // Slot 1 (value 0) starts the curve at (3, 192); slot 5 is at (15, 3).
    EXPECT_EQ(canvas.Pixel(3, 192), kBlack);
    EXPECT_EQ(canvas.Pixel(2, 192), Rgb(96, 96, 96)); // the shade covers the zero line
    EXPECT_EQ(canvas.Pixel(15, 3), kBlack);
    EXPECT_EQ(canvas.Pixel(18, 381), kBlack); // slot 6: 64 + 63 = 127
    EXPECT_EQ(canvas.Pixel(200, 192), kBlack);
}

TEST(DrawClipboard, FullRangeShadesOnlyTheLastColumn) {
    edit::WaveClipboard clip;
    Canvas canvas(kGraphSize, kGraphSize);
    DrawClipboardPicture(canvas, clip, SampleRange{});
    EXPECT_EQ(canvas.Pixel(1, 1), Rgb(255, 255, 255)); // no left shade when first = 0
    EXPECT_EQ(canvas.Pixel(2, 192), Rgb(192, 0, 0));   // the zero line before slot 1
    EXPECT_EQ(canvas.Pixel(380, 1), Rgb(255, 255, 255));
    EXPECT_EQ(canvas.Pixel(382, 382), Rgb(96, 96, 96)); // 3 * 127 .. 383
}

} // namespace
} // namespace morvane::render
