#pragma once

#include "document/wave_message.h"

namespace morvane::render {

class Canvas;

// The formula window's preview of one wave: 128 columns, one per sample, and 65 rows, the
// zero line in row 32 and full scale in rows 0 and 64.
inline constexpr int kPreviewWidth = kSampleCount;
inline constexpr int kPreviewHeight = 65;

// Row of sample value v: 32 - round(v * 32 / 1,048,575), kept inside the picture.
int PreviewRow(std::int32_t value);

// A white picture with a grey zero line and the curve of wave number `wave` (1..64) in blue;
// in red when the formula would leave the wave as it is because of an overflow.
void DrawFormulaPreview(Canvas &canvas, const Wavetable &table, int wave, bool refused);

} // namespace morvane::render
