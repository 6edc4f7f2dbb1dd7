#include "ui/mouse_drawing.h"

#include "motion/motion_generation.h"

namespace morvane::ui::mouse {

namespace {
constexpr int kPixelsPerSample = 3; // graph columns per sample
constexpr int kImageEdge = 384; // last column and row the image reports while the pointer is on it

bool OnImage(int x, int y) {
    return x >= 0 && x <= kImageEdge && y >= 0 && y <= kImageEdge;
}
} // namespace

std::int32_t LineValue(int s0, std::int32_t v0, int s1, std::int32_t v1, int s) {
    // The exact value n / d, rounded as a whole (not its offset from v0), so that a line drawn
    // leftwards gives the same samples as the same line drawn rightwards.
    std::int64_t denominator = s1 - s0;
    std::int64_t numerator = std::int64_t{v0} * denominator + (std::int64_t{v1} - v0) * (s - s0);
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    // Half away from zero: (2|n| + d) div 2d, with the sign of n.
    const std::int64_t rounded = numerator >= 0
                                     ? (2 * numerator + denominator) / (2 * denominator)
                                     : -((-2 * numerator + denominator) / (2 * denominator));
    return static_cast<std::int32_t>(rounded);
}

int SampleAtColumn(int x) {
    return x / kPixelsPerSample;
}

std::int32_t ValueAtRow(int y) {
    return motion::RowValue(y);
}

bool ColumnUsable(int x, SampleRange range) {
    return x >= kPixelsPerSample * range.First && x <= kPixelsPerSample * range.Last;
}

DrawingResult WaveMouseDown(Wavetable &table, int wave, SampleRange range, bool &waveDrawing,
                            StrokePoint &last, int x, int y) {
    // A press always comes from over the image; one from elsewhere (a script) is refused like
    // a press outside the range, since its row would give a value outside the 21-bit range.
    if (!ColumnUsable(x, range) || !OnImage(x, y))
        return {};
    last = {SampleAtColumn(x), ValueAtRow(y)};
    WriteSample(table, wave - 1, last.Sample, last.Value);
    waveDrawing = true;
    return {true, true, false};
}

DrawingResult WaveMouseMove(Wavetable &table, int wave, SampleRange range, bool waveDrawing,
                            StrokePoint &last, int x, int y) {
    if (!ColumnUsable(x, range) || !waveDrawing || !OnImage(x, y))
        return {};
    const StrokePoint point{SampleAtColumn(x), ValueAtRow(y)};
    // Both ends lie in the range, so every sample between them does too. A stroke whose press
    // came before any last point was kept (last.Sample -1) starts here.
    if (last.Sample >= 0 && last.Sample != point.Sample) {
        const int step = point.Sample > last.Sample ? 1 : -1;
        for (int s = last.Sample + step; s != point.Sample; s += step)
            WriteSample(table, wave - 1, s,
                        LineValue(last.Sample, last.Value, point.Sample, point.Value, s));
    }
    WriteSample(table, wave - 1, point.Sample, point.Value);
    last = point;
    return {true, true, false};
}

DrawingResult WaveMouseUp(bool &waveDrawing) {
    DrawingResult result;
    if (waveDrawing) {
        waveDrawing = false;
        result.Redraw = true;
        result.Modified = true;
    }
    result.PushSnapshot = true;
    return result;
}

} // namespace morvane::ui::mouse
