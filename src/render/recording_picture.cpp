#include "render/recording_picture.h"

#include <algorithm>
#include <cmath>

#include "render/canvas.h"

namespace morvane::render {

namespace {

constexpr Colour kBackground = Rgb(255, 255, 255);
constexpr Colour kRegion = Rgb(220, 232, 255);
constexpr Colour kZeroLine = Rgb(192, 192, 192);
constexpr Colour kCurve = Rgb(0, 0, 160);
constexpr Colour kEdge = Rgb(200, 0, 0);

// The column of a fraction 0..1 of the file, kept on the canvas so an edge is always seen.
int ColumnOf(double fraction, int width) {
    const double x = std::floor(std::clamp(fraction, 0.0, 1.0) * width);
    return std::clamp(static_cast<int>(x), 0, width - 1);
}

} // namespace

std::vector<SampleSpan> RecordingColumns(std::span<const double> samples, int columns) {
    std::vector<SampleSpan> spans;
    if (samples.empty() || columns <= 0)
        return spans;
    const auto n = static_cast<long long>(samples.size());
    spans.resize(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c) {
        const long long from = c * n / columns;
        // A column narrower than a sample shows the sample it falls on.
        const long long to = std::max((c + 1) * n / columns, from + 1);
        const auto first = samples.begin() + from;
        const auto [low, high] = std::minmax_element(first, samples.begin() + std::min(to, n));
        spans[static_cast<std::size_t>(c)] = {std::clamp(*low, -1.0, 1.0),
                                              std::clamp(*high, -1.0, 1.0)};
    }
    return spans;
}

int RecordingRow(double value, int height) {
    const int middle = (height - 1) / 2;
    const long long row = middle - std::llround(std::clamp(value, -1.0, 1.0) * middle);
    return static_cast<int>(std::clamp<long long>(row, 0, height - 1));
}

void DrawRecording(Canvas &canvas, std::span<const SampleSpan> columns, double start, double end) {
    const int width = canvas.Width();
    const int height = canvas.Height();
    canvas.Fill(kBackground);
    const int left = ColumnOf(start, width);
    const int right = ColumnOf(end, width);
    if (right > left) {
        canvas.Pen = kRegion;
        canvas.Brush = kRegion;
        canvas.Rectangle(left, 0, right + 1, height);
    }
    canvas.Pen = kZeroLine;
    canvas.MoveTo(0, RecordingRow(0, height));
    canvas.LineTo(width, RecordingRow(0, height));
    canvas.Pen = kCurve;
    const int shown = std::min(width, static_cast<int>(columns.size()));
    for (int x = 0; x < shown; ++x) {
        const SampleSpan &span = columns[static_cast<std::size_t>(x)];
        // Rows grow downwards: the highest sample has the smaller row. LineTo leaves out its
        // end point, so the line runs one row past it.
        canvas.MoveTo(x, RecordingRow(span.High, height));
        canvas.LineTo(x, RecordingRow(span.Low, height) + 1);
    }
    canvas.Pen = kEdge;
    for (const int x : {left, right}) {
        canvas.MoveTo(x, 0);
        canvas.LineTo(x, height);
    }
}

} // namespace morvane::render
