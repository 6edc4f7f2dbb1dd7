#pragma once

#include "document/wave_message.h"
#include "render/canvas.h"

namespace morvane::render {

// A picture of the whole table: the overview at three times its size, then the graphs of the
// 64 waves at half size, eight in a row.
inline constexpr int kRenderColumns = 8;
inline constexpr int kRenderGraphSize = 192; // kGraphSize / 2
inline constexpr int kRenderOverviewScale = 3;
inline constexpr int kRenderGap = 8;
Canvas RenderTable(const Wavetable &table);

} // namespace morvane::render
