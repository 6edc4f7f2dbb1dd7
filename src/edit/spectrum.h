#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "document/wave_message.h"
#include "edit/overflow.h"

// The harmonic view of a wave. A wave's 128 samples s[n] are the sum
//
//   s[n] = FS * sum_{k=0}^{64} M_k * sin(2*pi*k*n/128 + P_k),   FS = 1,048,575,
//
// with M_k the magnitude of harmonic k (1.0 = full scale) and P_k its phase in degrees, in the
// sine convention: the generator's full-scale sine has M_1 = 1, P_1 = 0. DC (k = 0) and the
// alternating component (k = 64) are real: their phase is 90 (positive) or -90 (negative).
namespace morvane::edit {

inline constexpr int kHarmonicCount = 65;            // k = 0..64
inline constexpr int kTopHarmonic = 64;              // the alternating component, +-1 per sample
inline constexpr double kSpectrumScale = kMaxSample; // FS of the sum above

// One wave in sine/cosine form, in units of FS:
//   s[n] = FS * sum_k (Cos[k] * cos(2*pi*k*n/128) + Sin[k] * sin(2*pi*k*n/128)),
// so M_k = hypot(Cos, Sin), P_k = atan2(Cos, Sin). For k = 0 and 64 the sine term is zero at
// every sample, so only Cos counts there (M = |Cos|). A plain value, 1 KiB.
struct Spectrum {
    std::array<double, kHarmonicCount> Cos{};
    std::array<double, kHarmonicCount> Sin{};
};

// The wave's spectrum by the discrete Fourier transform X_k = sum s[n] e^(-2*pi*i*k*n/128), in
// double precision: Cos[k] = 2 Re X_k / (128 FS), Sin[k] = -2 Im X_k / (128 FS) for k = 1..63,
// Cos[k] = X_k / (128 FS) for k = 0 and 64. waveIndex 0..63 (clamped by the table).
Spectrum Analyse(const Wavetable &table, int waveIndex);
void Analyse(const std::array<std::int32_t, kSampleCount> &samples, Spectrum &spectrum);
// The same for samples not yet rounded (the resynthesis of recorded cycles).
void Analyse(const std::array<double, kSampleCount> &samples, Spectrum &spectrum);

// The sum above in double precision, not yet rounded.
void Synthesise(const Spectrum &spectrum, std::array<double, kSampleCount> &samples);

// Below -120 dB of full scale (about one step of the sample scale) a harmonic is the rounding
// of the samples, not a sound: its phase shows as 0, and raising it starts from zero.
inline constexpr double kNegligibleMagnitude = 1e-6;

// Magnitude and phase of harmonic k (0..64, clamped). The phase lies in (-180, 180]; a
// negligible magnitude has phase 0.
double Magnitude(const Spectrum &spectrum, int k);
double PhaseDegrees(const Spectrum &spectrum, int k);

// Harmonic k := (magnitude, phase) as the sum above reads it: Cos = M sin P, Sin = M cos P.
// For k = 0 and 64 that leaves M sin P as the signed value.
void SetHarmonic(Spectrum &spectrum, int k, double magnitude, double phaseDegrees);
// Only the magnitude, keeping the phase; a harmonic raised from zero (a negligible magnitude)
// starts in sine phase
// (P = 0; for the real k = 0 and 64, P = 90, as a sine phase would give them nothing).
void SetMagnitude(Spectrum &spectrum, int k, double magnitude);
// Only the phase, keeping the magnitude. For k = 0 and 64 only the sign of sin P counts: a
// phase in (0, 180) makes the value positive, in (-180, 0) negative, and 0 or 180 leaves it.
void SetPhase(Spectrum &spectrum, int k, double phaseDegrees);

// A phase brought into (-180, 180].
double WrapDegrees(double degrees);

// Rounds the synthesis to whole samples (ties to even) and stores it in the wave, under the
// overflow rule: a sample beyond +-FS leaves the whole wave as it was and returns true, unless
// overflow is allowed, in which case every sample is clipped to +-FS. The instrument never
// receives a value it cannot take.
bool StoreSynthesis(Wavetable &table, int waveIndex, const std::array<double, kSampleCount> &wave,
                    bool allowOverflow);

// The samples of a wave, decoded.
void ReadWave(const Wavetable &table, int waveIndex, std::array<std::int32_t, kSampleCount> &out);

// Sets harmonic k (0..64) to (magnitude, phase) in each wave from..to (wave numbers, ascending;
// all 128 samples) and resynthesises it. Waves that would overflow are left as they were and
// listed in RestoredWaves; Overflow says whether any was. Out-of-range k or a negative or
// non-finite magnitude throws Error.
EditResult SetHarmonicOfWaves(Wavetable &table, int from, int to, int k, double magnitude,
                              double phaseDegrees, bool allowOverflow);

// "harmonic: K M P" with M to 6 decimals and P to 2 decimals, P in (-180, 180] after rounding
// and never "-0.00".
std::string HarmonicLine(const Spectrum &spectrum, int k);

} // namespace morvane::edit
