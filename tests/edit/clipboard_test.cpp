#include "edit/clipboard.h"

#include <gtest/gtest.h>

#include "edit_test_support.h"

namespace morvane::edit {
namespace {

using edit::CombineMode;
using testing_support::At;
using testing_support::Set;

class Clipboard : public ::testing::Test {
protected:
    void Ramp(int w, std::int32_t base) {
        for (int s = 1; s <= kSampleCount; ++s)
            Set(table, w, s, base + s);
    }
    edit::EditResult Special(CombineMode mode, int wave = 2, SampleRange range = {},
                             bool allow = false) {
        return edit::PasteSpecial(clip, table, wave, range, mode, allow, backup);
    }

    Wavetable table = testing_support::ZeroTable();
    edit::WaveClipboard clip;
    edit::WaveBackup backup;
};

// ---- copy and paste -----------------------------------------------------------------------

TEST_F(Clipboard, StartsEmpty) {
    EXPECT_EQ(clip.Length, 0);
    for (int k = 1; k <= kSampleCount; ++k)
        EXPECT_EQ(clip.Slot(k), SampleTriple{});
}

TEST_F(Clipboard, FullCopyAndPasteMakesTheSamplesEqualButKeepsTheHeader) {
    table = testing_support::NewTable();
    Ramp(1, -64);
    table.Message(4)[kOffsetName] = 'Q';
    const Wavetable before = table;
    edit::Copy(clip, table, 1, {});
    EXPECT_EQ(clip.Length, 128);
    EXPECT_EQ(table, before); // copy changes nothing
    edit::Paste(clip, table, 5, {});
    for (int s = 1; s <= kSampleCount; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(testing_support::ReadRaw(table, 5, s), testing_support::ReadRaw(table, 1, s));
    }
    for (std::size_t i = 0; i < kOffsetSamples; ++i)
        EXPECT_EQ(table.Message(4)[i], before.Message(4)[i]);
    for (std::size_t i = kOffsetName; i < kMessageSize; ++i)
        EXPECT_EQ(table.Message(4)[i], before.Message(4)[i]);
}

TEST_F(Clipboard, PasteWritesRelativeToTheRangeStart) {
    Ramp(1, 0);
    edit::Copy(clip, table, 1, SampleRange{10, 19}); // samples 11..20
    EXPECT_EQ(clip.Length, 10);
    EXPECT_EQ(DecodeSample(clip.Slot(1).High, clip.Slot(1).Middle, clip.Slot(1).Low), 11);

    edit::Paste(clip, table, 2, SampleRange{50, 59}); // samples 51..60
    for (int s = 51; s <= 60; ++s)
        EXPECT_EQ(At(table, 2, s), s - 40);
    EXPECT_EQ(At(table, 2, 50), 0);
    EXPECT_EQ(At(table, 2, 61), 0);

    edit::Paste(clip, table, 3, SampleRange{50, 54}); // only five fit
    for (int s = 51; s <= 55; ++s)
        EXPECT_EQ(At(table, 3, s), s - 40);
    EXPECT_EQ(At(table, 3, 56), 0);

    Ramp(4, 1000);
    edit::Paste(clip, table, 4, {}); // samples 1..10 receive the copy
    for (int s = 1; s <= 10; ++s)
        EXPECT_EQ(At(table, 4, s), s + 10);
    for (int s = 11; s <= kSampleCount; ++s)
        EXPECT_EQ(At(table, 4, s), 1000 + s);
}

TEST_F(Clipboard, PasteBeforeAnyCopyWritesNothing) {
    Ramp(1, 5);
    const Wavetable before = table;
    edit::Paste(clip, table, 1, {});
    EXPECT_EQ(table, before);
}

TEST_F(Clipboard, ShorterCopyKeepsTheSlotsBeyondIt) {
    Ramp(1, 0);
    edit::Copy(clip, table, 1, {});
    edit::Copy(clip, table, 1, SampleRange{100, 101}); // samples 101, 102 into slots 1, 2
    EXPECT_EQ(clip.Length, 2);
    EXPECT_EQ(clip.Slot(1), EncodeSample(101));
    EXPECT_EQ(clip.Slot(3), EncodeSample(3));
    EXPECT_EQ(clip.Slot(128), EncodeSample(128));
}

// ---- paste special ------------------------------------------------------------------------

TEST_F(Clipboard, PasteSubIsTheClipboardMinusTheWave) {
    Ramp(2, 300);
    edit::Copy(clip, table, 2, {});
    EXPECT_FALSE(Special(CombineMode::Sub).Overflow);
    for (int s = 1; s <= kSampleCount; ++s)
        EXPECT_EQ(At(table, 2, s), 0);

    for (int s = 1; s <= kSampleCount; ++s) {
        Set(table, 1, s, 1000);
        Set(table, 2, s, 300);
    }
    edit::Copy(clip, table, 1, {});
    Special(CombineMode::Sub);
    EXPECT_EQ(At(table, 2, 1), 700);
    EXPECT_EQ(At(table, 2, 128), 700);
}

TEST_F(Clipboard, PasteMultiplicationBeforeAnyCopyClearsTheRange) {
    Ramp(2, 5000);
    Special(CombineMode::Multi, 2, SampleRange{3, 9});
    for (int s = 1; s <= kSampleCount; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(At(table, 2, s), s >= 4 && s <= 10 ? 0 : 5000 + s);
    }
}

TEST_F(Clipboard, PasteSumOfFullScaleOverflowsAndRestores) {
    for (int s = 1; s <= kSampleCount; ++s)
        Set(table, 2, s, 1048575);
    edit::Copy(clip, table, 2, {});
    const Wavetable before = table;
    const auto r = Special(CombineMode::Add);
    EXPECT_TRUE(r.Overflow);
    EXPECT_EQ(r.RestoredWaves, std::vector<int>{2});
    EXPECT_TRUE(r.LogLines.empty());
    EXPECT_EQ(table, before);

    const auto allowed = Special(CombineMode::Add, 2, {}, true);
    EXPECT_FALSE(allowed.Overflow);
    const SampleTriple t = EncodeSample(2097150);
    EXPECT_EQ(At(table, 2, 1), DecodeSample(t.High, t.Middle, t.Low));
}

TEST_F(Clipboard, PasteSpecialUsesTheSlotWithTheSampleNumber) {
    Ramp(1, 0);
    edit::Copy(clip, table, 1, SampleRange{10, 19}); // slots 1..10 = 11..20, slot 11.. = 0
    Ramp(2, 100);
    Special(CombineMode::Add);
    EXPECT_EQ(At(table, 2, 1), 101 + 11);
    EXPECT_EQ(At(table, 2, 10), 110 + 20);
    EXPECT_EQ(At(table, 2, 11), 111);
    EXPECT_EQ(At(table, 2, 128), 228);
}

struct PasteCase {
    CombineMode Mode;
    std::int32_t Wave, Slot, Expected;
};

class PasteModes : public Clipboard, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(PasteModes, CombineTheWaveWithTheSlot) {
    const PasteCase c = GetParam();
    Set(table, 1, 7, c.Slot);
    edit::Copy(clip, table, 1, {});
    Set(table, 2, 7, c.Wave);
    Set(table, 2, 8, 1234); // slot 8 is 0
    Special(c.Mode, 2, {}, true);
    EXPECT_EQ(At(table, 2, 7), c.Expected);
    if (c.Mode == CombineMode::Add || c.Mode == CombineMode::Or || c.Mode == CombineMode::Xor ||
        c.Mode == CombineMode::Max || c.Mode == CombineMode::Replace) {
        EXPECT_EQ(At(table, 2, 8), 1234);
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, PasteModes,
                         ::testing::Values(PasteCase{CombineMode::Add, 300, 1000, 1300},
                                           PasteCase{CombineMode::Sub, 300, 1000, 700},
                                           PasteCase{CombineMode::Or, -524288, -2, -2},
                                           PasteCase{CombineMode::And, -524288, -2, -524288},
                                           PasteCase{CombineMode::Xor, -524288, -2, 524286},
                                           // 8 * 300 * 524,287 / 2,097,150 = 599.9994..
                                           PasteCase{CombineMode::Multi, 300, 524287, 599},
                                           PasteCase{CombineMode::Multi, -524288, 300, -601},
                                           PasteCase{CombineMode::Min, 300, -1000, -1000},
                                           PasteCase{CombineMode::Max, 300, -1000, 300},
                                           PasteCase{CombineMode::Replace, 300, -1000, 300}));

} // namespace
} // namespace morvane::edit
