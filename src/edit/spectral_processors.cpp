#include "edit/spectral_processors.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "document/error.h"
#include "edit/random.h"
#include "edit/spectrum.h"

namespace morvane::edit {

namespace {

constexpr double kPercent = 100.0;
constexpr std::uint32_t kRandomHundredths = 36000; // random phases in steps of 0.01 degree
constexpr double kHundredths = 100.0;

std::size_t Bin(int k) {
    return static_cast<std::size_t>(k);
}

void Scale(Spectrum &spectrum, int k, double gain) {
    spectrum.Cos[Bin(k)] *= gain;
    spectrum.Sin[Bin(k)] *= gain;
}

// Turns the phase of each inner harmonic toward its target by `fraction` of the shorter arc.
template <typename Target> void TurnPhases(Spectrum &spectrum, double fraction, Target target) {
    for (int k = 1; k < kTopHarmonic; ++k) {
        const double goal = target(k);
        const double p = PhaseDegrees(spectrum, k);
        SetHarmonic(spectrum, k, Magnitude(spectrum, k), p + fraction * WrapDegrees(goal - p));
    }
}

void ShiftHarmonics(Spectrum &spectrum, long shift) {
    const Spectrum old = spectrum;
    for (int k = 1; k <= kTopHarmonic; ++k) {
        spectrum.Cos[Bin(k)] = 0;
        spectrum.Sin[Bin(k)] = 0;
    }
    for (int k = 1; k <= kTopHarmonic; ++k) {
        const long target = k + shift;
        if (target < 1 || target > kTopHarmonic)
            continue;
        const auto t = static_cast<std::size_t>(target);
        spectrum.Cos[t] = old.Cos[Bin(k)];
        spectrum.Sin[t] = target == kTopHarmonic ? 0.0 : old.Sin[Bin(k)];
    }
}

void MorphSpectrum(const Spectrum &a, const Spectrum &b, double t, Spectrum &out) {
    for (int k = 0; k <= kTopHarmonic; ++k) {
        if (k == 0 || k == kTopHarmonic) {
            out.Cos[Bin(k)] = (1 - t) * a.Cos[Bin(k)] + t * b.Cos[Bin(k)];
            out.Sin[Bin(k)] = 0;
            continue;
        }
        const double m = (1 - t) * Magnitude(a, k) + t * Magnitude(b, k);
        const double pa = PhaseDegrees(a, k);
        SetHarmonic(out, k, m, pa + t * WrapDegrees(PhaseDegrees(b, k) - pa));
    }
}

// The processor at value v on one wave's spectrum (all but Morph).
void Process(Spectrum &spectrum, SpectralProcessor kind, double v, RandomGenerator &random,
             const std::array<std::int32_t, kSampleCount> &samples) {
    switch (kind) {
    case SpectralProcessor::LowPass:
        for (int k = 0; k <= kTopHarmonic; ++k)
            Scale(spectrum, k, std::clamp(v - k + 1, 0.0, 1.0));
        return;
    case SpectralProcessor::HighPass:
        for (int k = 0; k <= kTopHarmonic; ++k)
            Scale(spectrum, k, std::clamp(k - v + 1, 0.0, 1.0));
        return;
    case SpectralProcessor::KeepOdd:
        for (int k = 2; k <= kTopHarmonic; k += 2)
            Scale(spectrum, k, 1 - v / kPercent);
        return;
    case SpectralProcessor::KeepEven:
        for (int k = 1; k < kTopHarmonic; k += 2)
            Scale(spectrum, k, 1 - v / kPercent);
        return;
    case SpectralProcessor::Shift:
        ShiftHarmonics(spectrum, std::lround(v));
        return;
    case SpectralProcessor::ZeroPhases:
        TurnPhases(spectrum, v / kPercent, [](int) { return 0.0; });
        return;
    case SpectralProcessor::RandomPhases:
        TurnPhases(spectrum, v / kPercent,
                   [&random](int) { return random.Random(kRandomHundredths) / kHundredths; });
        return;
    case SpectralProcessor::RemoveDC:
        Scale(spectrum, 0, 1 - v / kPercent);
        return;
    case SpectralProcessor::Normalise: {
        std::int32_t peak = 0;
        for (const std::int32_t s : samples)
            peak = std::max(peak, s < 0 ? -s : s);
        if (peak == 0)
            return;
        const double gain = v / kPercent * kSpectrumScale / peak;
        for (int k = 0; k <= kTopHarmonic; ++k)
            Scale(spectrum, k, gain);
        return;
    }
    case SpectralProcessor::Morph:
        return;
    }
}

std::string Number(double v) {
    std::string text = std::to_string(v);
    text.erase(text.find_last_not_of('0') + 1);
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

} // namespace

ProcessorRange RangeOf(SpectralProcessor kind) {
    switch (kind) {
    case SpectralProcessor::LowPass:
    case SpectralProcessor::HighPass:
        return {0, kTopHarmonic};
    case SpectralProcessor::Shift:
        return {-kTopHarmonic, kTopHarmonic};
    case SpectralProcessor::Morph:
        return {0, 0};
    default:
        return {0, kPercent};
    }
}

double SweepValue(double start, double end, int wave, int from, int to) {
    if (to <= from)
        return start;
    return start + (end - start) * (wave - from) / (to - from);
}

EditResult ApplyProcessor(Wavetable &table, const ProcessorSettings &settings, int from, int to,
                          RandomGenerator &random) {
    const SpectralProcessor kind = settings.Kind;
    if (kind != SpectralProcessor::Morph) {
        const ProcessorRange range = RangeOf(kind);
        for (const double v : {settings.Start, settings.End})
            if (!(v >= range.Min && v <= range.Max)) // NaN fails too
                throw Error("The values must lie from " + Number(range.Min) + " to " +
                            Number(range.Max));
    }
    const int first = std::max(from, 1);
    const int last = std::min(to, kWaveCount);
    EditResult result;
    if (last < first)
        return result;
    if (kind == SpectralProcessor::Morph && last == first)
        throw Error("The spectral morph needs a selection of two waves or more");
    Spectrum startSpectrum;
    Spectrum endSpectrum;
    if (kind == SpectralProcessor::Morph) {
        startSpectrum = Analyse(table, first - 1);
        endSpectrum = Analyse(table, last - 1);
    }
    std::array<std::int32_t, kSampleCount> samples{};
    std::array<double, kSampleCount> wave{};
    Spectrum spectrum;
    for (int w = first; w <= last; ++w) {
        if (kind == SpectralProcessor::Morph) {
            const double t = last == first ? 0.0 : static_cast<double>(w - first) / (last - first);
            MorphSpectrum(startSpectrum, endSpectrum, t, spectrum);
        } else {
            ReadWave(table, w - 1, samples);
            Analyse(samples, spectrum);
            Process(spectrum, kind, SweepValue(settings.Start, settings.End, w, first, last),
                    random, samples);
        }
        Synthesise(spectrum, wave);
        if (StoreSynthesis(table, w - 1, wave, settings.AllowOverflow)) {
            result.Overflow = true;
            result.RestoredWaves.push_back(w);
        }
    }
    return result;
}

} // namespace morvane::edit
