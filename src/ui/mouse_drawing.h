#pragma once

#include <cstdint>

#include "document/sample_range.h"
#include "document/wave_message.h"

namespace morvane {

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

// The 0-based sample under column x: x div 3.
int SampleAtColumn(int x);
// The value under row y, the scale of the motion pull (1,048,575 on row 0, 128 on row 192).
std::int32_t ValueAtRow(int y);
// Whether column x answers to a sample of the range: 3 * First <= x <= 3 * Last.
bool ColumnUsable(int x, SampleRange range);

// Press, any button and keys: sets the sample under the pointer of wave number `wave` (1..64)
// and starts a stroke. `waveDrawing` is the window's WaveDrawing flag.
DrawingResult WaveMouseDown(Wavetable &table, int wave, SampleRange range, bool &waveDrawing, int x,
                            int y);
// Move: sets the sample under the pointer while a stroke runs and the pointer is over the
// graph; positions outside are ignored and the stroke goes on.
DrawingResult WaveMouseMove(Wavetable &table, int wave, SampleRange range, bool waveDrawing, int x,
                            int y);
// Release: ends the stroke; every release in the wave view pushes a snapshot, also one whose
// press changed nothing.
DrawingResult WaveMouseUp(bool &waveDrawing);

} // namespace mouse

} // namespace morvane
