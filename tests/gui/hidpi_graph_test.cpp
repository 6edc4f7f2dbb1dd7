#include <algorithm>

#include <QPainter>

#include "document/wave_message.h"
#include "render/drawing.h"
#include "window_fixture.h"

namespace morvane::testing {
namespace {

// The graph replayed at twice the resolution: the same picture at the same logical positions,
// the curve through its vertices and the grid on its lines, with nothing left from before the
// last full redraw.
TEST_F(WindowTest, GraphDrawsAtTwiceTheResolutionFromItsSteps) {
    window->DrawWavetable(1);
    window->DrawWavetable(1); // a second redraw replaces the steps of the first
    const std::vector<render::CanvasStep> &steps = window->GraphBitmap().Steps();
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front().What,
              render::CanvasStep::Kind::Rectangle); // the border covers everything
    // 256 grid lines and 127 black curve segments, once each: nothing of the first redraw.
    const auto lines = [&](render::Colour pen) {
        return std::count_if(steps.begin(), steps.end(), [pen](const render::CanvasStep &s) {
            return s.What == render::CanvasStep::Kind::Line && s.Pen == pen;
        });
    };
    EXPECT_EQ(lines(render::Rgb(224, 224, 224)), 256);
    EXPECT_EQ(lines(render::Rgb(0, 0, 0)), 127);

    QImage sharp(2 * render::kGraphSize, 2 * render::kGraphSize, QImage::Format_RGB32);
    sharp.setDevicePixelRatio(2);
    sharp.fill(Qt::magenta);
    {
        QPainter painter(&sharp);
        qt::PaintCanvasSteps(painter, steps);
    }
    for (int n = 0; n < kSampleCount; n += 7) { // every vertex of the curve is black
        SCOPED_TRACE(n);
        const int x = 3 * n;
        const int y = 3 * render::GraphCell(ReadSample(window->Table(), 0, n));
        // The line runs through the centre of the vertex's pixel: the four device pixels there.
        int darkest = 255;
        for (int dy = 0; dy < 2; ++dy)
            for (int dx = 0; dx < 2; ++dx)
                darkest = std::min(darkest, qGray(sharp.pixel(2 * x + dx, 2 * y + dy)));
        EXPECT_LT(darkest, 60);
    }
    // Away from the curve the grid's lines and the white between them, as in the picture.
    const render::Canvas &canvas = window->GraphBitmap();
    for (const QPoint p : {QPoint(30, 300), QPoint(31, 300), QPoint(30, 301), QPoint(200, 10)})
        EXPECT_EQ(sharp.pixel(2 * p.x() + 1, 2 * p.y() + 1) & 0xFFFFFF,
                  canvas.Pixel(p.x(), p.y()) & 0xFFFFFF)
            << p.x() << "," << p.y();
}

} // namespace
} // namespace morvane::testing
