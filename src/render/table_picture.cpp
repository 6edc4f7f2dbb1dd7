#include "render/table_picture.h"

#include "document/sample_range.h"
#include "render/drawing.h"

namespace morvane::render {

Canvas RenderTable(const Wavetable &table) {
    const int overviewHeight = kOverviewHeight * kRenderOverviewScale;
    const int rows = kWaveCount / kRenderColumns;
    const int width = kRenderColumns * kRenderGraphSize;
    const int top = overviewHeight + kRenderGap;
    Canvas picture(width, top + rows * kRenderGraphSize);
    picture.Fill(Rgb(255, 255, 255));

    Canvas overview(kOverviewWidth, kOverviewHeight);
    DrawOverview(overview, table);
    for (int y = 0; y < overviewHeight; ++y)
        for (int x = 0; x < kOverviewWidth * kRenderOverviewScale; ++x)
            picture.SetPixel(x, y,
                             overview.Pixel(x / kRenderOverviewScale, y / kRenderOverviewScale));

    Canvas graph(kGraphSize, kGraphSize);
    constexpr int kShrink = kGraphSize / kRenderGraphSize;
    for (int wave = 1; wave <= kWaveCount; ++wave) {
        graph.Brush = Rgb(255, 255, 255);
        graph.Pen = Rgb(192, 192, 192);
        graph.Rectangle(0, 0, kGraphSize, kGraphSize);
        DrawWave(graph, table, wave, SampleRange{0, kSampleCount - 1});
        const int left = ((wave - 1) % kRenderColumns) * kRenderGraphSize;
        const int upper = top + ((wave - 1) / kRenderColumns) * kRenderGraphSize;
        // Each pixel is the darkest of the 2 x 2 it stands for, so that one-pixel lines stay.
        for (int y = 0; y < kRenderGraphSize; ++y)
            for (int x = 0; x < kRenderGraphSize; ++x) {
                Colour darkest = 0xFFFFFFFFu;
                for (int dy = 0; dy < kShrink; ++dy)
                    for (int dx = 0; dx < kShrink; ++dx) {
                        const Colour c = graph.Pixel(kShrink * x + dx, kShrink * y + dy);
                        const auto brightness = [](Colour v) {
                            return ((v >> 16) & 0xFF) + ((v >> 8) & 0xFF) + (v & 0xFF);
                        };
                        if (brightness(c) < brightness(darkest))
                            darkest = c;
                    }
                picture.SetPixel(left + x, upper + y, darkest);
            }
    }
    return picture;
}

} // namespace morvane::render
