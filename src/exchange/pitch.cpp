// Pitch: parsing and naming pitches, and tracking the period of a recording over a region.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <complex>
#include <numbers>
#include <span>
#include <vector>

#include <fftw3.h>

#include "document/error.h"
#include "exchange/limits.h"
#include "exchange/resynthesis.h"
#include "exchange/sinc_sampler.h"

namespace morvane::exchange {

namespace {

constexpr double kConcertA = 440.0; // A4, equal temperament
constexpr int kConcertAKey = 69;    // A4's key number (MIDI), C-1 being key 0
constexpr int kSemitonesPerOctave = 12;
constexpr double kCentsPerSemitone = 100.0;
const double kSemitone = std::exp2(1.0 / kSemitonesPerOctave);
constexpr std::array<const char *, kSemitonesPerOctave> kNoteNames = {
    "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
// Semitones above C of the letters C D E F G A B.
constexpr std::array<int, 7> kLetterSemitones = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G

// YIN's absolute threshold: the first dip of the normalised difference below it is the period
// (de Cheveigne and Kawahara 2002 use 0.1 to 0.15).
constexpr double kDipThreshold = 0.15;
// A point counts as pitched when the normalised difference at its period is below this; noise
// stays near 1, a clean tone near 0.
constexpr double kPitchedThreshold = 0.3;
// The sample rates pitch is tracked at: 2 kHz is then at least 2 samples a period, and the
// analysis of 64 points holds at most some 20 MB.
constexpr int kLowestTrackedRate = 4000;
constexpr int kHighestTrackedRate = 768000;
// A frame whose level lies 60 dB below the file's peak is silence.
constexpr double kSilenceRatio = 1e-3;
// Neighbouring points (64 over the region) may differ by up to this ratio of periods: a deep
// vibrato or a fast glide, yet no jump of an octave.
constexpr double kNeighbourRatio = 1.2;
// The fine search looks at differences over two periods, but never fewer samples than the
// first (short periods) nor more than the second (long ones, where two periods would cost much
// and a part of one measures as well).
constexpr int kFineWindowMin = 128;
constexpr int kFineWindowMax = 1024;
// Half-widths of the successive parabola fits of the fine search, in samples: each fit is exact
// to well within the next, and the last one leaves the period within about 1e-7 samples.
constexpr std::array<double, 7> kFineSteps = {0.5, 0.05, 5e-3, 5e-4, 5e-5, 5e-6, 1e-6};

std::string Fixed2(double value) {
    return FixedDecimals(value, 2);
}

std::string SecondsText(const AudioFile &file, std::int64_t sample) {
    return FixedDecimals(SecondsAt(file, static_cast<double>(sample)), 3) + " s";
}

// The difference function of YIN, d(tau) = sum_{j<W} (x_j - x_{j+tau})^2 for tau = 0..maxLag,
// by one cross-correlation through FFTW (the direct sum would cost W * maxLag per frame).
class DifferenceFunction {
public:
    DifferenceFunction(int window, int maxLag) : window_(window), maxLag_(maxLag) {
        size_ = 1;
        while (size_ < window + maxLag)
            size_ *= 2;
        const auto bins = static_cast<std::size_t>(size_ / 2 + 1);
        time_ = fftw_alloc_real(static_cast<std::size_t>(size_));
        whole_ = fftw_alloc_complex(bins);
        head_ = fftw_alloc_complex(bins);
        forward_ = fftw_plan_dft_r2c_1d(size_, time_, head_, FFTW_ESTIMATE);
        backward_ = fftw_plan_dft_c2r_1d(size_, head_, time_, FFTW_ESTIMATE);
        squares_.resize(static_cast<std::size_t>(window + maxLag) + 1);
    }
    ~DifferenceFunction() {
        fftw_destroy_plan(forward_);
        fftw_destroy_plan(backward_);
        fftw_free(time_);
        fftw_free(whole_);
        fftw_free(head_);
    }
    DifferenceFunction(const DifferenceFunction &) = delete;
    DifferenceFunction &operator=(const DifferenceFunction &) = delete;

    int FrameLength() const { return window_ + maxLag_; }

    // frame holds FrameLength() samples, d maxLag + 1 values. Returns the frame's mean square.
    double Run(const double *frame, std::span<double> d) {
        const auto frameLength = static_cast<std::size_t>(FrameLength());
        const auto size = static_cast<std::size_t>(size_);
        const auto window = static_cast<std::size_t>(window_);
        std::fill(time_, time_ + size, 0.0);
        std::copy(frame, frame + frameLength, time_);
        fftw_execute_dft_r2c(forward_, time_, whole_);
        std::fill(time_ + window, time_ + size, 0.0);
        fftw_execute(forward_); // time_ -> head_
        const auto bins = size / 2 + 1;
        for (std::size_t k = 0; k < bins; ++k) {
            const std::complex<double> a(head_[k][0], head_[k][1]);
            const std::complex<double> b(whole_[k][0], whole_[k][1]);
            const std::complex<double> product = std::conj(a) * b;
            head_[k][0] = product.real();
            head_[k][1] = product.imag();
        }
        fftw_execute(backward_); // head_ -> time_: size * sum_j x_j x_{j+tau}
        squares_[0] = 0.0;
        for (std::size_t j = 0; j < frameLength; ++j)
            squares_[j + 1] = squares_[j] + frame[j] * frame[j];
        const double head = squares_[window];
        for (std::size_t tau = 0; tau < d.size(); ++tau) {
            const double shifted = squares_[tau + window] - squares_[tau];
            const double correlation = time_[tau] / static_cast<double>(size);
            d[tau] = std::max(0.0, head + shifted - 2.0 * correlation);
        }
        d[0] = 0.0;
        return squares_[frameLength] / static_cast<double>(frameLength);
    }

private:
    int window_;
    int maxLag_;
    int size_ = 1;
    double *time_ = nullptr;
    fftw_complex *whole_ = nullptr;
    fftw_complex *head_ = nullptr;
    fftw_plan forward_ = nullptr;
    fftw_plan backward_ = nullptr;
    std::vector<double> squares_;
};

// YIN's cumulative mean normalised difference: d'(tau) = d(tau) * tau / sum_{1..tau} d, 1 at
// tau = 0, so that a dip means "this lag repeats the signal", whatever its level.
void CumulativeNormalise(std::span<double> d) {
    double sum = 0.0;
    d[0] = 1.0;
    for (std::size_t tau = 1; tau < d.size(); ++tau) {
        sum += d[tau];
        d[tau] = sum > 0.0 ? d[tau] * static_cast<double>(tau) / sum : 1.0;
    }
}

// The lag of the smallest value of row in lags low..high (bounded by the row).
int LowestIn(std::span<const double> row, int low, int high) {
    high = std::clamp(high, 1, static_cast<int>(row.size()) - 1);
    low = std::clamp(low, 1, high);
    int best = low;
    for (int tau = low; tau <= high; ++tau)
        if (row[static_cast<std::size_t>(tau)] < row[static_cast<std::size_t>(best)])
            best = tau;
    return best;
}

// YIN's choice: the first dip below the threshold followed down to its bottom, or else the
// lowest value.
int FirstDip(std::span<const double> row, int low, int high) {
    high = std::clamp(high, 1, static_cast<int>(row.size()) - 1);
    for (int tau = std::clamp(low, 1, high); tau <= high; ++tau) {
        if (row[static_cast<std::size_t>(tau)] < kDipThreshold) {
            while (tau + 1 <= high &&
                   row[static_cast<std::size_t>(tau + 1)] < row[static_cast<std::size_t>(tau)])
                ++tau;
            return tau;
        }
    }
    return LowestIn(row, low, high);
}

// The vertex of the parabola through (-1, a), (0, b), (1, c), within half a sample.
double Vertex(double a, double b, double c) {
    const double denominator = a - 2.0 * b + c;
    if (!(denominator > 0.0))
        return 0.0;
    return std::clamp(0.5 * (a - c) / denominator, -0.5, 0.5);
}

// Where a stretch of `length` samples around `centre` is analysed: centred on it, kept within
// the region where the region holds it (so that what the user left out does not count), and
// always within low..high (the file's bounds for that stretch; low <= high).
std::int64_t PlaceStretch(double centre, std::int64_t length, Region region, std::int64_t low,
                          std::int64_t high) {
    auto start = static_cast<std::int64_t>(std::floor(centre - static_cast<double>(length) / 2));
    if (region.End - region.Start >= length)
        start = std::clamp(start, region.Start, region.End - length);
    return std::clamp(start, low, high);
}

// The period at a point, to a small fraction of a sample, near the lag that the frame around it
// gave. The frame spans many periods; the period here is measured over two: the difference
// between a stretch of two periods and the stretch a lag later, both together centred on the
// point, first at whole lags a semitone either side, then between samples through the
// band-limited sampler by parabolas of shrinking width (near its minimum the difference is a
// parabola in the lag). A Hann window weights the difference, so that where the wave's steepest
// part happens to fall does not pull the measure off the point when the pitch moves.
double RefinePeriod(const SincSampler &sampler, std::span<const double> row, int lag, double centre,
                    Region region) {
    double coarse = lag;
    if (lag >= 1 && lag + 1 < static_cast<int>(row.size()))
        coarse += Vertex(row[static_cast<std::size_t>(lag - 1)], row[static_cast<std::size_t>(lag)],
                         row[static_cast<std::size_t>(lag + 1)]);
    const std::span<const double> x = sampler.Signal();
    const auto size = static_cast<std::int64_t>(x.size());
    const int low = std::max(1, static_cast<int>(std::floor(lag / kSemitone)));
    const int high = static_cast<int>(std::ceil(lag * kSemitone));
    const std::int64_t window = std::clamp<std::int64_t>(2 * lag, kFineWindowMin, kFineWindowMax);
    // The stretches compared, with the sampler's taps around them, lie inside the file (the
    // fine search moves less than 3 samples from the whole lag).
    constexpr std::int64_t kMargin = SincSampler::kHalfTaps + 3;
    const std::int64_t reach = window + high + kMargin;
    if (reach + kMargin > size)
        return coarse;
    const std::int64_t start = PlaceStretch(centre, window + lag, region, kMargin, size - reach);
    const double *head = x.data() + start;
    std::vector<double> weight(static_cast<std::size_t>(window)); // Hann
    for (std::size_t n = 0; n < weight.size(); ++n)
        weight[n] = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * (static_cast<double>(n) + 0.5) /
                                         static_cast<double>(window));

    std::array<double, 3> around{}; // the differences at best - 1, best, best + 1
    int best = low;
    double bestValue = 0.0;
    std::vector<double> whole(static_cast<std::size_t>(high - low + 1));
    for (int tau = low; tau <= high; ++tau) {
        double sum = 0.0;
        for (std::int64_t n = 0; n < window; ++n) {
            const double e = head[n] - head[n + tau];
            sum += weight[static_cast<std::size_t>(n)] * e * e;
        }
        whole[static_cast<std::size_t>(tau - low)] = sum;
        if (tau == low || sum < bestValue) {
            best = tau;
            bestValue = sum;
        }
    }
    double t = best;
    if (best > low && best < high) {
        around = {whole[static_cast<std::size_t>(best - low - 1)], bestValue,
                  whole[static_cast<std::size_t>(best - low + 1)]};
        t += Vertex(around[0], around[1], around[2]);
    }
    const double local = t;

    SincSampler::Kernel kernel{};
    auto difference = [&](double tau) {
        const double floor = std::floor(tau);
        sampler.MakeKernel(tau - floor, kernel);
        const auto shift = static_cast<std::int64_t>(floor);
        double sum = 0.0;
        for (std::int64_t n = start; n < start + window; ++n) {
            const double e = x[static_cast<std::size_t>(n)] - sampler.Apply(kernel, n + shift);
            sum += weight[static_cast<std::size_t>(n - start)] * e * e;
        }
        return sum;
    };
    double here = difference(t);
    for (const double h : kFineSteps) {
        // A fit whose vertex lies beyond its points moves by h and fits again, a few times.
        for (int attempt = 0; attempt < 4; ++attempt) {
            const double below = difference(t - h);
            const double above = difference(t + h);
            const double denominator = below - 2.0 * here + above;
            if (!(denominator > 0.0))
                break;
            const double step = h * 0.5 * (below - above) / denominator;
            const double clamped = std::clamp(step, -h, h);
            t += clamped;
            here = difference(t);
            if (clamped == step)
                break;
        }
    }
    return std::fabs(t - best) <= 1.5 && std::isfinite(t) ? t : local;
}

std::string RegionText(const AudioFile &file, Region region) {
    return file.ShownName + " from " + SecondsText(file, region.Start) + " to " +
           SecondsText(file, region.End);
}

} // namespace

std::optional<double> ParsePitch(const std::string &text) {
    std::size_t first = text.find_first_not_of(" \t");
    std::size_t last = text.find_last_not_of(" \t");
    if (first == std::string::npos)
        return std::nullopt;
    const std::string trimmed = text.substr(first, last - first + 1);
    double hz = 0.0;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(trimmed[0])));
    if (letter >= 'A' && letter <= 'G') {
        std::size_t at = 1;
        int semitone = kLetterSemitones[static_cast<std::size_t>(letter - 'A')];
        if (at < trimmed.size() && (trimmed[at] == '#' || trimmed[at] == 'b')) {
            semitone += trimmed[at] == '#' ? 1 : -1;
            ++at;
        }
        int octave = 0;
        const char *begin = trimmed.data() + at;
        const char *end = trimmed.data() + trimmed.size();
        const auto [ptr, error] = std::from_chars(begin, end, octave);
        if (error != std::errc() || ptr != end || begin == end || *begin == '+' || octave < -1 ||
            octave > 9)
            return std::nullopt;
        const int key = (octave + 1) * kSemitonesPerOctave + semitone;
        hz = kConcertA * std::exp2(static_cast<double>(key - kConcertAKey) / kSemitonesPerOctave);
    } else {
        std::string number = trimmed;
        if (number.size() >= 2) {
            const std::string tail = number.substr(number.size() - 2);
            if ((tail[0] == 'H' || tail[0] == 'h') && (tail[1] == 'z' || tail[1] == 'Z')) {
                number.resize(number.size() - 2);
                while (!number.empty() && (number.back() == ' ' || number.back() == '\t'))
                    number.pop_back();
            }
        }
        const char *begin = number.data();
        const char *end = number.data() + number.size();
        const auto [ptr, error] = std::from_chars(begin, end, hz);
        if (error != std::errc() || ptr != end || begin == end)
            return std::nullopt;
    }
    if (!std::isfinite(hz) || hz < kLowestPitchHz || hz > kHighestPitchHz)
        return std::nullopt;
    return hz;
}

std::string BadPitchText(const std::string &text) {
    return "\"" + text +
           "\" is no pitch: enter a frequency from 20 to 2,000 Hz, such as \"220.5\", or a note "
           "name from \"E0\" to \"B6\", such as \"A3\", \"C#2\" or \"Bb1\".";
}

std::string NoteText(double hz) {
    if (!(hz > 0.0) || !std::isfinite(hz))
        return "?";
    const double key = kConcertAKey + kSemitonesPerOctave * std::log2(hz / kConcertA);
    const double nearest = std::round(key);
    auto cents = static_cast<long>(std::lround((key - nearest) * kCentsPerSemitone));
    const auto whole = static_cast<long>(nearest);
    const long octave = (whole >= 0 ? whole / kSemitonesPerOctave
                                    : (whole - kSemitonesPerOctave + 1) / kSemitonesPerOctave) -
                        1;
    const long index = whole - (octave + 1) * kSemitonesPerOctave;
    std::string text = std::string(kNoteNames[static_cast<std::size_t>(index)]) +
                       std::to_string(octave) + " " + (cents < 0 ? "-" : "+") +
                       std::to_string(cents < 0 ? -cents : cents) + " cents";
    return text;
}

std::string PitchText(double hz) {
    return Fixed2(hz) + " Hz (" + NoteText(hz) + ")";
}

std::string PitchLine(double periodSamples, int sampleRate) {
    const double hz = static_cast<double>(sampleRate) / periodSamples;
    return "pitch: " + PitchText(hz) + ", period " + Fixed2(periodSamples) + " samples";
}

PitchTrack TrackPitch(const AudioFile &file, Region region, int count,
                      std::optional<double> pitchHz) {
    const auto size = static_cast<std::int64_t>(file.Samples.size());
    if (count < 1 || count > kWaveCount)
        throw Error("Cycles are taken 1 to 64 at a time, not " + std::to_string(count) + ".");
    if (region.Start < 0 || region.End > size || region.End <= region.Start)
        throw Error("The region from sample " + std::to_string(region.Start) + " to " +
                    std::to_string(region.End) + " lies outside " + file.ShownName + ".");
    if (pitchHz && !(*pitchHz >= kLowestPitchHz && *pitchHz <= kHighestPitchHz))
        throw Error(BadPitchText(Fixed2(pitchHz.value_or(0.0))));
    // Outside these rates a period of the pitches looked for would be under two samples, or
    // the analysis would take more memory than the file.
    if (file.SampleRate < kLowestTrackedRate || file.SampleRate > kHighestTrackedRate)
        throw Error(file.ShownName + " has a sample rate of " +
                    GroupedNumber(static_cast<std::uint64_t>(std::max(file.SampleRate, 0))) +
                    " Hz; pitches are found at rates from 4,000 to 768,000 Hz.");
    const double rate = file.SampleRate;
    const double length = static_cast<double>(region.End - region.Start);

    // The lags looked at: the whole range, or a semitone either side of the pitch given.
    const double given = pitchHz ? rate / *pitchHz : 0.0;
    int lowLag = pitchHz ? static_cast<int>(std::floor(given / kSemitone))
                         : static_cast<int>(std::floor(rate / kHighestPitchHz));
    lowLag = std::max(lowLag, 2);
    int maxLag =
        static_cast<int>(std::ceil(pitchHz ? given * kSemitone : rate / kLowestPitchHz)) + 1;
    // A short file is analysed as far as it reaches: lags up to half of it.
    maxLag = static_cast<int>(std::min<std::int64_t>(maxLag, size / 2));
    const bool analysable = maxLag >= lowLag + 1;

    double peak = 0.0;
    for (const double v : file.Samples)
        peak = std::max(peak, std::fabs(v));
    const double silence = peak * kSilenceRatio * peak * kSilenceRatio;

    PitchTrack track;
    track.Count = count;
    std::array<double, kWaveCount> centre{};
    for (int i = 0; i < count; ++i)
        centre[static_cast<std::size_t>(i)] =
            static_cast<double>(region.Start) + (i + 0.5) * length / count;

    // The normalised difference at every point, kept for the second, guided look.
    const auto rowLength = static_cast<std::size_t>(std::max(maxLag, 0)) + 1;
    std::vector<double> rowStore(rowLength * static_cast<std::size_t>(count), 1.0);
    auto rows = [&](std::size_t i) {
        return std::span<double>(rowStore).subspan(i * rowLength, rowLength);
    };
    std::array<bool, kWaveCount> silent{};
    std::array<int, kWaveCount> freeLag{};
    std::array<bool, kWaveCount> pitched{};
    int pitchedCount = 0;
    if (analysable) {
        DifferenceFunction differences(maxLag, maxLag);
        const std::int64_t frameLength = differences.FrameLength();
        for (int i = 0; i < count; ++i) {
            const auto at = static_cast<std::size_t>(i);
            const std::int64_t frameStart =
                PlaceStretch(centre[at], frameLength, region, 0, size - frameLength);
            const std::span<double> row = rows(at);
            const double meanSquare = differences.Run(file.Samples.data() + frameStart, row);
            CumulativeNormalise(row);
            silent[at] = !(meanSquare > silence) || peak == 0.0;
            freeLag[at] = pitchHz ? LowestIn(row, lowLag, maxLag) : FirstDip(row, lowLag, maxLag);
            pitched[at] =
                !silent[at] && row[static_cast<std::size_t>(freeLag[at])] < kPitchedThreshold;
            if (pitched[at])
                ++pitchedCount;
        }
    }

    const SincSampler sampler(file.Samples);
    if (pitchHz) {
        // The pitch given picks the octave; each point finds its own period near it, or takes
        // the given one where it finds none.
        for (int i = 0; i < count; ++i) {
            const auto at = static_cast<std::size_t>(i);
            track.Period[at] =
                pitched[at] ? RefinePeriod(sampler, rows(at), freeLag[at], centre[at], region)
                            : given;
        }
    } else {
        if (pitchedCount == 0 || 2 * pitchedCount < count)
            throw Error("No steady pitch found in " + RegionText(file, region) +
                        ". Enter the pitch by hand, as a frequency in Hz or a note name such as "
                        "\"A3\".");
        // Start from the point whose period is the median of the pitched ones, and follow the
        // pitch from neighbour to neighbour both ways, so that no point jumps an octave.
        std::vector<int> lags;
        for (int i = 0; i < count; ++i)
            if (pitched[static_cast<std::size_t>(i)])
                lags.push_back(freeLag[static_cast<std::size_t>(i)]);
        std::nth_element(lags.begin(), lags.begin() + static_cast<std::ptrdiff_t>(lags.size() / 2),
                         lags.end());
        const int medianLag = lags[lags.size() / 2];
        int origin = 0;
        for (int i = 0; i < count; ++i) {
            const auto at = static_cast<std::size_t>(i);
            if (pitched[at] &&
                (!pitched[static_cast<std::size_t>(origin)] ||
                 std::abs(freeLag[at] - medianLag) <
                     std::abs(freeLag[static_cast<std::size_t>(origin)] - medianLag)))
                origin = i;
        }
        const auto originAt = static_cast<std::size_t>(origin);
        track.Period[originAt] =
            RefinePeriod(sampler, rows(originAt), freeLag[originAt], centre[originAt], region);
        auto follow = [&](int i, int from) {
            const auto at = static_cast<std::size_t>(i);
            const double reference = track.Period[static_cast<std::size_t>(from)];
            const int low = static_cast<int>(std::floor(reference / kNeighbourRatio));
            const int high = static_cast<int>(std::ceil(reference * kNeighbourRatio));
            const int lag = LowestIn(rows(at), std::max(low, lowLag), std::min(high, maxLag));
            const bool found =
                !silent[at] && rows(at)[static_cast<std::size_t>(lag)] < kPitchedThreshold;
            track.Period[at] =
                found ? RefinePeriod(sampler, rows(at), lag, centre[at], region) : reference;
        };
        for (int i = origin + 1; i < count; ++i)
            follow(i, i - 1);
        for (int i = origin - 1; i >= 0; --i)
            follow(i, i + 1);
    }

    // Each cycle is centred on its point, kept within the region.
    for (int i = 0; i < count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const double period = track.Period[at];
        if (period > length)
            throw Error("The region of " + RegionText(file, region) +
                        " is shorter than one period of its pitch (" + Fixed2(period) +
                        " samples).");
        track.Start[at] = std::clamp(centre[at] - period / 2, static_cast<double>(region.Start),
                                     static_cast<double>(region.End) - period);
    }
    std::array<double, kWaveCount> sorted = track.Period;
    std::sort(sorted.begin(), sorted.begin() + count);
    track.MedianPeriod = count % 2 == 1 ? sorted[static_cast<std::size_t>(count / 2)]
                                        : (sorted[static_cast<std::size_t>(count / 2 - 1)] +
                                           sorted[static_cast<std::size_t>(count / 2)]) /
                                              2;
    return track;
}

} // namespace morvane::exchange
