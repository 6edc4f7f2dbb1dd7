#include "edit/spectrum.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "document/error.h"
#include "edit/generator.h"
#include "edit/random.h"
#include "edit/spectral_processors.h"
#include "edit_test_support.h"

namespace morvane::edit {
namespace {

using testing_support::At;
using testing_support::NewTable;
using testing_support::TestLcg;
using testing_support::ZeroTable;

constexpr double kFs = 1048575.0;
const double kPi = std::numbers::pi;

Wavetable SawTable() {
    Wavetable table = NewTable();
    GeneratorSettings saw;
    saw.Wave = Shape::Saw;
    saw.Harmonic = 1;
    saw.AddToExisting = false;
    RandomGenerator random;
    WaveBackup backup;
    GenerateWaves(table, saw, 1, kWaveCount, SampleRange{}, random, backup);
    return table;
}

TEST(Spectrum, GeneratorSawFollowsTheSawSeries) {
    // The generator's saw is the ramp FS (0.5 - (n+1)/128); a ramp of slope -1/128 has
    // |X_k| = FS / (2 sin(pi k / 128)), so M_k = 1 / (128 sin(pi k / 128)) ~ 1 / (pi k).
    const Spectrum s = Analyse(SawTable(), 0);
    for (int k = 1; k < kTopHarmonic; ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(Magnitude(s, k), 1 / (128 * std::sin(kPi * k / 128)), 2e-6);
        if (k <= 8) {
            EXPECT_NEAR(Magnitude(s, k) * kPi * k, 1.0, 0.01);
        }
    }
    // The ramp's mean is 0.5 - 129/256 = -1/256, and flooring lowers it by about 0.5 / FS more:
    // -0.00390673.
    EXPECT_EQ(HarmonicLine(s, 0), "harmonic: 0 0.003907 -90.00");
}

TEST(Spectrum, SineAnalysesAsFullScaleHarmonicOne) {
    Wavetable table = ZeroTable();
    for (int n = 0; n < kSampleCount; ++n)
        WriteSample(table, 0, n,
                    static_cast<std::int32_t>(std::lround(kFs * std::sin(2 * kPi * n / 128))));
    const Spectrum s = Analyse(table, 0);
    EXPECT_EQ(HarmonicLine(s, 1), "harmonic: 1 1.000000 0.00");
    EXPECT_EQ(HarmonicLine(s, 2), "harmonic: 2 0.000000 0.00");
    // Phases print in (-180, 180]: -180 shows as 180, and a cosine as 90.
    Spectrum p;
    SetHarmonic(p, 5, 0.25, -180);
    SetHarmonic(p, 6, 0.5, 450);
    EXPECT_EQ(HarmonicLine(p, 5), "harmonic: 5 0.250000 180.00");
    EXPECT_EQ(HarmonicLine(p, 6), "harmonic: 6 0.500000 90.00");
}

TEST(Spectrum, HarmonicThreeOfTheNewSineGivesTheTwoTermSum) {
    Wavetable table = NewTable();
    const Wavetable before = table;
    const EditResult r = SetHarmonicOfWaves(table, 2, 2, 3, 1.0 / 3, 0, false);
    EXPECT_FALSE(r.Overflow);
    for (int n = 0; n < kSampleCount; ++n) {
        SCOPED_TRACE(n);
        // Old sample plus FS/3 sin(2 pi 3 n / 128); the old wave's own harmonic-3 residue of
        // its rounding is below 0.1, so the rounded sum lies within 0.6.
        const double sum = ReadSample(before, 1, n) + kFs / 3 * std::sin(2 * kPi * 3 * n / 128);
        EXPECT_NEAR(ReadSample(table, 1, n), sum, 0.6);
    }
    EXPECT_TRUE(testing_support::SameWave(table, before, 1));
    EXPECT_TRUE(testing_support::SameWave(table, before, 3));
}

TEST(Spectrum, RoundTripOfRandomTablesIsExact) {
    TestLcg lcg{12345};
    for (int round = 0; round < 3; ++round) {
        Wavetable table = NewTable();
        for (int w = 0; w < kWaveCount; ++w)
            for (int n = 0; n < kSampleCount; ++n)
                WriteSample(table, w, n,
                            static_cast<std::int32_t>(lcg.Next(2 * 1048575 + 1)) - 1048575);
        // Full-scale corners too.
        WriteSample(table, 5, 0, 1048575);
        WriteSample(table, 5, 1, -1048575);
        const Wavetable before = table;
        RandomGenerator unused;
        ApplyProcessor(table, {SpectralProcessor::LowPass, 64, 64, false}, 1, 64, unused);
        EXPECT_EQ(table, before);
        ApplyProcessor(table, {SpectralProcessor::Shift, 0, 0, false}, 1, 64, unused);
        EXPECT_EQ(table, before);
    }
}

TEST(Spectrum, LowPassAtTenKeepsBinsUpToTenOnly) {
    Wavetable table = SawTable();
    const Spectrum before = Analyse(table, 0);
    RandomGenerator unused;
    ApplyProcessor(table, {SpectralProcessor::LowPass, 10, 10, false}, 1, 1, unused);
    const Spectrum after = Analyse(table, 0);
    for (int k = 0; k <= kTopHarmonic; ++k) {
        SCOPED_TRACE(k);
        if (k <= 10) {
            EXPECT_NEAR(Magnitude(after, k), Magnitude(before, k), 1e-6);
            EXPECT_NEAR(PhaseDegrees(after, k), PhaseDegrees(before, k), 1e-3);
        } else {
            EXPECT_LT(Magnitude(after, k), 1e-6);
        }
    }
}

TEST(Spectrum, SweepsInterpolateFromFirstToLastWave) {
    // Low-pass 10 -> 11 over waves 1..3: wave 2 has N = 10.5, so harmonic 11 keeps half.
    Wavetable table = SawTable();
    const double m11 = Magnitude(Analyse(table, 1), 11);
    RandomGenerator unused;
    ApplyProcessor(table, {SpectralProcessor::LowPass, 10, 11, false}, 1, 3, unused);
    EXPECT_LT(Magnitude(Analyse(table, 0), 11), 1e-6);
    EXPECT_NEAR(Magnitude(Analyse(table, 1), 11), m11 / 2, 1e-6);
    EXPECT_NEAR(Magnitude(Analyse(table, 2), 11), m11, 1e-6);
    EXPECT_LT(Magnitude(Analyse(table, 2), 12), 1e-6);
    EXPECT_DOUBLE_EQ(SweepValue(64, 1, 33, 1, 64), 32);
    // High-pass 9.5 keeps 10 up whole, 9 at half, 8 not at all; DC goes.
    table = SawTable();
    ApplyProcessor(table, {SpectralProcessor::HighPass, 9.5, 9.5, false}, 1, 1, unused);
    const Spectrum hp = Analyse(table, 0);
    const Spectrum saw = Analyse(SawTable(), 0);
    EXPECT_NEAR(Magnitude(hp, 9), Magnitude(saw, 9) / 2, 1e-6);
    EXPECT_LT(Magnitude(hp, 8), 1e-6);
    EXPECT_LT(Magnitude(hp, 0), 1e-6);
    EXPECT_NEAR(Magnitude(hp, 10), Magnitude(saw, 10), 1e-6);
    EXPECT_THROW(ApplyProcessor(table, {SpectralProcessor::LowPass, 10, 65, false}, 1, 3, unused),
                 Error);
}

TEST(Spectrum, ShiftByOneTurnsHarmonicOneIntoTwo) {
    Wavetable table = ZeroTable();
    SetHarmonicOfWaves(table, 1, 1, 1, 0.5, 30, false);
    RandomGenerator unused;
    ApplyProcessor(table, {SpectralProcessor::Shift, 1, 1, false}, 1, 1, unused);
    for (int n = 0; n < kSampleCount; ++n) {
        SCOPED_TRACE(n);
        const double expected = kFs * 0.5 * std::sin(2 * kPi * 2 * n / 128 + kPi / 6);
        // Within the rounding of the first synthesis, shifted along, and that of the second.
        EXPECT_LE(std::abs(ReadSample(table, 0, n) - expected), 1.0);
    }
    const Spectrum s = Analyse(table, 0);
    EXPECT_LT(Magnitude(s, 1), 1e-6);
    EXPECT_NEAR(PhaseDegrees(s, 2), 30, 1e-3);
}

TEST(Spectrum, OverflowIsRefusedPerWaveOrClipped) {
    Wavetable table = NewTable();
    SetHarmonicOfWaves(table, 2, 2, 1, 0.25, 0, false); // wave 2 quieter, so it has headroom
    const Wavetable before = table;
    // Harmonic 2 at 0.6 in cosine phase on top of a half-scale sine leaves full scale; on a quarter
    // one not.
    const EditResult refused = SetHarmonicOfWaves(table, 1, 3, 2, 0.6, 90, false);
    EXPECT_TRUE(refused.Overflow);
    EXPECT_EQ(refused.RestoredWaves, (std::vector<int>{1, 3}));
    EXPECT_TRUE(testing_support::SameWave(table, before, 1));
    EXPECT_FALSE(testing_support::SameWave(table, before, 2));

    table = ZeroTable();
    const EditResult clipped = SetHarmonicOfWaves(table, 1, 1, 1, 1.5, 0, true);
    EXPECT_FALSE(clipped.Overflow);
    EXPECT_EQ(At(table, 1, 33), 1048575);  // n = 32: the crest, clipped
    EXPECT_EQ(At(table, 1, 97), -1048575); // n = 96: the trough
    EXPECT_EQ(At(table, 1, 6), std::lround(1.5 * kFs * std::sin(2 * kPi * 5 / 128)));
}

TEST(Spectrum, PhaseProcessorsAndMorphTakeTheShorterArc) {
    Wavetable table = ZeroTable();
    SetHarmonicOfWaves(table, 1, 1, 1, 0.5, 170, false);
    SetHarmonicOfWaves(table, 3, 3, 1, 0.3, -170, false);
    RandomGenerator unused;
    ApplyProcessor(table, {SpectralProcessor::Morph, 0, 0, false}, 1, 3, unused);
    const Spectrum mid = Analyse(table, 1);
    EXPECT_NEAR(Magnitude(mid, 1), 0.4, 1e-6);
    EXPECT_NEAR(std::abs(PhaseDegrees(mid, 1)), 180, 1e-3);

    // Random phases at 100 %: each inner harmonic takes Random(36000) / 100 degrees, drawn
    // k = 1..63 per wave; only harmonic 5 sounds here.
    table = ZeroTable();
    SetHarmonicOfWaves(table, 1, 2, 5, 0.5, 0, false);
    RandomGenerator random;
    random.SetSeed(777);
    ApplyProcessor(table, {SpectralProcessor::RandomPhases, 100, 100, false}, 1, 2, random);
    TestLcg lcg{777};
    for (int w = 0; w < 2; ++w) {
        double target = 0;
        for (int k = 1; k < kTopHarmonic; ++k) {
            const double r = lcg.Next(36000) / 100.0;
            if (k == 5)
                target = r > 180 ? r - 360 : r;
        }
        EXPECT_NEAR(PhaseDegrees(Analyse(table, w), 5), target, 1e-3);
        EXPECT_NEAR(Magnitude(Analyse(table, w), 5), 0.5, 1e-6);
    }
    // Zero phases at 50 %: 170 turns halfway toward 0 -> 85.
    table = ZeroTable();
    SetHarmonicOfWaves(table, 1, 1, 4, 0.5, 170, false);
    ApplyProcessor(table, {SpectralProcessor::ZeroPhases, 50, 50, false}, 1, 1, unused);
    EXPECT_NEAR(PhaseDegrees(Analyse(table, 0), 4), 85, 1e-3);
}

TEST(Spectrum, OddEvenDcAndNormalise) {
    Wavetable table = SawTable();
    const Spectrum saw = Analyse(table, 0);
    RandomGenerator unused;
    ApplyProcessor(table, {SpectralProcessor::KeepOdd, 100, 100, false}, 1, 1, unused);
    ApplyProcessor(table, {SpectralProcessor::RemoveDC, 100, 100, false}, 1, 1, unused);
    const Spectrum odd = Analyse(table, 0);
    EXPECT_LT(Magnitude(odd, 2), 1e-6);
    EXPECT_LT(Magnitude(odd, 0), 1e-6);
    EXPECT_NEAR(Magnitude(odd, 3), Magnitude(saw, 3), 1e-6);
    ApplyProcessor(table, {SpectralProcessor::KeepEven, 25, 25, false}, 2, 2, unused);
    EXPECT_NEAR(Magnitude(Analyse(table, 1), 1), 0.75 * Magnitude(saw, 1), 1e-6);

    table = NewTable(); // half-scale sines, peak floor(FS / 2)
    ApplyProcessor(table, {SpectralProcessor::Normalise, 100, 25, false}, 1, 64, unused);
    std::int32_t peakFirst = 0;
    std::int32_t peakLast = 0;
    for (int n = 0; n < kSampleCount; ++n) {
        peakFirst = std::max(peakFirst, std::abs(ReadSample(table, 0, n)));
        peakLast = std::max(peakLast, std::abs(ReadSample(table, 63, n)));
    }
    EXPECT_EQ(peakFirst, 1048575);
    EXPECT_EQ(peakLast, 262144); // 0.25 FS = 262,143.75
}

} // namespace
} // namespace morvane::edit
