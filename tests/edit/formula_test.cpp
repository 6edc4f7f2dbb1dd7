#include "edit/formula.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "edit/generator.h"
#include "edit/random.h"
#include "edit_test_support.h"

namespace morvane::edit {
namespace {

using edit::ApplyFormula;
using edit::CombineMode;
using edit::Formula;
using edit::FormulaSettings;
using testing_support::At;
using testing_support::NewTable;
using testing_support::Set;
using testing_support::TestLcg;
using testing_support::ZeroTable;

constexpr SampleRange kWhole{};

// Applies `expression` over waves from..to of `table` with a generator seeded with `seed`.
edit::FormulaResult Apply(Wavetable &table, const char *expression, int from, int to,
                          FormulaSettings settings = {}, std::uint32_t seed = 0,
                          SampleRange range = kWhole) {
    Formula formula(expression);
    RandomGenerator random;
    random.SetSeed(seed);
    edit::WaveBackup backup;
    return ApplyFormula(table, formula, settings, from, to, range, random, backup);
}

TEST(Formula, SineIsTheRoundedSineAndMatchesTheGenerator) {
    Wavetable t = NewTable();
    Apply(t, "sin(2*pi*w)", 1, 64);
    for (int w : {1, 64})
        for (int n = 0; n < kSampleCount; ++n) {
            SCOPED_TRACE(n);
            const double expected =
                std::nearbyint(std::sin(2 * std::numbers::pi * n / 128) * 1048575);
            EXPECT_EQ(At(t, w, n + 1), static_cast<std::int32_t>(expected));
        }
    // The generator's sine (harmonic 1) is half scale and one step on: (n + 1) / 128.
    Wavetable generated = NewTable();
    edit::GeneratorSettings sine;
    sine.Harmonic = 1;
    sine.AddToExisting = false;
    RandomGenerator random;
    edit::WaveBackup backup;
    edit::GenerateWaves(generated, sine, 1, 1, kWhole, random, backup);
    Apply(t, "sin(2*pi*(n+1)/128)/2", 1, 1);
    for (int s = 1; s <= kSampleCount; ++s)
        EXPECT_NEAR(At(t, 1, s), At(generated, 1, s), 1) << s;
}

TEST(Formula, VariablesAtTheirBoundaries) {
    Wavetable t = ZeroTable();
    Apply(t, "x", 1, 1);
    EXPECT_EQ(At(t, 1, 1), -1048575);
    EXPECT_EQ(At(t, 1, 65), 0);
    EXPECT_EQ(At(t, 1, 128), 1032191); // 63/64 of full scale, 1032191.015625
    // y and z of a single wave are 0 and 0.5; i is the wave number.
    Apply(t, "y + z/2 + i/1048575", 7, 7);
    EXPECT_EQ(At(t, 7, 1), 262151); // (0.25 + 7 / 1,048,575) of full scale: 262150.75
}

TEST(Formula, PulseWidthSweepOverTheWholeTable) {
    Wavetable t = NewTable();
    const auto result = Apply(t, "(x<y)*2-1", 1, 64);
    EXPECT_EQ(result.WrittenWaves, 64);
    for (int s = 1; s <= kSampleCount; ++s) {
        EXPECT_EQ(At(t, 1, s), -1048575) << s;
        EXPECT_EQ(At(t, 64, s), 1048575) << s;
        // Wave 33: y = 64/63 - 1, so x < y for n <= 65, the first 66 samples.
        EXPECT_EQ(At(t, 33, s), s <= 66 ? 1048575 : -1048575) << s;
    }
}

TEST(Formula, RoundsTiesToEven) {
    Wavetable t = ZeroTable();
    Apply(t, "(n+0.5)/1048575", 1, 1);
    EXPECT_EQ(At(t, 1, 1), 0);
    EXPECT_EQ(At(t, 1, 2), 2);
    EXPECT_EQ(At(t, 1, 3), 2);
    EXPECT_EQ(At(t, 1, 4), 4);
    Apply(t, "-(n+0.5)/1048575", 2, 2);
    EXPECT_EQ(At(t, 2, 3), -2);
}

TEST(Formula, SyntaxErrorsNameTheirPosition) {
    const auto errorOf = [](const char *expression) {
        try {
            Formula f(expression);
        } catch (const edit::FormulaError &e) {
            return std::pair<std::string, int>(e.what(), e.Position);
        }
        return std::pair<std::string, int>("parsed", -2);
    };
    EXPECT_EQ(errorOf("x +* 2"),
              std::make_pair(std::string("Unexpected operator \"*\" found at position 3"), 3));
    EXPECT_EQ(errorOf("sin(2*pi*w"),
              std::make_pair(std::string("Missing parenthesis at position 11"), 11));
    EXPECT_EQ(errorOf("q+1").second, 0);
    EXPECT_EQ(errorOf("").second, -1);
}

TEST(Formula, RandDrawsWaveByWaveSampleBySample) {
    Wavetable a = ZeroTable();
    Wavetable b = ZeroTable();
    Apply(a, "rand()", 3, 4, {}, 12345);
    Apply(b, "rand()", 3, 4, {}, 12345);
    EXPECT_EQ(a, b);
    TestLcg lcg{12345};
    for (int w : {3, 4})
        for (int s = 1; s <= kSampleCount; ++s) {
            lcg.Next(1);
            const double v = lcg.Seed / 4294967296.0;
            ASSERT_EQ(At(a, w, s), static_cast<std::int32_t>(std::nearbyint(v * 1048575)))
                << w << " " << s;
        }
}

TEST(Formula, OverflowRefusesTheWaveOrClips) {
    Wavetable t = NewTable();
    const Wavetable before = t;
    // x*i/2: wave 2 reaches exactly -1 (allowed), wave 3 reaches -1.5.
    auto result = Apply(t, "x*i/2", 1, 3);
    EXPECT_EQ(result.RefusedWaves, std::vector<int>{3});
    EXPECT_EQ(result.WrittenWaves, 2);
    EXPECT_EQ(At(t, 2, 1), -1048575);
    EXPECT_TRUE(testing_support::SameWave(t, before, 3));

    FormulaSettings allow;
    allow.AllowOverflow = true;
    result = Apply(t, "(n<1) ? x*3 : ((n<2) ? x : sqrt(-1))", 3, 3, allow);
    EXPECT_TRUE(result.RefusedWaves.empty());
    EXPECT_EQ(At(t, 3, 1), -1048575); // -3, clipped
    EXPECT_EQ(At(t, 3, 2), -1032191); // -0.984375, in range: -1032191.015625
    EXPECT_EQ(At(t, 3, 3), 0);        // not a number
}

TEST(Formula, AddToExistingCombinesWithTheSameOverflowRule) {
    Wavetable t = ZeroTable();
    Set(t, 1, 1, 1000000);
    Set(t, 1, 2, -5);
    FormulaSettings add;
    add.AddToExisting = true;
    add.Mode = CombineMode::Sub; // existing - formula
    Apply(t, "0.5", 1, 1, add, 0, SampleRange{1, 127});
    EXPECT_EQ(At(t, 1, 1), 1000000); // outside the sample range
    EXPECT_EQ(At(t, 1, 2), -524293);
    add.Mode = CombineMode::Add;
    EXPECT_EQ(Apply(t, "0.5", 1, 1, add).RefusedWaves, std::vector<int>{1});
    EXPECT_EQ(At(t, 1, 1), 1000000);
    add.AllowOverflow = true;
    Apply(t, "0.5", 1, 1, add);
    EXPECT_EQ(At(t, 1, 1), 1048575);
}

} // namespace
} // namespace morvane::edit
