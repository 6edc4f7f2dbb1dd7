#include "edit/spectrum.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <numbers>

#include <fftw3.h>

#include "document/error.h"

namespace morvane::edit {

namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
constexpr double kHalfTurn = 180.0;
constexpr double kFullTurn = 360.0;
constexpr int kBinCount = kSampleCount / 2 + 1; // 65 complex bins of a real 128-point transform

// The two 128-point plans, made once at first use on whichever thread asks first and then only
// executed (FFTW's execute functions are thread-safe; its planner is not, and runs only here).
// Unaligned plans, so that every call can pass arrays of its own on the stack and no edit
// allocates.
struct Plans {
    fftw_plan Forward = nullptr;
    fftw_plan Backward = nullptr;

    Plans() {
        double *time = fftw_alloc_real(kSampleCount);
        fftw_complex *bins = fftw_alloc_complex(kBinCount);
        Forward = fftw_plan_dft_r2c_1d(kSampleCount, time, bins, FFTW_ESTIMATE | FFTW_UNALIGNED);
        Backward = fftw_plan_dft_c2r_1d(kSampleCount, bins, time,
                                        FFTW_ESTIMATE | FFTW_UNALIGNED | FFTW_DESTROY_INPUT);
        fftw_free(time);
        fftw_free(bins);
    }
    ~Plans() {
        fftw_destroy_plan(Forward);
        fftw_destroy_plan(Backward);
    }
    Plans(const Plans &) = delete;
    Plans &operator=(const Plans &) = delete;
};

const Plans &ThePlans() {
    static const Plans plans;
    return plans;
}

bool IsReal(int k) {
    return k == 0 || k == kTopHarmonic;
}

int ClampHarmonic(int k) {
    return std::clamp(k, 0, kTopHarmonic);
}

} // namespace

void ReadWave(const Wavetable &table, int waveIndex, std::array<std::int32_t, kSampleCount> &out) {
    for (int n = 0; n < kSampleCount; ++n)
        out[static_cast<std::size_t>(n)] = ReadSample(table, waveIndex, n);
}

void Analyse(const std::array<std::int32_t, kSampleCount> &samples, Spectrum &spectrum) {
    std::array<double, kSampleCount> time{};
    for (std::size_t n = 0; n < time.size(); ++n)
        time[n] = samples[n];
    Analyse(time, spectrum);
}

void Analyse(const std::array<double, kSampleCount> &samples, Spectrum &spectrum) {
    std::array<double, kSampleCount> time = samples; // FFTW takes a non-const input
    std::array<std::complex<double>, kBinCount> bins{};
    fftw_execute_dft_r2c(ThePlans().Forward, time.data(),
                         reinterpret_cast<fftw_complex *>(bins.data()));
    const double real = kSampleCount * kSpectrumScale; // X_0 and X_64: the value times 128 FS
    const double complex = real / 2;                   // the other bins carry half each
    for (int k = 0; k <= kTopHarmonic; ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (IsReal(k)) {
            spectrum.Cos[i] = bins[i].real() / real;
            spectrum.Sin[i] = 0;
        } else {
            spectrum.Cos[i] = bins[i].real() / complex;
            spectrum.Sin[i] = -bins[i].imag() / complex;
        }
    }
}

Spectrum Analyse(const Wavetable &table, int waveIndex) {
    std::array<std::int32_t, kSampleCount> samples{};
    ReadWave(table, waveIndex, samples);
    Spectrum spectrum;
    Analyse(samples, spectrum);
    return spectrum;
}

void Synthesise(const Spectrum &spectrum, std::array<double, kSampleCount> &samples) {
    // The unnormalised inverse: y[n] = Y_0 + Y_64 (-1)^n + 2 Re sum_{1..63} Y_k e^(2 pi i k n/128),
    // so Y_k = FS (Cos - i Sin) / 2 gives FS (Cos cos + Sin sin) for each inner harmonic.
    std::array<std::complex<double>, kBinCount> bins{};
    for (int k = 0; k <= kTopHarmonic; ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (IsReal(k))
            bins[i] = {spectrum.Cos[i] * kSpectrumScale, 0.0};
        else
            bins[i] = {spectrum.Cos[i] * kSpectrumScale / 2, -spectrum.Sin[i] * kSpectrumScale / 2};
    }
    fftw_execute_dft_c2r(ThePlans().Backward, reinterpret_cast<fftw_complex *>(bins.data()),
                         samples.data());
}

double Magnitude(const Spectrum &spectrum, int k) {
    k = ClampHarmonic(k);
    const auto i = static_cast<std::size_t>(k);
    if (IsReal(k))
        return std::abs(spectrum.Cos[i]);
    return std::hypot(spectrum.Cos[i], spectrum.Sin[i]);
}

double WrapDegrees(double degrees) {
    double wrapped = std::fmod(degrees, kFullTurn); // (-360, 360)
    if (wrapped > kHalfTurn)
        wrapped -= kFullTurn;
    else if (wrapped <= -kHalfTurn)
        wrapped += kFullTurn;
    return wrapped == 0 ? 0.0 : wrapped; // no negative zero
}

double PhaseDegrees(const Spectrum &spectrum, int k) {
    k = ClampHarmonic(k);
    const auto i = static_cast<std::size_t>(k);
    if (Magnitude(spectrum, k) < kNegligibleMagnitude)
        return 0.0;
    if (IsReal(k))
        return spectrum.Cos[i] > 0 ? kHalfTurn / 2 : -kHalfTurn / 2;
    return WrapDegrees(std::atan2(spectrum.Cos[i], spectrum.Sin[i]) * kDegreesPerRadian);
}

void SetHarmonic(Spectrum &spectrum, int k, double magnitude, double phaseDegrees) {
    k = ClampHarmonic(k);
    const auto i = static_cast<std::size_t>(k);
    const double radians = phaseDegrees / kDegreesPerRadian;
    spectrum.Cos[i] = magnitude * std::sin(radians);
    spectrum.Sin[i] = IsReal(k) ? 0.0 : magnitude * std::cos(radians);
}

void SetMagnitude(Spectrum &spectrum, int k, double magnitude) {
    k = ClampHarmonic(k);
    const auto i = static_cast<std::size_t>(k);
    const double old = Magnitude(spectrum, k);
    if (old < kNegligibleMagnitude) {
        if (IsReal(k))
            spectrum.Cos[i] = magnitude;
        else
            SetHarmonic(spectrum, k, magnitude, 0.0);
        return;
    }
    const double factor = magnitude / old;
    spectrum.Cos[i] *= factor;
    spectrum.Sin[i] *= factor;
}

void SetPhase(Spectrum &spectrum, int k, double phaseDegrees) {
    k = ClampHarmonic(k);
    const auto i = static_cast<std::size_t>(k);
    if (IsReal(k)) {
        const double wrapped = WrapDegrees(phaseDegrees);
        if (wrapped > 0 && wrapped < kHalfTurn)
            spectrum.Cos[i] = std::abs(spectrum.Cos[i]);
        else if (wrapped < 0)
            spectrum.Cos[i] = -std::abs(spectrum.Cos[i]);
        return;
    }
    SetHarmonic(spectrum, k, Magnitude(spectrum, k), phaseDegrees);
}

bool StoreSynthesis(Wavetable &table, int waveIndex, const std::array<double, kSampleCount> &wave,
                    bool allowOverflow) {
    constexpr double limit = kMaxSample;
    std::array<std::int32_t, kSampleCount> rounded{};
    bool overflow = false;
    for (std::size_t n = 0; n < wave.size(); ++n) {
        const double v = std::nearbyint(wave[n]); // the default rounding: ties to even
        if (!(std::abs(v) <= limit)) {            // NaN counts as out of range too
            overflow = true;
            rounded[n] = std::isnan(v) ? 0 : (v > 0 ? kMaxSample : -kMaxSample);
        } else {
            rounded[n] = static_cast<std::int32_t>(v);
        }
    }
    if (overflow && !allowOverflow)
        return true;
    for (int n = 0; n < kSampleCount; ++n)
        WriteSample(table, waveIndex, n, rounded[static_cast<std::size_t>(n)]);
    return false;
}

EditResult SetHarmonicOfWaves(Wavetable &table, int from, int to, int k, double magnitude,
                              double phaseDegrees, bool allowOverflow) {
    if (k < 0 || k > kTopHarmonic)
        throw Error("The harmonic must lie from 0 to 64");
    if (!std::isfinite(magnitude) || magnitude < 0 || !std::isfinite(phaseDegrees))
        throw Error("The magnitude must be a number of 0 or more and the phase a number");
    EditResult result;
    std::array<double, kSampleCount> wave{};
    for (int w = std::max(from, 1); w <= std::min(to, kWaveCount); ++w) {
        Spectrum spectrum = Analyse(table, w - 1);
        SetHarmonic(spectrum, k, magnitude, phaseDegrees);
        Synthesise(spectrum, wave);
        if (StoreSynthesis(table, w - 1, wave, allowOverflow)) {
            result.Overflow = true;
            result.RestoredWaves.push_back(w);
        }
    }
    return result;
}

std::string HarmonicLine(const Spectrum &spectrum, int k) {
    constexpr double kHundredths = 100.0;
    double phase = std::round(PhaseDegrees(spectrum, k) * kHundredths) / kHundredths;
    if (phase <= -kHalfTurn)
        phase += kFullTurn;
    if (phase == 0)
        phase = 0.0; // "-0.00" never shows
    char text[96];
    std::snprintf(text, sizeof text, "harmonic: %d %.6f %.2f", ClampHarmonic(k),
                  Magnitude(spectrum, k), phase);
    return text;
}

} // namespace morvane::edit
