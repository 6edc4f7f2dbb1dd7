#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

// Reading a sampled signal between its samples. Pitch tracking measures periods to a fraction
// of a sample and resynthesis takes cycles that start and end between samples; both read the
// signal there through this one band-limited interpolator.
namespace morvane::exchange {

// Windowed-sinc interpolation: 64 taps of the sinc under a Kaiser window (beta 12, about
// 120 dB), looked up in a table of 2,048 fractional phases with linear blending between two
// phases. Frequencies up to about 0.85 of the Nyquist frequency come through to within about
// 1e-6 of full scale; at whole positions the samples come out exactly. Outside the signal it
// reads zeros, so every position is safe.
class SincSampler {
public:
    static constexpr int kHalfTaps = 32;
    static constexpr int kTaps = 2 * kHalfTaps;
    using Kernel = std::array<double, kTaps>;

    // The signal is viewed, not copied: it must outlive the sampler.
    explicit SincSampler(std::span<const double> signal);

    std::span<const double> Signal() const { return signal_; }
    // The signal at a position in samples.
    double At(double position) const;
    // The weights for a fractional part 0 <= fraction < 1: sample (whole - kHalfTaps + 1 + j)
    // takes weight j, for a position whole + fraction.
    void MakeKernel(double fraction, Kernel &kernel) const;
    // The signal at whole + the kernel's fraction.
    double Apply(const Kernel &kernel, std::int64_t whole) const;

private:
    std::span<const double> signal_;
    const std::vector<double> &table_; // (kPhases + 1) rows of kTaps weights, shared
};

} // namespace morvane::exchange
