#include "render/drawing.h"

#include <algorithm>

#include "render/canvas.h"

namespace morvane::render {

namespace {
constexpr int kCell = 3; // pixels per sample and per value step
constexpr int kCells = 128;
constexpr int kZeroRow = 192;
constexpr Colour kBackground = Rgb(255, 255, 255);
constexpr Colour kBorder = Rgb(192, 192, 192);
constexpr Colour kGrid = Rgb(224, 224, 224);
constexpr Colour kZeroLine = Rgb(192, 0, 0);
constexpr Colour kShadeOutline = Rgb(128, 128, 128);
constexpr Colour kShadeFill = Rgb(96, 96, 96);
constexpr Colour kCurve = Rgb(0, 0, 0);
// The grid of DrawWave: for k = 1..128 a line from (0, 3k) to (384, 3k) and one from (3k, 0)
// to (3k, 384), all in one colour, so the order does not matter. The vertical lines are set
// row by row, which touches each cache line once instead of once per column.
void DrawGrid(Canvas &canvas) {
    canvas.Pen = kGrid;
    const int width = canvas.Width();
    const int rows = canvas.Height() < kGraphSize ? canvas.Height() : kGraphSize;
    const int columns = width < kGraphSize ? width : kGraphSize;
    Colour *row = canvas.Data();
    for (int y = 0; y < rows; ++y, row += width) {
        if (y >= kCell && y % kCell == 0) {
            std::fill(row, row + columns, kGrid); // a horizontal line, end point outside
        } else {
            for (int x = kCell; x < columns; x += kCell)
                row[x] = kGrid;
        }
    }
    canvas.MoveTo(kGraphSize, kGraphSize); // where the last vertical line leaves the pen
    if (canvas.Recording())
        for (int k = 1; k <= kCells; ++k) {
            canvas.Record({CanvasStep::Kind::Line, 0, kCell * k, kGraphSize, kCell * k, kGrid, 0});
            canvas.Record({CanvasStep::Kind::Line, kCell * k, 0, kCell * k, kGraphSize, kGrid, 0});
        }
}

} // namespace

int GraphCell(std::int32_t value) {
    // v * 128 fits in 32 bits for every decodable value; the division truncates toward zero.
    return 64 - (value * 128) / kFullScale;
}

void DrawGraphBackdrop(Canvas &canvas, SampleRange range) {
    DrawGrid(canvas);
    canvas.Pen = kZeroLine;
    canvas.MoveTo(0, kZeroRow);
    canvas.LineTo(kGraphSize, kZeroRow);

    canvas.Pen = kShadeOutline;
    canvas.Brush = kShadeFill;
    canvas.Rectangle(0, 0, kCell * range.First, kGraphSize);
    canvas.Rectangle(kCell * range.Last, 0, kGraphSize, kGraphSize);
}

void DrawWave(Canvas &canvas, const Wavetable &table, int wave, SampleRange range) {
    DrawGraphBackdrop(canvas, range);
    canvas.Pen = kCurve;
    const int w = wave - 1;
    for (int i = 1; i <= kSampleCount; ++i) {
        const int c = GraphCell(ReadSample(table, w, i - 1));
        const int x = kCell * (i - 1);
        const int y = kCell * c;
        if (i == 1)
            canvas.MoveTo(x, y);
        else
            canvas.LineTo(x, y);
    }
}

void DrawGraphPicture(Canvas &canvas, const Wavetable &table, int wave, SampleRange range,
                      int viewMode, std::span<const PathPoint> path, bool splinePath) {
    canvas.Brush = kBackground;
    canvas.Pen = kBorder;
    canvas.Rectangle(0, 0, kGraphSize, kGraphSize);
    if (viewMode == kWaveView) {
        DrawMotionPath(canvas, path, splinePath);
        DrawWave(canvas, table, wave, range);
    } else {
        DrawWave(canvas, table, wave, range);
        DrawMotionPath(canvas, path, splinePath);
    }
}

void DrawOverview(Canvas &canvas, const Wavetable &table) {
    canvas.Rectangle(0, 0, kOverviewWidth, kOverviewHeight);
    for (int w = 1; w <= kWaveCount; ++w) {
        for (int j = 1; j <= kSampleCount; ++j) {
            const std::int32_t v = ReadSample(table, w - 1, j - 1);
            const int q = (v * 128) / kFullScale;
            const int b = 32 - q / 2;
            const int shade = (4 * b) % 256;
            const Colour c = Rgb(128, shade, shade);
            canvas.SetPixel(j, w + b, c);
            canvas.SetPixel(j + 1, w + b, c);
            canvas.SetPixel(j + 1, w + b + 1, c);
            canvas.SetPixel(j, w + b + 1, c);
        }
    }
}

} // namespace morvane::render
