#pragma once

#include "document/wave_message.h"
#include "edit/overflow.h"

// Processors that reshape the spectrum of each wave of a range and resynthesise it (all 128
// samples). Each takes a start value for the first wave and an end value for the last; wave w of
// from..to gets
//
//   v(w) = start + (end - start) * (w - from) / (to - from)     (v = start when from = to),
//
// so that one command makes a sweep. Below, M_k, P_k are magnitude and phase of harmonic k
// (edit/spectrum.h), and "scaled by g" multiplies both its cosine and sine parts by g.
namespace morvane::edit {

class RandomGenerator;

enum class SpectralProcessor {
    // v = N in 0..64. Harmonic k (0..64) scaled by clamp(N - k + 1, 0, 1): everything up to
    // floor(N) kept, the next one weighted by the fraction of N, the rest removed.
    LowPass,
    // v = N in 0..64. Harmonic k scaled by clamp(k - N + 1, 0, 1): everything from ceil(N) on
    // kept, the one below weighted by ceil(N) - N, the rest (DC too, for N >= 1) removed.
    HighPass,
    // v = amount A in 0..100 %. Even harmonics 2, 4, ..., 64 scaled by 1 - A/100; DC stays.
    KeepOdd,
    // v = amount A in 0..100 %. Odd harmonics 1, 3, ..., 63 scaled by 1 - A/100.
    KeepEven,
    // v = S in -64..64, rounded half away from zero per wave. Harmonic k (1..64) moves to k + S
    // with its magnitude and phase; what lands outside 1..64 is dropped, DC stays. A harmonic
    // landing on 64 keeps only its cosine part, as 64 is real.
    Shift,
    // v = amount A in 0..100 %. P_k (k = 1..63) turns along the shorter arc toward 0 by A/100
    // of the way: P := P + A/100 * wrap(0 - P). Magnitudes, DC and 64 stay.
    ZeroPhases,
    // As ZeroPhases toward a random target R_k = Random(36000) / 100 degrees, drawn for
    // k = 1..63 of each wave in order, waves ascending, whatever the amount. The caller seeds
    // the generator as the generator command does.
    RandomPhases,
    // v = amount A in 0..100 %. DC scaled by 1 - A/100.
    RemoveDC,
    // v = level L in 0..100 %. The wave scaled by L/100 * FS / max|s[n]|, so that its peak
    // becomes L % of full scale; a silent wave stays silent.
    Normalise,
    // No values. With a = from, b = to and t = (w - a) / (b - a): M_k := (1 - t) M_k(a) +
    // t M_k(b), P_k := P_k(a) + t * wrap(P_k(b) - P_k(a)) (the shorter arc); for the real DC and
    // 64, the signed value is interpolated. The first and last wave stay as they are; a single
    // wave throws Error.
    Morph,
};

struct ProcessorSettings {
    SpectralProcessor Kind = SpectralProcessor::LowPass;
    double Start = 0; // the value for the first wave of the range
    double End = 0;   // the value for the last wave
    bool AllowOverflow = false;
};

// The value for wave w of from..to by the formula above.
double SweepValue(double start, double end, int wave, int from, int to);

// Runs the processor over waves from..to (wave numbers, ascending; clamped to 1..64). A wave
// whose result leaves +-FS is left as it was unless overflow is allowed (then clipped): Overflow
// and RestoredWaves say which. A start or end value outside the processor's range throws Error
// with the text to show, before anything changes. `random` is used by RandomPhases only.
EditResult ApplyProcessor(Wavetable &table, const ProcessorSettings &settings, int from, int to,
                          RandomGenerator &random);

// The value range of each processor, for the window's hints and the check above.
struct ProcessorRange {
    double Min = 0;
    double Max = 0;
};
ProcessorRange RangeOf(SpectralProcessor kind);

} // namespace morvane::edit
