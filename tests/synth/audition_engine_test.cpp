#include "synth/audition_engine.h"

#include <atomic>
#include <cmath>
#include <complex>
#include <cstdint>
#include <numbers>
#include <random>
#include <thread>
#include <vector>

#include <fftw3.h>
#include <gtest/gtest.h>

namespace morvane::synth {
namespace {

constexpr double kRate = 44100.0;
constexpr int kCycle = 128; // samples per cycle at 44,100/128 Hz
const double kPi = std::numbers::pi;

// Waves from sample functions f(wave 0..63, n 0..127) in units of full scale.
template <typename F> Wavetable TableOf(F f) {
    Wavetable table;
    FillNewWavetable(table, 0);
    for (int w = 0; w < kWaveCount; ++w)
        for (int n = 0; n < kSampleCount; ++n)
            WriteSample(table, w, n, static_cast<std::int32_t>(std::lround(kMaxSample * f(w, n))));
    return table;
}

double Sample(const Wavetable &table, int wave, int n) {
    return ReadSample(table, wave, n) / static_cast<double>(kMaxSample);
}

AuditionParams Plain(Interpolation mode, double position) {
    AuditionParams p;
    p.Mode = mode;
    p.Position = position;
    p.AttackSeconds = 0.0;
    p.Gain = 1.0;
    return p;
}

std::vector<float> Play(AuditionEngine &engine, int frames) {
    std::vector<float> out(static_cast<std::size_t>(frames));
    engine.Render(out.data(), frames);
    return out;
}

// Magnitudes of the DFT bins 0..N/2 of a whole signal (rectangular window).
std::vector<double> Spectrum(const std::vector<float> &signal) {
    const int n = static_cast<int>(signal.size());
    std::vector<double> in(signal.begin(), signal.end());
    std::vector<std::complex<double>> bins(static_cast<std::size_t>(n / 2 + 1));
    fftw_plan plan = fftw_plan_dft_r2c_1d(
        n, in.data(), reinterpret_cast<fftw_complex *>(bins.data()), FFTW_ESTIMATE);
    fftw_execute(plan);
    fftw_destroy_plan(plan);
    std::vector<double> magnitudes;
    for (const auto &bin : bins)
        magnitudes.push_back(std::abs(bin));
    return magnitudes;
}

TEST(AuditionEngine, NotesSoundAtEqualTemperamentFromA440) {
    const Wavetable saw = TableOf([](int, int n) { return 0.5 - (n + 0.5) / kSampleCount; });
    for (const auto &[note, hz] : {std::pair{69, 440}, {81, 880}, {57, 220}, {60, 262}}) {
        SCOPED_TRACE(note);
        AuditionEngine engine(kRate);
        engine.SetTable(saw);
        engine.SetParams(Plain(Interpolation::Linear, 1.0));
        engine.NoteOn(note, 127);
        const std::vector<double> bins = Spectrum(Play(engine, static_cast<int>(kRate))); // 1 Hz
        const auto peak = std::max_element(bins.begin() + 1, bins.end()) - bins.begin();
        EXPECT_EQ(peak, hz);
    }
    EXPECT_DOUBLE_EQ(NoteFrequency(69.0 + 2.0), 440.0 * std::pow(2.0, 2.0 / 12.0));
}

// At 44,100/128 Hz one output sample is one sample of the wave: the cycles must reproduce the
// waves (stepped), their 3:1 mix at 10.25 (linear), and at a spectral midpoint of a sine and a
// cosine, the sine turned 45 degrees at full amplitude (where the crossfade gives 0.707).
TEST(AuditionEngine, CyclesAtOneSamplePerWaveSampleReproduceTheBlend) {
    std::mt19937 random(21);
    std::uniform_real_distribution<double> any(-0.9, 0.9);
    std::vector<double> values(kWaveCount * kSampleCount);
    for (double &v : values)
        v = any(random);
    Wavetable table = TableOf([&](int w, int n) { return values[w * kSampleCount + n]; });
    struct Case {
        Interpolation Mode;
        double Position;
        int First; // wave numbers 1..64
        int Second;
        double Weight;
    };
    for (const Case c : {Case{Interpolation::Stepped, 1.0, 1, 1, 0.0},
                         Case{Interpolation::Stepped, 10.9, 10, 10, 0.0},
                         Case{Interpolation::Stepped, 64.0, 64, 64, 0.0},
                         Case{Interpolation::Linear, 10.25, 10, 11, 0.25},
                         Case{Interpolation::Linear, 64.0, 64, 64, 0.0},
                         Case{Interpolation::Spectral, 33.0, 33, 33, 0.0}}) {
        SCOPED_TRACE(c.Position);
        AuditionEngine engine(kRate);
        engine.SetTable(table);
        AuditionParams p = Plain(c.Mode, c.Position);
        p.BandLimit = false;
        engine.SetParams(p);
        engine.ToneOn(kRate / kCycle, 127);
        const std::vector<float> out = Play(engine, 3 * kCycle);
        for (int i = 0; i < 3 * kCycle; ++i) {
            const int n = i % kCycle;
            const double expected = (1.0 - c.Weight) * Sample(table, c.First - 1, n) +
                                    c.Weight * Sample(table, c.Second - 1, n);
            ASSERT_NEAR(out[static_cast<std::size_t>(i)], expected, 2e-6) << "sample " << i;
        }
    }

    table = TableOf([](int w, int n) {
        const double x = 2.0 * kPi * n / kSampleCount;
        return w == 9 ? 0.5 * std::sin(x) : 0.5 * std::cos(x);
    });
    AuditionEngine engine(kRate);
    engine.SetTable(table);
    AuditionParams p = Plain(Interpolation::Spectral, 10.5);
    p.BandLimit = false;
    engine.SetParams(p);
    engine.ToneOn(kRate / kCycle, 127);
    const std::vector<float> out = Play(engine, kCycle);
    for (int n = 0; n < kCycle; ++n)
        ASSERT_NEAR(out[static_cast<std::size_t>(n)],
                    0.5 * std::sin(2.0 * kPi * n / kCycle + kPi / 4), 1e-5)
            << "sample " << n;
}

// 4 kHz at 44.1 kHz: every component the engine makes is a whole number of hertz, so a
// one-second rectangular window has no leakage. Only the saw's harmonics below Nyquist (4, 8,
// 12, 16 kHz) may stand above -90 dB of the fundamental; the full table would fold harmonic 7
// (28 kHz) down to 16.1 kHz, which the same measurement catches.
TEST(AuditionEngine, SawAtFourKilohertzHasNoAliasAboveMinus90Decibels) {
    const Wavetable saw = TableOf([](int, int n) { return 0.5 - (n + 0.5) / kSampleCount; });
    for (const bool bandLimit : {true, false}) {
        SCOPED_TRACE(bandLimit);
        AuditionEngine engine(kRate);
        engine.SetTable(saw);
        AuditionParams p = Plain(Interpolation::Linear, 1.0);
        p.BandLimit = bandLimit;
        engine.SetParams(p);
        engine.ToneOn(4000.0, 127);
        const std::vector<double> bins = Spectrum(Play(engine, static_cast<int>(kRate)));
        const double fundamental = bins[4000];
        EXPECT_NEAR(bins[8000] / fundamental, 0.5, 0.01); // the saw's 1/k series, kept
        double worst = 0.0;
        for (std::size_t hz = 1; hz < bins.size(); ++hz)
            if (hz % 4000 != 0 || hz > 16000)
                worst = std::max(worst, bins[hz] / fundamental);
        if (bandLimit)
            EXPECT_LT(20.0 * std::log10(worst), -90.0);
        else
            EXPECT_GT(20.0 * std::log10(worst), -40.0);
    }
}

// Near the top of the pitch range where 64 harmonics are allowed, the voice fades from them to
// the 32 of the next level: at 306.25 Hz, 72 harmonics fit below Nyquist, half of the fade's 16,
// so harmonic 40 sounds at half its level in the wave, and harmonic 20 (in both) at full level.
TEST(AuditionEngine, HarmonicsFadeOutNearTheirLevelsTopPitch) {
    const Wavetable saw = TableOf([](int, int n) { return 0.5 - (n + 0.5) / kSampleCount; });
    std::vector<float> wave(kSampleCount);
    for (int n = 0; n < kSampleCount; ++n)
        wave[static_cast<std::size_t>(n)] = static_cast<float>(Sample(saw, 0, n));
    const std::vector<double> waveBins = Spectrum(wave);
    AuditionEngine engine(kRate);
    engine.SetTable(saw);
    engine.SetParams(Plain(Interpolation::Linear, 1.0));
    engine.ToneOn(kRate / 2 / 72, 127);
    const std::vector<double> bins = Spectrum(Play(engine, 4 * static_cast<int>(kRate)));
    const auto bin = [](int harmonic) { return static_cast<std::size_t>(harmonic * 1225); };
    EXPECT_NEAR(bins[bin(20)] / bins[bin(1)], waveBins[20] / waveBins[1], 1e-3);
    EXPECT_NEAR(bins[bin(40)] / bins[bin(1)], 0.5 * waveBins[40] / waveBins[1], 1e-3);
}

// SetTable rebuilds only the waves that differ from what the slot it fills was built from; after
// edits that reach each of the three slots at different ages, a scan through every in-between
// must sound exactly as from an engine that built the final table at once.
TEST(AuditionEngine, EditsRebuildTheSameTableAsAFreshBuild) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> any(-0.9, 0.9);
    Wavetable table = TableOf([&](int, int) { return any(random); });
    AuditionEngine edited(kRate);
    edited.SetTable(table);
    for (const int wave : {10, 40, 0, 63, 11}) {
        for (int n = 0; n < kSampleCount; ++n)
            WriteSample(table, wave, n, static_cast<std::int32_t>(any(random) * kMaxSample));
        edited.SetTable(table);
        Play(edited, 1); // the render thread takes it: the next edit fills another slot
    }
    AuditionEngine fresh(kRate);
    fresh.SetTable(table);
    for (AuditionEngine *engine : {&edited, &fresh}) {
        AuditionParams p = Plain(Interpolation::Spectral, 1.0);
        p.EnvelopeTo = 63.0; // every grid point over the note
        p.EnvelopeSeconds = 0.5;
        engine->SetParams(p);
        engine->NoteOn(45, 127);
    }
    EXPECT_EQ(Play(edited, 22050), Play(fresh, 22050));
}

TEST(AuditionEngine, TheOldestVoiceIsTakenWhenAllEightSound) {
    AuditionEngine engine(kRate);
    AuditionParams p = Plain(Interpolation::Linear, 1.0);
    p.ReleaseSeconds = 0.0;
    engine.SetParams(p);
    const auto midi = [&](std::uint8_t status, std::uint8_t a, std::uint8_t b) {
        const std::uint8_t bytes[] = {status, a, b};
        engine.PostMidi(bytes);
        Play(engine, 64);
    };
    for (std::uint8_t note = 60; note < 68; ++note)
        midi(0x92, note, 100); // any channel
    EXPECT_EQ(engine.VoiceNotes(), (std::array<int, 8>{60, 61, 62, 63, 64, 65, 66, 67}));
    midi(0x90, 70, 100); // takes 60's voice
    midi(0x90, 71, 100); // then 61's
    EXPECT_EQ(engine.VoiceNotes(), (std::array<int, 8>{70, 71, 62, 63, 64, 65, 66, 67}));
    midi(0x90, 64, 0);   // a note on at velocity 0 ends 64: its voice is free
    midi(0x90, 72, 100); // so it is used, not the oldest (62)
    midi(0x80, 66, 0);
    midi(0xB0, 64, 127); // pedal down: 65 keeps sounding after its key is up
    midi(0x80, 65, 0);
    EXPECT_EQ(engine.VoiceNotes(), (std::array<int, 8>{70, 71, 62, 63, 72, 65, -1, 67}));
    midi(0xB0, 64, 0);
    midi(0xB0, 123, 0); // all notes off
    EXPECT_EQ(engine.ActiveVoices(), 0);
    midi(0x90, 0x80, 1); // a status byte where data belongs: ignored
    EXPECT_EQ(engine.ActiveVoices(), 0);

    // A full queue drops a controller but keeps the note off, so the note does not hang.
    midi(0x90, 60, 100);
    for (int i = 0; i < kEventCapacity; ++i)
        ASSERT_TRUE(engine.ModWheel(i % 128));
    EXPECT_FALSE(engine.ModWheel(0));
    EXPECT_TRUE(engine.NoteOff(60));
    Play(engine, 64);
    EXPECT_EQ(engine.ActiveVoices(), 0);
}

// An edit made while a key is held, and notes posted from two other threads while a render
// thread runs; ThreadSanitizer watches the hand-over.
TEST(AuditionEngine, EditsAndNotesFromOtherThreadsReachTheRenderThread) {
    const Wavetable silent = TableOf([](int, int) { return 0.0; });
    const Wavetable sine =
        TableOf([](int, int n) { return 0.5 * std::sin(2.0 * kPi * n / kSampleCount); });
    AuditionEngine engine(48000.0);
    engine.SetTable(silent);
    engine.SetParams(Plain(Interpolation::Spectral, 1.0));
    engine.NoteOn(57, 100);

    std::vector<float> loudest; // per Render call, the render thread's own until it ends
    loudest.reserve(1 << 16);
    std::atomic<int> rendered{0};
    std::atomic<int> lastCall{1 << 30};
    std::thread render([&] {
        std::array<float, 256> period{};
        for (int call = 0; call < lastCall.load(std::memory_order_acquire); ++call) {
            engine.Render(period.data(), static_cast<int>(period.size()));
            float peak = 0.0f;
            for (const float v : period)
                peak = std::max(peak, std::abs(v));
            loudest.push_back(peak);
            rendered.store(call + 1, std::memory_order_release);
        }
    });
    std::thread midiIn([&] {
        for (std::uint8_t i = 0; i < 200; ++i) {
            const std::uint8_t on[] = {0x90, static_cast<std::uint8_t>(60 + i % 24), 90};
            const std::uint8_t wheel[] = {0xB0, 1, static_cast<std::uint8_t>(i % 128)};
            engine.PostMidi(on);
            engine.PostMidi(wheel);
        }
    });
    std::thread keyboard([&] {
        for (int i = 0; i < 200; ++i) {
            engine.NoteOn(48 + i % 12, 80);
            engine.PitchBend(i * 40 - 4000);
            engine.NoteOff(48 + i % 12);
        }
    });
    const auto waitForCalls = [&](int calls) {
        const int start = rendered.load(std::memory_order_acquire);
        while (rendered.load(std::memory_order_acquire) < start + calls)
            std::this_thread::yield();
    };
    AuditionParams lfo = Plain(Interpolation::Linear, 20.0);
    lfo.LfoDepth = 10.0;
    lfo.Gain = 0.25;
    engine.SetParams(lfo);
    engine.SetTable(silent); // while the notes arrive
    midiIn.join();
    keyboard.join();
    engine.NoteOn(69, 127);
    waitForCalls(2);
    engine.SetTable(sine);
    // Call number `before` may have started before SetTable returned; the next one may not.
    const int before = rendered.load(std::memory_order_acquire);
    lastCall.store(before + 2, std::memory_order_release);
    render.join();
    ASSERT_GE(loudest.size(), static_cast<std::size_t>(before + 2));
    EXPECT_GT(loudest[static_cast<std::size_t>(before + 1)], 0.05f);
    for (std::size_t call = 0; call < loudest.size(); ++call)
        ASSERT_LE(loudest[call], 8 * 0.25f * 0.5f * 1.01f) << "call " << call; // 8 full voices
}

} // namespace
} // namespace morvane::synth
