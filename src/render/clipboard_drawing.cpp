#include "render/clipboard_drawing.h"

#include "render/canvas.h"
#include "render/drawing.h"

namespace morvane {

namespace {
constexpr int kCell = 3; // pixels per slot and per value step
constexpr int kZeroRow = 192;
constexpr Colour kBackground = Rgb(255, 255, 255);
constexpr Colour kBorder = Rgb(192, 192, 192);
constexpr Colour kGrid = Rgb(224, 224, 224);
constexpr Colour kZeroLine = Rgb(192, 0, 0);
constexpr Colour kShadeOutline = Rgb(128, 128, 128);
constexpr Colour kShadeFill = Rgb(96, 96, 96);
constexpr Colour kCurve = Rgb(0, 0, 0);
} // namespace

void DrawClipboard(Canvas &canvas, const edit::WaveClipboard &clipboard, SampleRange range) {
    canvas.Pen = kGrid;
    for (int k = 1; k <= kSampleCount; ++k) {
        canvas.MoveTo(0, kCell * k);
        canvas.LineTo(kGraphSize, kCell * k);
        canvas.MoveTo(kCell * k, 0);
        canvas.LineTo(kCell * k, kGraphSize);
    }
    canvas.Pen = kZeroLine;
    canvas.MoveTo(0, kZeroRow);
    canvas.LineTo(kGraphSize, kZeroRow);

    canvas.Pen = kShadeOutline;
    canvas.Brush = kShadeFill;
    canvas.Rectangle(0, 0, kCell * range.First, kGraphSize);
    canvas.Rectangle(kCell * range.Last, 0, kGraphSize, kGraphSize);

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

} // namespace morvane
