#include "exchange/resample.h"

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

namespace morvane::exchange {
namespace {

using Complex = std::complex<long double>;

// The discrete Fourier transform by its definition, in extended precision: independent of FFTW.
std::vector<Complex> Dft(const std::vector<double> &x) {
    const std::size_t n = x.size();
    std::vector<Complex> bins(n);
    const long double step = -2.0L * std::numbers::pi_v<long double> / static_cast<long double>(n);
    std::vector<Complex> twiddle(n);
    for (std::size_t j = 0; j < n; ++j)
        twiddle[j] = std::polar(1.0L, step * static_cast<long double>(j));
    for (std::size_t k = 0; k < n; ++k) {
        Complex sum = 0;
        for (std::size_t t = 0; t < n; ++t)
            sum += static_cast<long double>(x[t]) * twiddle[(k * t) % n];
        bins[k] = sum;
    }
    return bins;
}

// Band-limited resampling from the definition: the periodic signal whose harmonics are those of
// the input below out/2, with harmonic out/2 folded (down) or split (up), sampled at out points.
std::vector<double> ReferenceResample(const std::vector<double> &x, std::size_t out) {
    const std::size_t in = x.size();
    const std::vector<Complex> bins = Dft(x);
    const std::size_t shorter = std::min(in, out);
    std::vector<double> y(out);
    for (std::size_t m = 0; m < out; ++m) {
        const long double phase =
            2.0L * std::numbers::pi_v<long double> * static_cast<long double>(m) / out;
        long double sum = bins[0].real();
        for (std::size_t k = 1; 2 * k < shorter; ++k)
            sum += 2.0L * (bins[k] * std::polar(1.0L, phase * static_cast<long double>(k))).real();
        if (shorter % 2 == 0) {
            const std::size_t h = shorter / 2;
            if (in > out) {
                // Harmonic h of the input, bins +h and -h, lands on the output's Nyquist
                // frequency, where e^(i pi m) = (-1)^m.
                sum += (bins[h] + bins[in - h]).real() * ((m % 2 == 0) ? 1.0L : -1.0L);
            } else {
                // The input's Nyquist bin, half at +h and half at -h on the finer grid.
                sum += bins[h].real() * std::cos(phase * static_cast<long double>(h));
            }
        }
        y[m] = static_cast<double>(sum / static_cast<long double>(in));
    }
    return y;
}

std::vector<double> Noise(std::size_t n, std::uint32_t seed) {
    std::vector<double> x(n);
    for (double &v : x) {
        seed = seed * 1664525u + 1013904223u;
        v = static_cast<double>(seed) / 4294967296.0 * 2.0 - 1.0;
    }
    return x;
}

std::vector<double> Resampled(const std::vector<double> &x, std::size_t out) {
    PeriodResampler resampler(x.size(), out);
    std::vector<double> y(out);
    resampler.Run(x, y);
    return y;
}

TEST(PeriodResampler, MatchesTheDefinitionGoingDownAndUp) {
    // Even and odd lengths on both sides of 128, and the export's 128 -> 2048.
    const std::pair<std::size_t, std::size_t> cases[] = {{2048, 128}, {1000, 128}, {999, 128},
                                                         {256, 128},  {130, 128},  {100, 128},
                                                         {99, 128},   {64, 128},   {128, 2048}};
    for (const auto &[in, out] : cases) {
        SCOPED_TRACE(std::to_string(in) + " -> " + std::to_string(out));
        const std::vector<double> x = Noise(in, static_cast<std::uint32_t>(in));
        const std::vector<double> expected = ReferenceResample(x, out);
        const std::vector<double> got = Resampled(x, out);
        for (std::size_t m = 0; m < out; ++m)
            ASSERT_NEAR(got[m], expected[m], 1e-9) << "sample " << m;
    }
}

TEST(PeriodResampler, KeepsHarmonicsBelowNyquistAndDropsThoseAbove) {
    constexpr double kTwoPi = 2.0 * std::numbers::pi;
    std::vector<double> x(2048);
    for (std::size_t n = 0; n < x.size(); ++n) {
        const double t = static_cast<double>(n) / 2048.0;
        // 3 and 63 stay; 64 as a cosine folds onto the Nyquist bin; 64 as a sine and 100 vanish.
        x[n] = 0.5 * std::sin(kTwoPi * 3 * t) + 0.25 * std::cos(kTwoPi * 63 * t) +
               0.125 * std::cos(kTwoPi * 64 * t) + 0.3 * std::sin(kTwoPi * 64 * t) +
               0.2 * std::sin(kTwoPi * 100 * t);
    }
    const std::vector<double> y = Resampled(x, 128);
    for (std::size_t m = 0; m < 128; ++m) {
        const double t = static_cast<double>(m) / 128.0;
        const double expected = 0.5 * std::sin(kTwoPi * 3 * t) + 0.25 * std::cos(kTwoPi * 63 * t) +
                                0.125 * ((m % 2) ? -1.0 : 1.0);
        ASSERT_NEAR(y[m], expected, 1e-12) << "sample " << m;
    }
}

TEST(PeriodResampler, UpsamplingPassesThroughTheSamplesAndComesBackExactly) {
    const std::vector<double> x = Noise(128, 7);
    const std::vector<double> up = Resampled(x, 2048);
    for (std::size_t k = 0; k < 128; ++k)
        ASSERT_NEAR(up[16 * k], x[k], 1e-12) << "sample " << k;
    const std::vector<double> back = Resampled(up, 128);
    for (std::size_t k = 0; k < 128; ++k)
        ASSERT_NEAR(back[k], x[k], 1e-12) << "sample " << k;
    // The same length is a copy.
    EXPECT_EQ(Resampled(x, 128), x);
}

TEST(PeriodResampler, RefusesWrongLengths) {
    EXPECT_THROW(PeriodResampler(0, 128), std::invalid_argument);
    PeriodResampler resampler(256, 128);
    std::vector<double> in(255), out(128);
    EXPECT_THROW(resampler.Run(in, out), std::invalid_argument);
}

} // namespace
} // namespace morvane::exchange
