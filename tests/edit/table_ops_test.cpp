#include "edit/table_ops.h"

#include <algorithm>
#include <array>
#include <numeric>

#include <gtest/gtest.h>

#include "document/error.h"
#include "edit/random.h"
#include "edit_test_support.h"

namespace morvane::edit {
namespace {

using testing_support::At;
using testing_support::Set;
using testing_support::SetRaw;
using testing_support::TestLcg;

class TableOps : public ::testing::Test {
protected:
    Wavetable table = testing_support::ZeroTable();
    RandomGenerator random;
};

// ---- morph --------------------------------------------------------------------------------

TEST_F(TableOps, MorphMixesLinearlyAndFloors) {
    // Samples 1..4 of wave 3 hold 1,000, -1,000, 1 and -3; wave 1 holds 0.
    const std::int32_t last[] = {1000, -1000, 1, -3};
    const std::int32_t middle[] = {500, -500, 0, -2};
    for (int s = 1; s <= 4; ++s)
        Set(table, 3, s, last[s - 1]);
    edit::Morph(table, 1, 3, {});
    for (int s = 1; s <= 4; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(At(table, 1, s), 0);
        EXPECT_EQ(At(table, 2, s), middle[s - 1]);
        EXPECT_EQ(At(table, 3, s), last[s - 1]);
    }
}

TEST_F(TableOps, MorphOverALongerRunAndARange) {
    for (int s = 1; s <= kSampleCount; ++s) {
        Set(table, 10, s, 100);
        Set(table, 14, s, 110);
        Set(table, 12, s, 777);
    }
    edit::Morph(table, 10, 14, SampleRange{4, 5}); // sample numbers 5 and 6
    // 100 + 10 * (w - 10) / 4: 102.5, 105, 107.5 floored.
    EXPECT_EQ(At(table, 11, 5), 102);
    EXPECT_EQ(At(table, 12, 5), 105);
    EXPECT_EQ(At(table, 13, 6), 107);
    EXPECT_EQ(At(table, 12, 4), 777); // outside the range
    EXPECT_EQ(At(table, 12, 7), 777);
    EXPECT_EQ(At(table, 9, 5), 0);
    EXPECT_EQ(At(table, 15, 5), 0);
}

TEST_F(TableOps, MorphOfOneWaveIsAnInvalidOperationAndChangesNothing) {
    table = testing_support::NewTable();
    const Wavetable before = table;
    try {
        edit::Morph(table, 7, 7, {});
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_STREQ(e.what(), "Invalid floating point operation");
    }
    EXPECT_EQ(table, before);
}

// ---- random wave order --------------------------------------------------------------------

// Gives every wave distinct samples, name and header bytes.
void MarkWaves(Wavetable &t) {
    for (int w = 1; w <= kWaveCount; ++w) {
        for (int s = 1; s <= kSampleCount; ++s)
            Set(t, w, s, w * 1000 + s);
        t.Message(w - 1)[kOffsetName] = static_cast<std::uint8_t>('A' + w % 26);
        t.Message(w - 1)[kOffsetAfterName + 1] = static_cast<std::uint8_t>(w);
        t.Message(w - 1)[kOffsetChecksum] = static_cast<std::uint8_t>(w);
    }
}

void ExpectOrder(const Wavetable &before, const Wavetable &after, const std::array<int, 65> &at) {
    for (int w = 1; w <= kWaveCount; ++w) {
        SCOPED_TRACE(w);
        const std::uint8_t *now = after.Message(w - 1);
        const std::uint8_t *was = before.Message(at[static_cast<std::size_t>(w)] - 1);
        const std::uint8_t *own = before.Message(w - 1);
        EXPECT_TRUE(std::equal(now + kBackupOffset, now + kBackupOffset + kBackupSize,
                               was + kBackupOffset));
        EXPECT_TRUE(std::equal(now, now + kBackupOffset, own)); // header bytes 0..6 stay
        EXPECT_EQ(now[kOffsetChecksum], own[kOffsetChecksum]);
        EXPECT_EQ(now[kOffsetEnd], own[kOffsetEnd]);
    }
}

TEST_F(TableOps, RandomWaveOrderFollowsTheGeneratorsDraws) {
    MarkWaves(table);
    const Wavetable before = table;
    constexpr std::uint32_t kSeed = 36000123;
    random.SetSeed(kSeed);
    edit::RandomWaveOrder(table, 5, 20, random);

    std::array<int, 65> at{}; // at[position] = the wave number whose bytes are there now
    std::iota(at.begin(), at.end(), 0);
    TestLcg lcg{kSeed};
    for (int i = 0; i < 1000; ++i) {
        const int x = 5 + static_cast<int>(lcg.Next(16));
        const int y = 5 + static_cast<int>(lcg.Next(16));
        std::swap(at[static_cast<std::size_t>(x)], at[static_cast<std::size_t>(y)]);
    }
    EXPECT_EQ(random.Seed, lcg.Seed);
    ExpectOrder(before, table, at);
    EXPECT_NE(table, before);
}

TEST_F(TableOps, RandomWaveOrderOfOneWaveChangesNothingButDraws) {
    MarkWaves(table);
    const Wavetable before = table;
    random.SetSeed(5);
    edit::RandomWaveOrder(table, 9, 9, random);
    EXPECT_EQ(table, before);
    TestLcg lcg{5};
    for (int i = 0; i < 2000; ++i)
        lcg.Next(1);
    EXPECT_EQ(random.Seed, lcg.Seed);
}

// ---- random slice order -------------------------------------------------------------------

TEST_F(TableOps, SliceLengthsByItem) {
    EXPECT_EQ(edit::SliceLength(0), 32);
    EXPECT_EQ(edit::SliceLength(1), 16);
    EXPECT_EQ(edit::SliceLength(2), 8);
    EXPECT_EQ(edit::SliceLength(3), 4);
}

// The pair of slice starts the generator gives next for a range and slice length.
std::pair<int, int> DrawPair(TestLcg &lcg, int first, int last, int length) {
    for (;;) {
        const int a =
            first + static_cast<int>(lcg.Next(static_cast<std::uint32_t>(last - first + 1)));
        const int c =
            first + static_cast<int>(lcg.Next(static_cast<std::uint32_t>(last - first + 1)));
        const int p = length * (a / length);
        const int q = length * (c / length);
        if (p != q)
            return {p, q};
    }
}

void ExpectSwapped(const Wavetable &before, const Wavetable &after, int w, int p, int q, int length,
                   SampleRange range) {
    for (int k = 0; k < kSampleCount; ++k) {
        SCOPED_TRACE(::testing::Message() << "wave " << w << " index " << k);
        int from = k;
        const auto inRange = [&](int i) { return i >= range.First && i <= range.Last; };
        if (k >= p && k < p + length && inRange(k) && inRange(q + k - p))
            from = q + k - p;
        else if (k >= q && k < q + length && inRange(k) && inRange(p + k - q))
            from = p + k - q;
        EXPECT_EQ(ReadSampleBytes(after, w - 1, k), ReadSampleBytes(before, w - 1, from));
    }
}

TEST_F(TableOps, FourSlicesOverTheFullRangeSwapTwoQuarters) {
    MarkWaves(table);
    const Wavetable before = table;
    constexpr std::uint32_t kSeed = 777;
    random.SetSeed(kSeed);
    const auto r = edit::RandomSliceOrder(table, 1, 1, {}, 32, true, random);
    EXPECT_TRUE(r.Swapped);
    TestLcg lcg{kSeed};
    const auto [p, q] = DrawPair(lcg, 0, 127, 32);
    EXPECT_EQ(random.Seed, lcg.Seed);
    ExpectSwapped(before, table, 1, p, q, 32, {});
    EXPECT_TRUE(testing_support::SameWave(table, before, 2));
}

TEST_F(TableOps, SameReusesTheFirstPairForEveryWave) {
    MarkWaves(table);
    const Wavetable before = table;
    random.SetSeed(31337);
    edit::RandomSliceOrder(table, 3, 6, {}, 16, true, random);
    TestLcg lcg{31337};
    const auto [p, q] = DrawPair(lcg, 0, 127, 16);
    for (int w = 3; w <= 6; ++w)
        ExpectSwapped(before, table, w, p, q, 16, {});
    EXPECT_EQ(random.Seed, lcg.Seed);
}

TEST_F(TableOps, WithoutSameEachWaveDrawsItsOwnPair) {
    MarkWaves(table);
    const Wavetable before = table;
    const SampleRange range{10, 40};
    random.SetSeed(2024);
    edit::RandomSliceOrder(table, 3, 8, range, 8, false, random);
    TestLcg lcg{2024};
    for (int w = 3; w <= 8; ++w) {
        const auto [p, q] = DrawPair(lcg, range.First, range.Last, 8);
        ExpectSwapped(before, table, w, p, q, 8, range);
    }
    EXPECT_EQ(random.Seed, lcg.Seed);
}

TEST_F(TableOps, SlicesThatNeverOverlapTheRangeTogetherLeaveTheWave) {
    MarkWaves(table);
    const Wavetable before = table;
    random.SetSeed(1);
    const auto r = edit::RandomSliceOrder(table, 1, 1, SampleRange{15, 46}, 32, true, random);
    EXPECT_FALSE(r.Swapped);
    EXPECT_EQ(table, before);
}

TEST_F(TableOps, ARangeInsideOneSliceEndsAndChangesNothing) {
    MarkWaves(table);
    const Wavetable before = table;
    random.SetSeed(42);
    const auto r = edit::RandomSliceOrder(table, 1, 64, SampleRange{0, 19}, 32, false, random);
    EXPECT_FALSE(r.Swapped);
    EXPECT_EQ(table, before);
    EXPECT_EQ(random.Seed, 42u); // detected before any draw
    // The smallest slices too: samples 5..8 lie in the one slice 4..7.
    EXPECT_FALSE(edit::RandomSliceOrder(table, 1, 1, SampleRange{4, 7}, 4, true, random).Swapped);
    EXPECT_EQ(table, before);
}

// ---- sort ---------------------------------------------------------------------------------

TEST_F(TableOps, SortGivesDescendingOrderInTheRange) {
    const std::int32_t in[] = {3, -5, 7, 7, 0};
    const std::int32_t out[] = {7, 7, 3, 0, -5};
    Set(table, 2, 1, 99);
    for (int s = 2; s <= 6; ++s)
        Set(table, 2, s, in[s - 2]);
    Set(table, 2, 7, 100);
    edit::Sort(table, 2, 2, SampleRange{1, 5});
    EXPECT_EQ(At(table, 2, 1), 99);
    for (int s = 2; s <= 6; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(At(table, 2, s), out[s - 2]);
    }
    EXPECT_EQ(At(table, 2, 7), 100);
}

TEST_F(TableOps, SortNeverSwapsEqualValues) {
    // 00 00 00 and 7F 00 00 both read as 0; their order stays.
    SetRaw(table, 1, 1, 0x00, 0x00, 0x00);
    SetRaw(table, 1, 2, 0x7F, 0x00, 0x00);
    Set(table, 1, 3, 5);
    edit::Sort(table, 1, 1, SampleRange{0, 2});
    EXPECT_EQ(At(table, 1, 1), 5);
    EXPECT_EQ(testing_support::ReadRaw(table, 1, 2), (SampleTriple{0x00, 0x00, 0x00}));
    EXPECT_EQ(testing_support::ReadRaw(table, 1, 3), (SampleTriple{0x7F, 0x00, 0x00}));
}

TEST_F(TableOps, SortOfTheNewSineKeepsItsValues) {
    table = testing_support::NewTable();
    std::array<std::int32_t, kSampleCount> values{};
    for (int s = 1; s <= kSampleCount; ++s)
        values[static_cast<std::size_t>(s - 1)] = At(table, 4, s);
    std::sort(values.begin(), values.end(), std::greater<>());
    edit::Sort(table, 3, 5, {});
    for (int s = 1; s <= kSampleCount; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(At(table, 4, s), values[static_cast<std::size_t>(s - 1)]);
    }
    EXPECT_EQ(At(table, 6, 1), 25725);
}

} // namespace
} // namespace morvane::edit
