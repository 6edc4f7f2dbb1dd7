#pragma once

#include <cstdint>

namespace morvane::edit {

// How a new value joins the value already there: the generator's eight operations and
// Replace, which paste special uses as "none".
enum class CombineMode { Replace, Add, Sub, Or, And, Xor, Multi, Min, Max };

// Combines `value` (the generated sample, or the wave's own sample in paste special) with
// `existing` (the wave's sample, or the clipboard slot):
//   Add value + existing, Sub existing - value, Or/And/Xor bitwise on 32-bit two's
//   complement, Multi floor((value / 2,097,150) * (existing / 2,097,150) * 2,097,150 * 8) in
//   extended float, Min/Max signed, Replace value.
// Sums and differences are taken in 64 bits and wrapped to 32 bits, so that no input can make
// them undefined.
std::int32_t Combine(CombineMode mode, std::int32_t value, std::int32_t existing);

} // namespace morvane::edit
