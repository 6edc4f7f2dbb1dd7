#include "render/table_picture.h"

#include <gtest/gtest.h>

#include "render/drawing.h"

namespace morvane::render {
namespace {

TEST(TablePicture, RendersTheOverviewAndEveryGraph) {
    Wavetable table;
    FillNewWavetable(table, 0);
    const Canvas picture = RenderTable(table);
    const int top = kOverviewHeight * 3 + kRenderGap;
    ASSERT_EQ(picture.Width(), 8 * 192);
    ASSERT_EQ(picture.Height(), top + 8 * 192);
    Canvas overview(kOverviewWidth, kOverviewHeight);
    DrawOverview(overview, table);
    for (int y = 0; y < kOverviewHeight * 3; y += 5)
        for (int x = 0; x < kOverviewWidth * 3; x += 5)
            ASSERT_EQ(picture.Pixel(x, y), overview.Pixel(x / 3, y / 3)) << x << "," << y;
    // The red zero line of each graph lies on row 192 of 384, row 96 of the half-size graph;
    // at sample 33 the sine is far from it. Samples 31 and 32 (523,657 and 524,287) both lie in
    // cell 64 - 31 = 33, so the curve runs level along row 99 of 384 (49 of 192) there.
    for (int wave : {1, 10, 64}) {
        const int left = (wave - 1) % 8 * 192;
        const int upper = top + (wave - 1) / 8 * 192;
        EXPECT_EQ(picture.Pixel(left + 50, upper + 96), Rgb(192, 0, 0)) << wave;
        EXPECT_EQ(picture.Pixel(left + 46, upper + 49), Rgb(0, 0, 0)) << wave;
    }
}

} // namespace
} // namespace morvane::render
