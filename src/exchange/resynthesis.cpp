#include "exchange/resynthesis.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <span>
#include <vector>

#include "document/error.h"
#include "edit/spectrum.h"
#include "exchange/limits.h"
#include "exchange/resample.h"
#include "exchange/sinc_sampler.h"

namespace morvane::exchange {

namespace {

// Leading and trailing samples below -60 dB of the file's peak are silence.
constexpr double kSilenceRatio = 1e-3;
// A fundamental this far below the wave's strongest harmonic gives no phase worth aligning to.
constexpr double kWeakFundamental = 1e-3;

using Cycle = std::array<double, kSampleCount>;

void AlignPhases(edit::Spectrum &spectrum) {
    double strongest = 0.0;
    for (int k = 1; k <= edit::kTopHarmonic; ++k)
        strongest = std::max(strongest, edit::Magnitude(spectrum, k));
    const double fundamental = edit::Magnitude(spectrum, 1);
    if (!(fundamental > kWeakFundamental * strongest))
        return;
    // Turning the wave so that harmonic 1 starts in sine phase turns harmonic k by k times that.
    const double theta = std::atan2(spectrum.Cos[1], spectrum.Sin[1]);
    for (int k = 1; k < edit::kTopHarmonic; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const std::complex<double> turned =
            std::complex<double>(spectrum.Sin[i], spectrum.Cos[i]) * std::polar(1.0, -k * theta);
        spectrum.Sin[i] = turned.real();
        spectrum.Cos[i] = turned.imag();
    }
    // The alternating component has no phase of its own: what a turn leaves of it.
    const auto top = static_cast<std::size_t>(edit::kTopHarmonic);
    spectrum.Cos[top] *= std::cos(edit::kTopHarmonic * theta);
}

void ZeroPhases(edit::Spectrum &spectrum) {
    for (int k = 1; k < edit::kTopHarmonic; ++k) {
        const auto i = static_cast<std::size_t>(k);
        spectrum.Sin[i] = std::hypot(spectrum.Cos[i], spectrum.Sin[i]);
        spectrum.Cos[i] = 0.0;
    }
    const auto top = static_cast<std::size_t>(edit::kTopHarmonic);
    spectrum.Cos[top] = std::fabs(spectrum.Cos[top]);
}

std::string SecondsText(double seconds) {
    return FixedDecimals(seconds, 3);
}

} // namespace

double SecondsAt(const AudioFile &file, double samplePosition) {
    const double rate = file.SampleRate > 0 ? file.SampleRate : kAssumedSampleRate;
    return samplePosition / rate;
}

Region DefaultRegion(const AudioFile &file) {
    const std::span<const double> x(file.Samples);
    double peak = 0.0;
    for (const double v : x)
        peak = std::max(peak, std::fabs(v));
    Region region{0, static_cast<std::int64_t>(x.size())};
    if (peak == 0.0)
        return region;
    const double floor = peak * kSilenceRatio;
    while (std::fabs(x[static_cast<std::size_t>(region.Start)]) < floor)
        ++region.Start;
    while (std::fabs(x[static_cast<std::size_t>(region.End - 1)]) < floor)
        --region.End;
    return region;
}

Region ChooseRegion(const AudioFile &file, std::optional<double> startSeconds,
                    std::optional<double> endSeconds) {
    const double rate = file.SampleRate > 0 ? file.SampleRate : kAssumedSampleRate;
    const auto size = static_cast<std::int64_t>(file.Samples.size());
    const double duration = static_cast<double>(size) / rate;
    Region region = DefaultRegion(file);
    auto toSample = [&](double seconds, const char *what) {
        if (!std::isfinite(seconds) || seconds < 0.0 || seconds > duration)
            throw Error(std::string("The ") + what + " time " + SecondsText(seconds) +
                        " s lies outside " + file.ShownName + ", which lasts " +
                        SecondsText(duration) + " s.");
        return std::clamp<std::int64_t>(std::llround(seconds * rate), 0, size);
    };
    if (startSeconds)
        region.Start = toSample(*startSeconds, "start");
    if (endSeconds)
        region.End = toSample(*endSeconds, "end");
    if (region.End <= region.Start)
        throw Error("The region of " + file.ShownName + " ends at " +
                    SecondsText(SecondsAt(file, static_cast<double>(region.End))) +
                    " s, not after its start at " +
                    SecondsText(SecondsAt(file, static_cast<double>(region.Start))) + " s.");
    return region;
}

ResynthWaves Resynthesise(const AudioFile &file, const ResynthSettings &settings) {
    if (settings.First < 1 || settings.Last > kWaveCount || settings.Last < settings.First)
        throw Error("The target waves " + std::to_string(settings.First) + " to " +
                    std::to_string(settings.Last) + " are no range of waves 1 to 64.");
    ResynthWaves result;
    result.First = settings.First;
    result.Count = settings.Last - settings.First + 1;
    result.Track = TrackPitch(file, settings.Span, result.Count, settings.PitchHz);
    const PitchTrack &track = result.Track;
    const double rate = file.SampleRate > 0 ? file.SampleRate : kAssumedSampleRate;
    result.PitchHz = rate / track.MedianPeriod;

    // Every cycle is read at the same number of points, at least one per sample of the longest
    // (so that reading it loses nothing), and that one period is resampled to 128 samples.
    double longest = 0.0;
    for (int i = 0; i < result.Count; ++i)
        longest = std::max(longest, track.Period[static_cast<std::size_t>(i)]);
    const auto points =
        static_cast<std::size_t>(std::max<long long>(kSampleCount, std::llround(longest)));
    const SincSampler sampler(file.Samples);
    PeriodResampler resampler(points, kSampleCount);
    std::vector<double> cycle(points);
    std::array<Cycle, kWaveCount> waves{};
    double peak = 0.0;
    for (int i = 0; i < result.Count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const double step = track.Period[at] / static_cast<double>(points);
        for (std::size_t j = 0; j < points; ++j)
            cycle[j] = sampler.At(track.Start[at] + step * static_cast<double>(j));
        Cycle &wave = waves[at];
        resampler.Run(cycle, wave);
        if (settings.Phase != PhaseMode::Keep) {
            edit::Spectrum spectrum;
            edit::Analyse(wave, spectrum);
            if (settings.Phase == PhaseMode::Align)
                AlignPhases(spectrum);
            else
                ZeroPhases(spectrum);
            edit::Synthesise(spectrum, wave);
        }
        for (const double v : wave)
            peak = std::max(peak, std::fabs(v));
    }
    // As the frame import: normalising takes the loudest sample of all the waves, a silent
    // result stays silent, and the level kept is clipped at full scale.
    const double gain = settings.Normalise ? (peak > 0.0 ? kMaxSample / peak : 0.0) : kMaxSample;
    for (int i = 0; i < result.Count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        for (std::size_t n = 0; n < kSampleCount; ++n) {
            const double scaled = std::round(waves[at][n] * gain);
            result.Waves[at][n] = static_cast<std::int32_t>(
                std::clamp(scaled, -double{kMaxSample}, double{kMaxSample}));
        }
    }
    return result;
}

void StoreResynthesis(const ResynthWaves &waves, Wavetable &table) {
    const int first = std::clamp(waves.First, 1, kWaveCount);
    const int count = std::clamp(waves.Count, 0, kWaveCount - first + 1);
    for (int i = 0; i < count; ++i)
        for (int n = 0; n < kSampleCount; ++n)
            WriteSample(table, first - 1 + i, n,
                        waves.Waves[static_cast<std::size_t>(i)][static_cast<std::size_t>(n)]);
}

bool LooksLikeRecording(const AudioFile &file) {
    if (file.Source != FrameSource::Untagged)
        return false;
    const auto size = static_cast<std::int64_t>(file.Samples.size());
    if (size <= kLongestTableLikeFile)
        return false;
    for (const int length : kStandardFrameLengths)
        if (size % length == 0)
            return false;
    return true;
}

} // namespace morvane::exchange
