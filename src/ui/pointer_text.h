#pragma once

#include <cstdint>
#include <string>

#include "document/wave_message.h"

namespace morvane::ui {

// A number with a comma between each group of three digits: "524,287", "-1,048,576".
std::string GroupedNumber(std::int64_t value);

// A sample value as tenths of a percent of full scale (1,048,575), rounded to the nearest
// tenth, halves away from zero, as text: "50.0", "-100.0", "0.0".
std::string PercentOfFullScale(std::int32_t value);

// What the tooltip over the graph says at pixel (x, y) of the image (384 x 385). In the wave
// view: the sample under the pointer (1-based), its value in wave number `wave` (1..64) and
// that value in percent of full scale, "Sample 37: 524,287 (50.0 %)". In the motion-path view:
// the pixel, "Pixel 120, 200". Empty off the graph or for a wave number outside 1..64.
std::string GraphPointerText(const Wavetable &table, int wave, int viewMode, int x, int y);

} // namespace morvane::ui
