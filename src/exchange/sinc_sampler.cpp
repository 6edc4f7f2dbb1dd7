#include "exchange/sinc_sampler.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace morvane::exchange {

namespace {

// Phases of the table: linear blending between neighbours is then within about 1e-7 of the
// kernel itself (the error goes as the square of the phase step).
constexpr int kPhases = 2048;
// Kaiser's beta for a side-lobe level of about -120 dB.
constexpr double kKaiserBeta = 12.0;

// The modified Bessel function of the first kind, order 0, by its power series; the terms fall
// below double precision within some 40 terms for the arguments used here (at most beta).
double BesselI0(double x) {
    const double quarterSquare = x * x / 4.0;
    double term = 1.0;
    double sum = 1.0;
    for (int k = 1; k < 100 && term > sum * 1e-17; ++k) {
        term *= quarterSquare / (static_cast<double>(k) * static_cast<double>(k));
        sum += term;
    }
    return sum;
}

// The kernel for every phase, made once for the whole run on first use (a constant of the
// program, like a table in the source: some 130,000 windowed sincs take a few tens of
// milliseconds, too long to repeat for each resynthesis).
const std::vector<double> &KernelTable() {
    static const std::vector<double> table = [] {
        constexpr int kTaps = SincSampler::kTaps;
        constexpr int kHalfTaps = SincSampler::kHalfTaps;
        std::vector<double> rows(static_cast<std::size_t>(kPhases + 1) * kTaps, 0.0);
        const double windowScale = 1.0 / BesselI0(kKaiserBeta);
        for (int p = 0; p <= kPhases; ++p) {
            const double fraction = static_cast<double>(p) / kPhases;
            double *row = &rows[static_cast<std::size_t>(p) * kTaps];
            for (int j = 0; j < kTaps; ++j) {
                const double distance = static_cast<double>(j - kHalfTaps + 1) - fraction;
                if (distance == 0.0) {
                    row[j] = 1.0;
                } else if (p != 0 && p != kPhases) {
                    // At whole positions every other weight is exactly 0, not sin(pi k) rounded.
                    const double x = std::numbers::pi * distance;
                    const double ratio = distance / kHalfTaps;
                    const double window =
                        ratio * ratio < 1.0
                            ? BesselI0(kKaiserBeta * std::sqrt(1.0 - ratio * ratio)) * windowScale
                            : 0.0;
                    row[j] = std::sin(x) / x * window;
                }
            }
        }
        return rows;
    }();
    return table;
}

} // namespace

SincSampler::SincSampler(std::span<const double> signal) : signal_(signal), table_(KernelTable()) {}

void SincSampler::MakeKernel(double fraction, Kernel &kernel) const {
    const double phase = std::clamp(fraction, 0.0, 1.0) * kPhases;
    const int p = std::min(static_cast<int>(phase), kPhases - 1);
    const double blend = phase - p;
    const double *low = &table_[static_cast<std::size_t>(p) * kTaps];
    const double *high = low + kTaps;
    for (int j = 0; j < kTaps; ++j)
        kernel[static_cast<std::size_t>(j)] = low[j] + (high[j] - low[j]) * blend;
}

double SincSampler::Apply(const Kernel &kernel, std::int64_t whole) const {
    const auto size = static_cast<std::int64_t>(signal_.size());
    const std::int64_t first = whole - kHalfTaps + 1;
    if (first >= 0 && first + kTaps <= size) {
        // Four running sums, so that the products do not wait on one another.
        const double *x = signal_.data() + first;
        std::array<double, 4> sums{};
        for (std::size_t j = 0; j < std::size(kernel); j += 4)
            for (std::size_t lane = 0; lane < 4; ++lane)
                sums[lane] += x[j + lane] * kernel[j + lane];
        return (sums[0] + sums[1]) + (sums[2] + sums[3]);
    }
    double sum = 0.0;
    for (int j = 0; j < kTaps; ++j) {
        const std::int64_t n = first + j;
        if (n >= 0 && n < size)
            sum += signal_[static_cast<std::size_t>(n)] * kernel[static_cast<std::size_t>(j)];
    }
    return sum;
}

double SincSampler::At(double position) const {
    // Beyond the taps' reach there is nothing but zeros (and no integer overflow for a far one).
    const auto size = static_cast<double>(signal_.size());
    if (!(position > -kTaps && position < size + kTaps))
        return 0.0;
    const double whole = std::floor(position);
    const auto n = static_cast<std::int64_t>(whole);
    const double fraction = position - whole;
    if (fraction == 0.0) {
        if (n < 0 || n >= static_cast<std::int64_t>(signal_.size()))
            return 0.0;
        return signal_[static_cast<std::size_t>(n)];
    }
    Kernel kernel{};
    MakeKernel(fraction, kernel);
    return Apply(kernel, n);
}

} // namespace morvane::exchange
