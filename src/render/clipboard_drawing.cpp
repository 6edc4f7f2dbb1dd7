#include "render/clipboard_drawing.h"

#include "render/canvas.h"
#include "render/drawing.h"

namespace morvane::render {

namespace {
constexpr int kCell = 3; // pixels per slot and per value step
constexpr Colour kBackground = Rgb(255, 255, 255);
constexpr Colour kBorder = Rgb(192, 192, 192);
constexpr Colour kCurve = Rgb(0, 0, 0);
} // namespace

void DrawClipboard(Canvas &canvas, const edit::WaveClipboard &clipboard, SampleRange range) {
    DrawGraphBackdrop(canvas, range);
    canvas.Pen = kCurve;
    for (int k = 1; k <= kSampleCount; ++k) {
        const SampleTriple slot = clipboard.Slot(k);
        const int y = GraphCell(DecodeSample(slot.High, slot.Middle, slot.Low));
        if (k == 1)
            canvas.MoveTo(kCell * k, kCell * y);
        else
            canvas.LineTo(kCell * k, kCell * y);
    }
}

void DrawClipboardPicture(Canvas &canvas, const edit::WaveClipboard &clipboard, SampleRange range) {
    canvas.Brush = kBackground;
    canvas.Pen = kBorder;
    canvas.Rectangle(0, 0, kGraphSize, kGraphSize);
    DrawClipboard(canvas, clipboard, range);
}

} // namespace morvane::render
