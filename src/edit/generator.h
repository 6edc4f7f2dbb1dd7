#pragma once

#include "document/extended.h"
#include "document/sample_range.h"
#include "document/wave_message.h"
#include "edit/combine.h"
#include "edit/overflow.h"

namespace morvane::edit {

class RandomGenerator;

// The three non-sine shapes over one period. x is first brought into 0..2pi (a value equal to
// 2pi stays 2pi).
Extended TriangleWave(Extended x); // 0 -> 1 -> -1 -> 0
Extended SquareWave(Extended x);   // +0.5 below pi, -0.5 from pi on
Extended SawWave(Extended x);      // +0.5 at 0 falling to -0.5 at 2pi

// The items of the "Waveform" list, by index.
enum class Shape { Sine, Triangle, Square, Saw, Random };

inline constexpr int kMaxHarmonic = 50; // "1/1" .. "1/50"
inline constexpr int kFadeSteps = 10;   // the fade track bar runs -10..10

struct GeneratorSettings {
    Shape Wave = Shape::Sine;
    int Harmonic = 2;          // n, 1..50: frequency times n, amplitude divided by n
    int FadePosition = 0;      // -10 (fade in) .. 10 (fade out); the fade is position / 10
    bool AddToExisting = true; // combine by Mode; unset writes the generated wave whatever Mode
    bool AllowOverflow = false;
    CombineMode Mode = CombineMode::Replace;
};

// The generator: for each wave from..to (wave numbers, ascending) and each sample of the
// range, computes the shape at the harmonic with the fade, combines it with the sample there
// and stores it. A wave that overflowed is restored from `backup`; the flag is not cleared
// between waves, so every later wave of the call is restored as well, each with one log line.
// The Random shape draws Random(2,000,000) once per sample, in order; seeding is the caller's.
// Errors (Error, "Invalid floating point operation") leave the waves done so far changed.
EditResult GenerateWaves(Wavetable &table, const GeneratorSettings &settings, int from, int to,
                         SampleRange range, RandomGenerator &random, WaveBackup &backup);

} // namespace morvane::edit
