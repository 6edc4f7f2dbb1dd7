#include "exchange/resynthesis.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

#include "document/error.h"
#include "edit/spectrum.h"

namespace morvane::exchange {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kRate = 44100;

AudioFile Recording(const std::string &name, std::vector<double> samples, int rate = kRate) {
    AudioFile file;
    file.ShownName = "\"" + name + "\"";
    file.Samples = std::move(samples);
    file.SampleRate = rate;
    return file;
}

// A saw by its Fourier series, every harmonic below the Nyquist frequency of the fastest
// instantaneous frequency, at half full scale. phase(n) is in cycles.
std::vector<double> Saw(std::size_t length, int harmonics,
                        const std::function<double(double)> &phase) {
    std::vector<double> x(length);
    for (std::size_t n = 0; n < length; ++n) {
        const double turn = 2 * kPi * phase(static_cast<double>(n));
        double sum = 0.0;
        for (int k = 1; k <= harmonics; ++k)
            sum += ((k % 2 == 1) ? 1.0 : -1.0) * std::sin(k * turn) / k;
        x[n] = 0.5 * sum / kPi * 2;
    }
    return x;
}

std::vector<double> SteadySaw(double hz, double seconds) {
    return Saw(static_cast<std::size_t>(seconds * kRate), static_cast<int>(kRate / 2 / hz),
               [hz](double n) { return hz * n / kRate; });
}

// The spectrum of wave i of the result, as the harmonic view reads it.
edit::Spectrum SpectrumOf(const ResynthWaves &waves, int i) {
    std::array<std::int32_t, kSampleCount> samples = waves.Waves[static_cast<std::size_t>(i)];
    edit::Spectrum spectrum;
    edit::Analyse(samples, spectrum);
    return spectrum;
}

// Harmonics 2..63 of a saw relative to the fundamental: 1/k.
void ExpectSawHarmonics(const edit::Spectrum &spectrum, double tolerance) {
    const double fundamental = edit::Magnitude(spectrum, 1);
    for (int k = 2; k < edit::kTopHarmonic; ++k) {
        SCOPED_TRACE("harmonic " + std::to_string(k));
        EXPECT_NEAR(edit::Magnitude(spectrum, k) / fundamental * k, 1.0, tolerance);
    }
}

TEST(Resynthesis, ASawAt220Point5HzHasPeriod200AndHarmonicsFallingAsOneOverK) {
    const AudioFile file = Recording("saw.wav", SteadySaw(220.5, 1.0));
    const PitchTrack track = TrackPitch(file, DefaultRegion(file));
    EXPECT_NEAR(track.MedianPeriod, 200.0, 0.01);
    for (int i = 0; i < track.Count; ++i)
        ASSERT_NEAR(track.Period[static_cast<std::size_t>(i)], 200.0, 0.01) << "cycle " << i;
    // 1200 log2(220.5 / 220) = 3.93 cents above A3.
    EXPECT_EQ(PitchLine(track.MedianPeriod, kRate),
              "pitch: 220.50 Hz (A3 +4 cents), period 200.00 samples");

    ResynthSettings settings;
    settings.Span = DefaultRegion(file);
    const ResynthWaves aligned = Resynthesise(file, settings);
    ASSERT_EQ(aligned.Count, kWaveCount);
    EXPECT_NEAR(aligned.PitchHz, 220.5, 0.01);
    for (int i = 0; i < kWaveCount; i += 21) {
        SCOPED_TRACE("wave " + std::to_string(i + 1));
        const edit::Spectrum spectrum = SpectrumOf(aligned, i);
        ExpectSawHarmonics(spectrum, 0.01);
        // Aligned, the saw's series comes back: harmonic 1 in sine phase, the even ones
        // turned over; zero phase puts them all in sine phase.
        EXPECT_NEAR(edit::PhaseDegrees(spectrum, 1), 0.0, 0.1);
        EXPECT_NEAR(std::fabs(edit::PhaseDegrees(spectrum, 2)), 180.0, 0.1);
        EXPECT_NEAR(edit::PhaseDegrees(spectrum, 3), 0.0, 0.1);
    }
    // Normalised: the loudest sample of the table is full scale.
    std::int32_t loudest = 0;
    for (int i = 0; i < kWaveCount; ++i)
        for (const std::int32_t v : aligned.Waves[static_cast<std::size_t>(i)])
            loudest = std::max(loudest, std::abs(v));
    EXPECT_EQ(loudest, kMaxSample);

    settings.Phase = PhaseMode::Zero;
    const edit::Spectrum zero = SpectrumOf(Resynthesise(file, settings), 40);
    ExpectSawHarmonics(zero, 0.01);
    for (const int k : {1, 2, 3, 50})
        EXPECT_NEAR(edit::PhaseDegrees(zero, k), 0.0, 0.1) << "harmonic " << k;
}

TEST(Resynthesis, ACrossfadeFromSineToSawGoesFromASineWaveToASawWave) {
    const double hz = 220.5;
    const std::vector<double> saw = SteadySaw(hz, 2.0);
    std::vector<double> x(saw.size());
    const double length = static_cast<double>(x.size());
    for (std::size_t n = 0; n < x.size(); ++n) {
        // Sine for the first tenth, saw for the last, a linear crossfade between.
        const double mix = std::clamp((static_cast<double>(n) / length - 0.1) / 0.8, 0.0, 1.0);
        const double sine = 0.5 * std::sin(2 * kPi * hz * static_cast<double>(n) / kRate);
        x[n] = (1 - mix) * sine + mix * saw[n];
    }
    ResynthSettings settings;
    settings.Span = {0, static_cast<std::int64_t>(x.size())};
    const ResynthWaves waves = Resynthesise(Recording("fade.wav", x), settings);
    const edit::Spectrum first = SpectrumOf(waves, 0);
    for (int k = 2; k <= edit::kTopHarmonic; ++k)
        EXPECT_LT(edit::Magnitude(first, k), 1e-4 * edit::Magnitude(first, 1)) << "harmonic " << k;
    ExpectSawHarmonics(SpectrumOf(waves, kWaveCount - 1), 0.01);
    // Between them the second harmonic grows steadily.
    double previous = -1.0;
    for (int i = 0; i < kWaveCount; i += 9) {
        const edit::Spectrum spectrum = SpectrumOf(waves, i);
        const double second = edit::Magnitude(spectrum, 2) / edit::Magnitude(spectrum, 1);
        EXPECT_GT(second, previous) << "wave " << i + 1;
        previous = second;
    }
}

TEST(Resynthesis, AVibratoIsTrackedSoThatEveryWaveIsOneCleanPeriod) {
    // 220 Hz with a 5 Hz vibrato of +-2 % (about a third of a semitone).
    const double hz = 220.0;
    const double depth = 0.02;
    const double vibrato = 5.0;
    auto frequency = [&](double n) {
        return hz * (1 + depth * std::sin(2 * kPi * vibrato * n / kRate));
    };
    auto phase = [&](double n) {
        return hz * n / kRate -
               hz * depth / (2 * kPi * vibrato) * (std::cos(2 * kPi * vibrato * n / kRate) - 1);
    };
    const std::vector<double> x =
        Saw(kRate, static_cast<int>(kRate / 2 / (hz * (1 + depth))), phase);
    const AudioFile file = Recording("vibrato.wav", x);
    ResynthSettings settings;
    settings.Span = {0, static_cast<std::int64_t>(x.size())};
    const ResynthWaves waves = Resynthesise(file, settings);
    for (int i = 0; i < kWaveCount; ++i) {
        SCOPED_TRACE("wave " + std::to_string(i + 1));
        const auto at = static_cast<std::size_t>(i);
        // The cycle's length is the period there: from its start the vibrato's phase advances
        // by one turn (solved by Newton's method), to within 0.1 % ...
        const double start = waves.Track.Start[at];
        double period = kRate / hz;
        for (int step = 0; step < 20; ++step)
            period -=
                (phase(start + period) - phase(start) - 1) * kRate / frequency(start + period);
        EXPECT_NEAR(waves.Track.Period[at] / period, 1.0, 0.001);
        // ... so that each cycle ends where it began: the wave is the saw, with no step that a
        // wrong length would leave (which shows as harmonics falling slower or faster than 1/k).
        ExpectSawHarmonics(SpectrumOf(waves, i), 0.03);
    }
}

TEST(Resynthesis, APitchGivenByHandPicksTheOctaveOrStandsWhereNoneIsFound) {
    EXPECT_DOUBLE_EQ(*ParsePitch("A3"), 220.0);
    EXPECT_DOUBLE_EQ(*ParsePitch(" 220.5 Hz"), 220.5);
    EXPECT_NEAR(*ParsePitch("C#2"), 69.2957, 1e-4);
    EXPECT_NEAR(*ParsePitch("Bb1"), 58.2705, 1e-4);
    EXPECT_NEAR(*ParsePitch("c4"), 261.6256, 1e-4);
    for (const char *bad :
         {"", "H2", "A", "A+3", "A3x", "C10", "Hz", "19.9", "2001", "nan", "inf", "1e400"})
        EXPECT_FALSE(ParsePitch(bad).has_value()) << bad;
    EXPECT_EQ(NoteText(69.2957), "C#2 +0 cents");
    EXPECT_EQ(NoteText(440.0 * std::exp2(-13.0 / 1200)), "A4 -13 cents");
    EXPECT_EQ(NoteText(20.0), "D#0 +49 cents");

    // A saw at the octave below: found on its own, and picked by the note name given.
    const AudioFile saw = Recording("low.wav", SteadySaw(110.25, 1.0));
    ResynthSettings settings;
    settings.Span = DefaultRegion(saw);
    settings.PitchHz = ParsePitch("A2");
    EXPECT_NEAR(Resynthesise(saw, settings).Track.MedianPeriod, 400.0, 0.01);

    // Noise: the pitch given is taken as it is for every cycle.
    std::vector<double> noise(kRate);
    std::uint32_t state = 12345;
    for (double &v : noise) {
        state = state * 1664525u + 1013904223u;
        v = static_cast<double>(state >> 8) / (1u << 24) - 0.5;
    }
    settings.PitchHz = ParsePitch("A3");
    settings.Span = {0, kRate};
    const ResynthWaves waves = Resynthesise(Recording("noise.wav", noise), settings);
    for (int i = 0; i < kWaveCount; ++i)
        EXPECT_DOUBLE_EQ(waves.Track.Period[static_cast<std::size_t>(i)], kRate / 220.0);
    EXPECT_DOUBLE_EQ(waves.PitchHz, 220.0);
}

TEST(Resynthesis, NoiseAndSilenceAreRefusedWithTheMessage) {
    std::vector<double> noise(kRate);
    std::uint32_t state = 777;
    for (double &v : noise) {
        state = state * 1664525u + 1013904223u;
        v = static_cast<double>(state >> 8) / (1u << 24) - 0.5;
    }
    for (const auto &[name, samples] :
         {std::pair{"noise.wav", noise}, std::pair{"silence.wav", std::vector<double>(kRate)}}) {
        const AudioFile file = Recording(name, samples);
        try {
            TrackPitch(file, {kRate / 2, kRate});
            ADD_FAILURE() << name << " was not refused";
        } catch (const Error &error) {
            EXPECT_EQ(std::string(error.what()),
                      "No steady pitch found in \"" + std::string(name) +
                          "\" from 0.500 s to 1.000 s. Enter the pitch by hand, as a frequency "
                          "in Hz or a note name such as \"A3\".");
        }
    }
}

TEST(Resynthesis, ATableRenderedAsATonePeriod128ComesBackWithinTwoUnits) {
    // 64 waves morphing from a sine to a saw-like wave with every harmonic up to 63, each
    // played for 9 periods of exactly 128 samples, at the file's level kept.
    Wavetable table;
    for (int w = 0; w < kWaveCount; ++w)
        for (int n = 0; n < kSampleCount; ++n) {
            double v = 0.0;
            for (int k = 1; k < 64; ++k) {
                const double weight = k == 1 ? 1.0 : (w / 63.0) / (k * 1.5);
                v += weight * std::sin(2 * kPi * k * n / kSampleCount + 0.3 * k * (k == 1 ? 0 : 1));
            }
            WriteSample(table, w, n, static_cast<std::int32_t>(std::lround(v * 0.5 * kMaxSample)));
        }
    constexpr int kRepeats = 9;
    std::vector<double> tone;
    for (int w = 0; w < kWaveCount; ++w)
        for (int r = 0; r < kRepeats; ++r)
            for (int n = 0; n < kSampleCount; ++n)
                tone.push_back(static_cast<double>(ReadSample(table, w, n)) / kMaxSample);
    ResynthSettings settings;
    settings.Span = {0, static_cast<std::int64_t>(tone.size())};
    settings.Phase = PhaseMode::Keep;
    settings.Normalise = false;
    const ResynthWaves waves = Resynthesise(Recording("table.wav", tone), settings);
    Wavetable back;
    StoreResynthesis(waves, back);
    for (int w = 0; w < kWaveCount; ++w)
        for (int n = 0; n < kSampleCount; ++n) {
            SCOPED_TRACE("wave " + std::to_string(w + 1) + " sample " + std::to_string(n + 1));
            ASSERT_NEAR(ReadSample(back, w, n), ReadSample(table, w, n), 2);
        }
}

TEST(Resynthesis, RegionsRangesAndShortFilesAreBounded) {
    std::vector<double> x = SteadySaw(441.0, 0.5);
    x.insert(x.begin(), 1000, 0.0);
    x.insert(x.end(), 500, 0.0);
    const AudioFile file = Recording("short.wav", x);
    const auto size = static_cast<std::int64_t>(x.size());
    const Region found = DefaultRegion(file);
    EXPECT_GE(found.Start, 1000);
    EXPECT_LT(found.Start, 1002);
    EXPECT_LE(found.End, size - 500);
    EXPECT_GT(found.End, size - 503);
    EXPECT_EQ(ChooseRegion(file, 0.1, std::nullopt), (Region{4410, found.End}));
    EXPECT_THROW(ChooseRegion(file, 0.3, 0.2), Error);
    EXPECT_THROW(ChooseRegion(file, -1.0, std::nullopt), Error);
    EXPECT_THROW(ChooseRegion(file, std::nullopt, 9.0), Error);
    EXPECT_THROW(ChooseRegion(file, std::nan(""), std::nullopt), Error);

    // A region at the file's very end, down to just over one period (100 samples) and below.
    const AudioFile tail = Recording("tail.wav", SteadySaw(441.0, 0.5));
    const std::int64_t end = kRate / 2;
    for (const std::int64_t length : {1000, 150, 101}) {
        ResynthSettings settings;
        settings.Span = {end - length, end};
        settings.First = 10;
        settings.Last = 12;
        const ResynthWaves waves = Resynthesise(tail, settings);
        ASSERT_EQ(waves.Count, 3);
        for (int i = 0; i < 3; ++i) {
            const auto at = static_cast<std::size_t>(i);
            EXPECT_NEAR(waves.Track.Period[at], 100.0, 0.01);
            EXPECT_GE(waves.Track.Start[at], static_cast<double>(settings.Span.Start));
            EXPECT_LE(waves.Track.Start[at] + waves.Track.Period[at],
                      static_cast<double>(settings.Span.End));
        }
    }
    EXPECT_THROW(TrackPitch(tail, {end - 99, end}), Error);
    // A rate at which 2 kHz is under two samples, or whose analysis would not fit in memory.
    for (const int rate : {1, 3999, 768001}) {
        const AudioFile odd = Recording("odd.wav", SteadySaw(441.0, 0.5), rate);
        EXPECT_THROW(TrackPitch(odd, DefaultRegion(odd), 64, 440.0), Error) << rate;
    }
    ResynthSettings tooShort;
    tooShort.Span = {size - 600, size - 510};
    tooShort.PitchHz = 441.0;
    EXPECT_THROW(Resynthesise(file, tooShort), Error);
    tooShort.Span = {0, size + 1};
    EXPECT_THROW(Resynthesise(file, tooShort), Error);
    tooShort.Span = found;
    tooShort.First = 5;
    tooShort.Last = 4;
    EXPECT_THROW(Resynthesise(file, tooShort), Error);

    // Files too short to hold a period of the lowest pitch are refused, not read past.
    for (const std::size_t length : {1u, 2u, 7u, 60u}) {
        const AudioFile tiny =
            Recording("tiny.wav",
                      std::vector<double>(x.begin() + 1000,
                                          x.begin() + 1000 + static_cast<std::ptrdiff_t>(length)));
        EXPECT_THROW(TrackPitch(tiny, {0, static_cast<std::int64_t>(length)}), Error) << length;
        ResynthSettings given;
        given.Span = {0, static_cast<std::int64_t>(length)};
        given.PitchHz = kHighestPitchHz;
        if (length < 23)
            EXPECT_THROW(Resynthesise(tiny, given), Error) << length;
        else
            EXPECT_EQ(Resynthesise(tiny, given).Count, kWaveCount) << length;
    }
}

TEST(Resynthesis, UntaggedLongFilesOfNoFrameLengthLookLikeRecordings) {
    AudioFile file = Recording("a.wav", std::vector<double>(4097));
    EXPECT_TRUE(LooksLikeRecording(file));
    for (const std::size_t length : {4096u, 4224u, 8192u, 100u * 128u, 100u}) {
        file.Samples.assign(length, 0.0);
        EXPECT_FALSE(LooksLikeRecording(file)) << length;
    }
    file.Samples.assign(44101, 0.0);
    EXPECT_TRUE(LooksLikeRecording(file));
    file.Source = FrameSource::Cue;
    file.TaggedFrameLength = 100;
    EXPECT_FALSE(LooksLikeRecording(file));
}

} // namespace
} // namespace morvane::exchange
