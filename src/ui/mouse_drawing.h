#pragma once

#include <cstdint>

#include "document/sample_range.h"
#include "document/wave_message.h"

namespace morvane::ui {

// Drawing the current wave with the mouse in the wave view. The pointer's pixel position on
// the graph image (384 x 385) maps to a sample by its column and to a value by its row; each
// event sets at most the one sample under the pointer.
namespace mouse {

// What the window must do after an event, in this order.
struct DrawingResult {
    bool Redraw = false;       // DrawWavetable for the current wave
    bool Modified = false;     // set the document's modified flag
    bool PushSnapshot = false; // push the whole table on the undo history
    friend bool operator==(const DrawingResult &, const DrawingResult &) = default;
};

// The last point of the running stroke that set a sample, where the line to the next one
// starts. Sample is -1 before the first point.
struct StrokePoint {
    int Sample = -1;
    std::int32_t Value = 0;
    friend bool operator==(const StrokePoint &, const StrokePoint &) = default;
};

// The value that sample s gets on the straight line from (s0, v0) to (s1, v1), s0 != s1:
// v0 + (v1 - v0) * (s - s0) / (s1 - s0) as an exact fraction, rounded as a whole to the
// nearest integer, halves away from zero (64-bit integers). It lies between v0 and v1, and the
// same line drawn in either direction gives the same values.
std::int32_t LineValue(int s0, std::int32_t v0, int s1, std::int32_t v1, int s);

// The 0-based sample under column x: x div 3.
int SampleAtColumn(int x);
// The value under row y, the scale of the motion pull (1,048,575 on row 0, 128 on row 192).
std::int32_t ValueAtRow(int y);
// Whether column x answers to a sample of the range: 3 * First <= x <= 3 * Last.
bool ColumnUsable(int x, SampleRange range);

// Press, any button and keys: sets the sample under the pointer of wave number `wave` (1..64)
// and starts a stroke there. `waveDrawing` is the window's WaveDrawing flag, `last` the
// stroke's last point.
DrawingResult WaveMouseDown(Wavetable &table, int wave, SampleRange range, bool &waveDrawing,
                            StrokePoint &last, int x, int y);
// Move: while a stroke runs and the pointer is over the graph within the range, sets the
// sample under the pointer to the value under it and the samples strictly between it and the
// stroke's last point to LineValue; a move that stays on the last point's sample sets that
// sample alone. Positions outside are ignored and the stroke goes on from its last point.
DrawingResult WaveMouseMove(Wavetable &table, int wave, SampleRange range, bool waveDrawing,
                            StrokePoint &last, int x, int y);
// Release: ends the stroke; every release in the wave view pushes a snapshot, also one whose
// press changed nothing.
DrawingResult WaveMouseUp(bool &waveDrawing);

} // namespace mouse

} // namespace morvane::ui
