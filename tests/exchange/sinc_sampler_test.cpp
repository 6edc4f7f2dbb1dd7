#include "exchange/sinc_sampler.h"

#include <cmath>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

namespace morvane::exchange {
namespace {

TEST(SincSampler, WholePositionsAreExactAndBetweenThemABandLimitedSignalComesBack) {
    // A sum of sines up to 0.8 of the Nyquist frequency, read at positions between samples
    // against the same sum evaluated there directly.
    const std::vector<double> frequencies = {0.01, 0.13, 0.31, 0.4}; // cycles per sample
    auto signal = [&](double t) {
        double sum = 0.0;
        for (std::size_t i = 0; i < frequencies.size(); ++i)
            sum +=
                0.25 * std::sin(2 * std::numbers::pi * frequencies[i] * t + static_cast<double>(i));
        return sum;
    };
    std::vector<double> x(1000);
    for (std::size_t n = 0; n < x.size(); ++n)
        x[n] = signal(static_cast<double>(n));
    const SincSampler sampler(x);
    for (std::size_t n = 0; n < x.size(); n += 37)
        EXPECT_EQ(sampler.At(static_cast<double>(n)), x[n]);
    double worst = 0.0;
    for (double t = 300.0; t < 700.0; t += 0.173)
        worst = std::max(worst, std::fabs(sampler.At(t) - signal(t)));
    EXPECT_LT(worst, 2e-6); // two units of the 21-bit scale
}

TEST(SincSampler, ReadsZerosOutsideTheSignalWithoutReadingPastIt) {
    const std::vector<double> x(5, 1.0);
    const SincSampler sampler(x);
    for (const double t : {-1e300, -100.0, -64.5, 69.0, 1e18, std::nan(""), HUGE_VAL})
        EXPECT_EQ(sampler.At(t), 0.0) << t;
    // Near the ends only the samples that exist count.
    EXPECT_EQ(sampler.At(4.0), 1.0);
    EXPECT_GT(sampler.At(4.5), 0.3);
    EXPECT_LT(sampler.At(4.5), 0.7);
    const SincSampler empty(std::span<const double>{});
    EXPECT_EQ(empty.At(0.0), 0.0);
    EXPECT_EQ(empty.At(0.5), 0.0);
}

} // namespace
} // namespace morvane::exchange
