#pragma once

#include <span>
#include <vector>

// The audio import's picture of a recording: the file's samples squeezed into one column per
// pixel, each column drawn from its lowest to its highest sample, with the region the cycles are
// taken from shaded and its two edges marked. Full scale +-1 fills the height.
namespace morvane::render {

class Canvas;

inline constexpr int kRecordingWidth = 408;
inline constexpr int kRecordingHeight = 81; // an odd height gives the zero line a row of its own

// The lowest and highest sample of one column, in full scale +-1.
struct SampleSpan {
    double Low = 0;
    double High = 0;
    friend bool operator==(const SampleSpan &, const SampleSpan &) = default;
};

// Column c covers samples floor(c * n / columns) up to the next column's first, so every sample
// lands in exactly one column; with fewer samples than columns a sample spans several columns.
// Values are clamped to +-1. No samples, or no columns, give an empty list.
std::vector<SampleSpan> RecordingColumns(std::span<const double> samples, int columns);

// Row of value v (+-1): the zero line in the middle row, +1 in row 0, -1 in the last row.
int RecordingRow(double value, int height);

// Draws the columns across the canvas's width (column c at x = c; columns beyond the canvas are
// left out) with the region from `start` to `end`, fractions 0..1 of the file, shaded; an empty
// or reversed region is shaded nowhere, but its edges are still marked.
void DrawRecording(Canvas &canvas, std::span<const SampleSpan> columns, double start, double end);

} // namespace morvane::render
