#include "ui/mouse_drawing.h"

#include "motion/motion_generation.h"

namespace morvane::mouse {

namespace {
constexpr int kPixelsPerSample = 3; // graph columns per sample
constexpr int kImageEdge = 384; // last column and row the image reports while the pointer is on it

bool OnImage(int x, int y) {
    return x >= 0 && x <= kImageEdge && y >= 0 && y <= kImageEdge;
}
} // namespace

int SampleAtColumn(int x) {
    return x / kPixelsPerSample;
}

std::int32_t ValueAtRow(int y) {
    return motion::RowValue(y);
}

bool ColumnUsable(int x, SampleRange range) {
    return x >= kPixelsPerSample * range.First && x <= kPixelsPerSample * range.Last;
}

DrawingResult WaveMouseDown(Wavetable &table, int wave, SampleRange range, bool &waveDrawing, int x,
                            int y) {
    // A press always comes from over the image; one from elsewhere (a script) is refused like
    // a press outside the range, since its row would give a value outside the 21-bit range.
    if (!ColumnUsable(x, range) || !OnImage(x, y))
        return {};
    WriteSample(table, wave - 1, SampleAtColumn(x), ValueAtRow(y));
    waveDrawing = true;
    return {true, true, false};
}

DrawingResult WaveMouseMove(Wavetable &table, int wave, SampleRange range, bool waveDrawing, int x,
                            int y) {
    if (!ColumnUsable(x, range) || !waveDrawing || !OnImage(x, y))
        return {};
    // No interpolation: the samples the pointer jumped over keep their values.
    WriteSample(table, wave - 1, SampleAtColumn(x), ValueAtRow(y));
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

} // namespace morvane::mouse
