#pragma once

#include "document/sample_range.h"
#include "document/wave_message.h"
#include "edit/overflow.h"

namespace morvane::edit {

// Per-wave transforms over the samples of a range. Waves are wave numbers (1..64); from..to
// runs ascending and is empty when to < from.

// Amplify by percent (the "amplify by" item, 1..10 in the window): factor (100 + p) / 100 up
// or (100 - p) / 100 down in extended precision; each sample := floor(sample * factor). A wave
// that overflowed is restored, and so is every later wave, each with the line
// "21 bit overflow error. You can allow overflow!".
EditResult Amplify(Wavetable &table, int from, int to, SampleRange range, int percent, bool up,
                   bool allowOverflow, WaveBackup &backup);

// sample := -sample.
void Invert(Wavetable &table, int from, int to, SampleRange range);

// Mirrors the range on the raw three-byte groups; the middle of an odd range stays.
void Reverse(Wavetable &table, int from, int to, SampleRange range);

// sample i := trunc((left + right) / 2) in ascending order, in place, with the neighbours of
// samples 1 and 128 taken round the wave.
void Smooth(Wavetable &table, int from, int to, SampleRange range);

// The number of levels of the "Step wave" item k (0..3): 2^(k+3), 8..64.
int StepLevels(int itemIndex);
// Quantizes toward zero to multiples of 2,097,150 div levels. levels must lie in
// 1..2,097,150; anything else throws Error("Division by zero") and changes nothing.
void Step(Wavetable &table, int from, int to, SampleRange range, int levels);

// Rotate the range of one wave by one sample on the raw bytes; outside the range nothing
// changes.
void MoveLeft(Wavetable &table, int wave, SampleRange range);
void MoveRight(Wavetable &table, int wave, SampleRange range);

// The vertical move step.
inline constexpr std::int32_t kMoveStep = 8000;
// sample +- 8,000 over the range of one wave. On overflow (not allowed) the wave is restored
// from the backup and the result says so; no log line (the window shows a message box).
EditResult MoveUp(Wavetable &table, int wave, SampleRange range, bool allowOverflow,
                  WaveBackup &backup);
EditResult MoveDown(Wavetable &table, int wave, SampleRange range, bool allowOverflow,
                    WaveBackup &backup);

} // namespace morvane::edit
