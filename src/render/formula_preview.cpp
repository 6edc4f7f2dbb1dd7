#include "render/formula_preview.h"

#include <algorithm>
#include <cmath>

#include "render/canvas.h"

namespace morvane::render {

namespace {

constexpr int kZeroRow = kPreviewHeight / 2;
constexpr Colour kBackground = Rgb(255, 255, 255);
constexpr Colour kZeroLine = Rgb(192, 192, 192);
constexpr Colour kCurve = Rgb(0, 0, 160);
constexpr Colour kRefusedCurve = Rgb(200, 0, 0);

} // namespace

int PreviewRow(std::int32_t value) {
    const long long row =
        kZeroRow - std::llround(static_cast<double>(value) * kZeroRow / kMaxSample);
    return static_cast<int>(std::clamp<long long>(row, 0, kPreviewHeight - 1));
}

void DrawFormulaPreview(Canvas &canvas, const Wavetable &table, int wave, bool refused) {
    canvas.Fill(kBackground);
    canvas.Pen = kZeroLine;
    canvas.MoveTo(0, kZeroRow);
    canvas.LineTo(kPreviewWidth, kZeroRow);
    canvas.Pen = refused ? kRefusedCurve : kCurve;
    const int w = std::clamp(wave, 1, kWaveCount) - 1;
    for (int k = 0; k < kSampleCount; ++k) {
        const int row = PreviewRow(ReadSample(table, w, k));
        if (k == 0)
            canvas.MoveTo(k, row);
        else
            canvas.LineTo(k, row);
    }
    // LineTo leaves out its end point; the last sample gets its pixel too.
    canvas.SetPixel(kSampleCount - 1, PreviewRow(ReadSample(table, w, kSampleCount - 1)),
                    canvas.Pen);
}

} // namespace morvane::render
