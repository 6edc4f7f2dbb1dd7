#pragma once

#include "document/sample_range.h"
#include "edit/clipboard.h"

namespace morvane::render {

class Canvas;

// The clipboard over the graph's grid: the grid, the zero line, the shading outside the range
// and all 128 slots (whatever the length) as a curve, slot k at x = 3k.
void DrawClipboard(Canvas &canvas, const edit::WaveClipboard &clipboard, SampleRange range);

// What "Show Clipboard" puts into the graph picture while it is held: the picture cleared to
// white with a light grey outline, then DrawClipboard.
void DrawClipboardPicture(Canvas &canvas, const edit::WaveClipboard &clipboard, SampleRange range);

} // namespace morvane::render
