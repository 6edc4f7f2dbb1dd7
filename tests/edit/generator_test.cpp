#include "edit/generator.h"

#include <cmath>

#include <gtest/gtest.h>

#include "edit/extended.h"
#include "edit/random.h"
#include "edit_test_support.h"

namespace morvane::edit {
namespace {

using edit::CombineMode;
using edit::GeneratorSettings;
using edit::Shape;
using testing_support::At;
using testing_support::Set;

constexpr Extended kPi = edit::kPi;
const Extended kHalf(0.5);

// ---- shape functions ---------------------------------------------------------------------

TEST(TriangleWave, RisesFallsAndRisesOverOnePeriod) {
    EXPECT_EQ(edit::TriangleWave(0), 0);
    EXPECT_EQ(edit::TriangleWave(kPi / 4), kHalf);
    EXPECT_EQ(edit::TriangleWave(kPi / 2), 1);
    EXPECT_EQ(edit::TriangleWave(kPi), 0);
    EXPECT_NEAR(edit::TriangleWave(3 * kPi / 2).ToDouble(), -1.0, 1e-15);
    EXPECT_NEAR(edit::TriangleWave(7 * kPi / 4).ToDouble(), -0.5, 1e-15);
    // Exactly 2pi is not reduced and falls to the last branch.
    EXPECT_EQ(edit::TriangleWave(2 * kPi), 0);
}

TEST(TriangleWave, ReducesIntoOnePeriodFirst) {
    EXPECT_NEAR(edit::TriangleWave(2 * kPi + kPi / 2).ToDouble(), 1.0, 1e-15);
    EXPECT_NEAR(edit::TriangleWave(-kPi / 2).ToDouble(), -1.0, 1e-15);
    EXPECT_NEAR(edit::TriangleWave(20 * kPi + kPi / 4).ToDouble(), 0.5, 1e-14);
}

TEST(SquareWave, SwitchesAtPi) {
    EXPECT_EQ(edit::SquareWave(0), kHalf);
    EXPECT_EQ(edit::SquareWave(Extended::FromBits(0x4000, 0xC90FDAA22168C234)), kHalf);
    EXPECT_EQ(edit::SquareWave(kPi), -kHalf);
    EXPECT_EQ(edit::SquareWave(2 * kPi), -kHalf);
    EXPECT_EQ(edit::SquareWave(-Extended(0.1)), -kHalf); // 2pi - 0.1
    EXPECT_EQ(edit::SquareWave(2 * kPi + Extended(0.1)), kHalf);
}

TEST(SawWave, FallsFromHalfToMinusHalf) {
    EXPECT_EQ(edit::SawWave(0), kHalf);
    EXPECT_EQ(edit::SawWave(kPi), 0);
    EXPECT_EQ(edit::SawWave(2 * kPi), -kHalf);
    EXPECT_EQ(edit::SawWave(kPi / 2), Extended(0.25));
}

// ---- the generator -------------------------------------------------------------------------

class Generator : public ::testing::Test {
protected:
    edit::EditResult Run(const GeneratorSettings &s, int from = 1, int to = 1,
                         SampleRange range = {}) {
        return edit::GenerateWaves(table, s, from, to, range, random, backup);
    }
    static GeneratorSettings Replace(Shape shape, int harmonic = 1) {
        GeneratorSettings s;
        s.Wave = shape;
        s.Harmonic = harmonic;
        s.AddToExisting = false;
        return s;
    }
    static GeneratorSettings Combining(CombineMode mode, Shape shape = Shape::Square) {
        GeneratorSettings s;
        s.Wave = shape;
        s.Harmonic = 1;
        s.AddToExisting = true;
        s.Mode = mode;
        return s;
    }

    Wavetable table = testing_support::ZeroTable();
    RandomGenerator random;
    edit::WaveBackup backup;
};

TEST_F(Generator, SineAtTheFirstHarmonicMatchesTheNewTable) {
    const auto r = Run(Replace(Shape::Sine));
    EXPECT_FALSE(r.Overflow);
    EXPECT_EQ(At(table, 1, 32), 524287);
    EXPECT_EQ(At(table, 1, 96), -524288);
    // The new table's worked values: one step after the zero crossing.
    EXPECT_EQ(At(table, 1, 1), 25725);
    EXPECT_EQ(At(table, 1, 64), 0);
    EXPECT_EQ(At(table, 1, 65), -25726);
    EXPECT_EQ(At(table, 1, 128), 0);
    const Wavetable fresh = testing_support::NewTable();
    for (int s = 1; s <= kSampleCount; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(At(table, 1, s), At(fresh, 1, s));
    }
    // Only the chosen wave changes.
    EXPECT_EQ(At(table, 2, 32), 0);
}

TEST_F(Generator, SecondHarmonicHasTwoPeriodsAtHalfAmplitude) {
    Run(Replace(Shape::Sine, 2));
    EXPECT_EQ(At(table, 1, 16), 262143);
    EXPECT_EQ(At(table, 1, 48), -262144);
    EXPECT_EQ(At(table, 1, 80), 262143);
    EXPECT_EQ(At(table, 1, 112), -262144);
}

TEST_F(Generator, SquareIsHalfScaleUpToSample63) {
    Run(Replace(Shape::Square));
    for (int s = 1; s <= kSampleCount; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(At(table, 1, s), s <= 63 ? 524287 : -524288);
    }
}

TEST_F(Generator, SawFallsToMinusHalfScaleAtTheLastSample) {
    Run(Replace(Shape::Saw));
    EXPECT_EQ(At(table, 1, 1), 516095); // floor(1,048,575 * (1/2 - 1/128))
    EXPECT_EQ(At(table, 1, 64), 0);
    EXPECT_EQ(At(table, 1, 128), -524288);
}

TEST_F(Generator, TrianglePeaksAtTheQuarterPeriods) {
    Run(Replace(Shape::Triangle));
    EXPECT_EQ(At(table, 1, 16), 262143); // floor(0.25 * 1,048,575)
    EXPECT_EQ(At(table, 1, 32), 524287);
    EXPECT_EQ(At(table, 1, 64), 0);
    EXPECT_EQ(At(table, 1, 96), -524288);
}

TEST_F(Generator, FadeOutAndFadeIn) {
    GeneratorSettings s = Replace(Shape::Square);
    s.FadePosition = 10;
    Run(s);
    EXPECT_EQ(At(table, 1, 1), 524287);
    EXPECT_EQ(At(table, 1, 128), 0);

    s.FadePosition = -10;
    Run(s);
    EXPECT_EQ(At(table, 1, 1), 0);
    EXPECT_EQ(At(table, 1, 128), -524288);

    s.FadePosition = 5; // weight 1 - 0.5 * 63 / 127 at sample 64
    Run(s);
    EXPECT_EQ(At(table, 1, 64), -394249);
    EXPECT_EQ(At(table, 1, 128), -262144);
}

TEST_F(Generator, RangeLimitsTheSamplesButNotTheFade) {
    for (int s = 1; s <= kSampleCount; ++s)
        Set(table, 1, s, 1000 + s);
    GeneratorSettings g = Replace(Shape::Square);
    g.FadePosition = 10;
    Run(g, 1, 1, SampleRange{9, 19}); // sample numbers 10..20
    for (int s = 1; s <= kSampleCount; ++s) {
        SCOPED_TRACE(s);
        if (s < 10 || s > 20) {
            EXPECT_EQ(At(table, 1, s), 1000 + s);
        }
    }
    EXPECT_EQ(At(table, 1, 10), 487132); // 524,287 * (1 - 9 / 127), floored
    EXPECT_EQ(At(table, 1, 20), 445850); // 524,287 * (1 - 19 / 127), floored
}

// A new table holds -524,288 at sample 96 and the sine adds -524,288 there: -1,048,576 is
// already out of range, so even the first Add on a new table overflows.
TEST_F(Generator, AddOnANewTableOverflowsAtTheNegativePeak) {
    table = testing_support::NewTable();
    const Wavetable before = table;
    GeneratorSettings s = Combining(CombineMode::Add, Shape::Sine);
    auto r = Run(s);
    EXPECT_TRUE(r.Overflow);
    EXPECT_EQ(r.RestoredWaves, std::vector<int>{1});
    ASSERT_EQ(r.LogLines.size(), 1u);
    EXPECT_EQ(r.LogLines[0], "21 bit overflow error. You can allow overflow! -->");
    EXPECT_EQ(table, before);

    s.AllowOverflow = true;
    r = Run(s);
    EXPECT_FALSE(r.Overflow);
    EXPECT_TRUE(r.RestoredWaves.empty());
    EXPECT_EQ(At(table, 1, 32), 1048574);
    EXPECT_EQ(At(table, 1, 96), 0); // -1,048,576 is stored as FF 00 00, read back as 0
    EXPECT_EQ(At(table, 1, 1), 2 * 25725);

    // A second Add: 1,572,861 at sample 32 is stored as the codec encodes it, high byte 5F,
    // read back as -540,669.
    r = Run(s);
    EXPECT_EQ(At(table, 1, 32), -540669);
}

TEST_F(Generator, AddThatStaysInRangeIsKept) {
    for (int s = 1; s <= kSampleCount; ++s)
        Set(table, 1, s, 524288);
    const auto r = Run(Combining(CombineMode::Add));
    EXPECT_FALSE(r.Overflow);
    EXPECT_TRUE(r.LogLines.empty());
    EXPECT_EQ(At(table, 1, 1), 1048575); // the largest value in range
    EXPECT_EQ(At(table, 1, 128), 0);
}

TEST_F(Generator, OnceOneWaveOverflowsEveryLaterWaveIsRestored) {
    for (int s = 1; s <= kSampleCount; ++s)
        Set(table, 2, s, 1000000);
    table.Message(2)[kOffsetName] = 'X'; // the name is restored with the samples
    const Wavetable before = table;
    const auto r = Run(Combining(CombineMode::Add), 1, 3);
    EXPECT_TRUE(r.Overflow);
    EXPECT_EQ(r.RestoredWaves, (std::vector<int>{2, 3}));
    EXPECT_EQ(r.LogLines.size(), 2u);
    EXPECT_EQ(At(table, 1, 1), 524287); // wave 1 came before the overflow and keeps its result
    EXPECT_TRUE(testing_support::SameWave(table, before, 2));
    EXPECT_TRUE(testing_support::SameWave(table, before, 3));
}

TEST_F(Generator, WithoutAddEveryModeWritesTheGeneratedWave) {
    for (int s = 1; s <= kSampleCount; ++s)
        Set(table, 1, s, 777);
    for (CombineMode mode : {CombineMode::Sub, CombineMode::Multi, CombineMode::And}) {
        GeneratorSettings s = Replace(Shape::Square);
        s.Mode = mode;
        Run(s);
        EXPECT_EQ(At(table, 1, 1), 524287);
        EXPECT_EQ(At(table, 1, 100), -524288);
    }
}

// Square gives v = 524,287 at sample 10 and -524,288 at sample 100.
struct CombineCase {
    CombineMode Mode;
    std::int32_t Existing10, Expected10;
    std::int32_t Existing100, Expected100;
};

class GeneratorCombine : public Generator, public ::testing::WithParamInterface<CombineCase> {};

TEST_P(GeneratorCombine, CombinesWithTheExistingSample) {
    const CombineCase c = GetParam();
    Set(table, 1, 10, c.Existing10);
    Set(table, 1, 100, c.Existing100);
    GeneratorSettings s = Combining(c.Mode);
    s.AllowOverflow = true;
    Run(s);
    EXPECT_EQ(At(table, 1, 10), c.Expected10);
    EXPECT_EQ(At(table, 1, 100), c.Expected100);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, GeneratorCombine,
    ::testing::Values(
        CombineCase{CombineMode::Add, 300, 524587, -2, -524290},
        CombineCase{CombineMode::Sub, 300, 300 - 524287, -2, 524286}, // h - v
        // 0x7FFFF | 300; 0xFFF80000 | 0xFFFFFFFE
        CombineCase{CombineMode::Or, 300, 524287, -2, -2},
        CombineCase{CombineMode::And, 300, 300, -2, -524288},
        CombineCase{CombineMode::Xor, 300, 523987, -2, 524286},
        // 8 * 524,287 * 300 / 2,097,150 = 599.9994..; 8 * -524,288 * 300 / 2,097,150 = -600.0006..
        CombineCase{CombineMode::Multi, 300, 599, 300, -601},
        CombineCase{CombineMode::Min, 300, 300, -2, -524288},
        CombineCase{CombineMode::Max, 300, 524287, -2, -2},
        CombineCase{CombineMode::Replace, 300, 524287, -2, -524288}));

TEST_F(Generator, MultiOfFullScaleValuesOverflows) {
    for (int s = 1; s <= kSampleCount; ++s)
        Set(table, 1, s, 1048575);
    const Wavetable before = table;
    const auto r = Run(Combining(CombineMode::Multi)); // about 4 * 524,287
    EXPECT_TRUE(r.Overflow);
    EXPECT_EQ(table, before);
}

TEST_F(Generator, RandomShapeDrawsOncePerSampleInOrder) {
    constexpr std::uint32_t kSeed = 4321;
    random.SetSeed(kSeed);
    const SampleRange range{4, 99};
    Run(Replace(Shape::Random), 2, 3, range);

    testing_support::TestLcg lcg{kSeed};
    for (int w = 2; w <= 3; ++w) {
        for (int s = range.First + 1; s <= range.Last + 1; ++s) {
            SCOPED_TRACE(::testing::Message() << "wave " << w << " sample " << s);
            const std::int64_t r = lcg.Next(2000000);
            // floor((r / 1,000,000 - 1) * 1,048,575) in exact integers; skip the rare draws
            // whose exact result is an integer (r - 1,000,000 a multiple of 40,000).
            const std::int64_t num = (r - 1000000) * 1048575;
            if (num % 1000000 == 0)
                continue;
            std::int64_t expected = num / 1000000;
            if (num < 0)
                --expected; // toward minus infinity
            std::int32_t stored = static_cast<std::int32_t>(expected);
            if (stored == -1)
                stored = 0; // -1 is stored as 0
            EXPECT_EQ(At(table, w, s), stored);
        }
    }
    EXPECT_EQ(random.Seed, lcg.Seed); // exactly one draw per sample, none elsewhere
    EXPECT_EQ(At(table, 1, 50), 0);
    EXPECT_EQ(At(table, 2, 1), 0);
}

TEST_F(Generator, RandomShapeSpansTwiceTheAmplitudeOfTheOthers) {
    random.SetSeed(99);
    Run(Replace(Shape::Random), 1, 64);
    std::int32_t lo = 0;
    std::int32_t hi = 0;
    for (int w = 1; w <= kWaveCount; ++w)
        for (int s = 1; s <= kSampleCount; ++s) {
            lo = std::min(lo, At(table, w, s));
            hi = std::max(hi, At(table, w, s));
        }
    EXPECT_GE(lo, -1048575);
    EXPECT_LE(hi, 1048574);
    EXPECT_LT(lo, -1000000);
    EXPECT_GT(hi, 1000000);
}

TEST_F(Generator, BackupHoldsTheLastWaveBeforeItChanged) {
    table = testing_support::NewTable();
    const Wavetable before = table;
    Run(Replace(Shape::Square), 5, 6);
    edit::WaveBackup expected;
    std::copy(before.Message(5) + kBackupOffset, before.Message(5) + kBackupOffset + kBackupSize,
              expected.Bytes.begin());
    EXPECT_EQ(backup.Bytes, expected.Bytes);
}

} // namespace
} // namespace morvane::edit
