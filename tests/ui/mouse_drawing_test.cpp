#include "ui/mouse_drawing.h"

#include <vector>

#include <gtest/gtest.h>

#include "edit/history.h"

namespace morvane::ui {
namespace {

using mouse::ColumnUsable;
using mouse::DrawingResult;
using mouse::SampleAtColumn;
using mouse::ValueAtRow;
using mouse::WaveMouseDown;
using mouse::WaveMouseMove;
using mouse::WaveMouseUp;

constexpr DrawingResult kNothing{false, false, false};
constexpr DrawingResult kDrawn{true, true, false};

Wavetable SineTable() {
    Wavetable table;
    FillNewWavetable(table, 0);
    return table;
}

// Sample numbers (1..128) of wave number w that differ between the two tables.
std::vector<int> ChangedSamples(const Wavetable &before, const Wavetable &after, int w) {
    std::vector<int> changed;
    for (int s = 1; s <= kSampleCount; ++s)
        if (ReadSample(before, w - 1, s - 1) != ReadSample(after, w - 1, s - 1))
            changed.push_back(s);
    return changed;
}

TEST(MouseMapping, ColumnsAndRows) {
    EXPECT_EQ(SampleAtColumn(0), 0);
    EXPECT_EQ(SampleAtColumn(2), 0);
    EXPECT_EQ(SampleAtColumn(30), 10);
    EXPECT_EQ(SampleAtColumn(381), 127);
    EXPECT_EQ(ValueAtRow(192), 128);
    EXPECT_EQ(ValueAtRow(96), 524415); // 128 + 524,287
    EXPECT_EQ(ValueAtRow(0), 1048575); // capped; 1,048,703 without the cap
    EXPECT_EQ(ValueAtRow(384), -1048447);
    EXPECT_EQ(ValueAtRow(193), 128 - 5461); // trunc(2,097,150 / 384) = 5461
    EXPECT_EQ(ValueAtRow(191), 128 + 5461);
}

TEST(MouseMapping, UsableColumnsFollowTheRange) {
    const SampleRange all{0, 127};
    EXPECT_TRUE(ColumnUsable(0, all));
    EXPECT_TRUE(ColumnUsable(381, all));
    EXPECT_FALSE(ColumnUsable(382, all));
    EXPECT_FALSE(ColumnUsable(-1, all));
    const SampleRange part{10, 20};
    EXPECT_FALSE(ColumnUsable(29, part));
    EXPECT_TRUE(ColumnUsable(30, part));
    EXPECT_TRUE(ColumnUsable(60, part));
    EXPECT_FALSE(ColumnUsable(61, part));
}

TEST(MouseDrawing, PressSetsTheSampleUnderThePointer) {
    struct Case {
        int X, Y, Sample;
        std::int32_t Value;
    };
    for (const Case c : {Case{30, 192, 11, 128}, Case{100, 96, 34, 524415},
                         Case{30, 0, 11, 1048575}, Case{30, 384, 11, -1048447}}) {
        SCOPED_TRACE(testing::Message() << c.X << ", " << c.Y);
        const Wavetable before = SineTable();
        Wavetable table = before;
        bool drawing = false;
        mouse::StrokePoint last;
        EXPECT_EQ(WaveMouseDown(table, 3, SampleRange{}, drawing, last, c.X, c.Y), kDrawn);
        EXPECT_TRUE(drawing);
        EXPECT_EQ(ReadSample(table, 2, c.Sample - 1), c.Value);
        EXPECT_EQ(ChangedSamples(before, table, 3), std::vector<int>{c.Sample});
        for (int w = 1; w <= 64; ++w)
            if (w != 3) {
                ASSERT_TRUE(ChangedSamples(before, table, w).empty()) << w;
            }
    }
}

TEST(MouseDrawing, PressBeyondTheLastSampleDoesNothingButReleasePushes) {
    const Wavetable before = SineTable();
    Wavetable table = before;
    edit::HistoryStack history;
    history.HistoryPush(table); // the state before
    bool drawing = false;
    mouse::StrokePoint last;
    EXPECT_EQ(WaveMouseDown(table, 1, SampleRange{}, drawing, last, 382, 100), kNothing);
    EXPECT_FALSE(drawing);
    EXPECT_EQ(table, before);
    const DrawingResult up = WaveMouseUp(drawing);
    EXPECT_EQ(up, (DrawingResult{false, false, true}));
    history.HistoryPush(table);
    // Undo returns an identical table first, then the state before it.
    const Wavetable *first = history.HistoryUndo();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(*first, before);
    EXPECT_EQ(history.HistoryUndo(), nullptr); // position 1 reached
}

TEST(MouseDrawing, StrokeIsOneUndoStep) {
    const Wavetable before = SineTable();
    Wavetable table = before;
    edit::HistoryStack history;
    history.HistoryPush(table);
    bool drawing = false;
    mouse::StrokePoint last;
    WaveMouseDown(table, 1, SampleRange{}, drawing, last, 30, 100);
    for (int x = 33; x <= 90; x += 3)
        EXPECT_EQ(WaveMouseMove(table, 1, SampleRange{}, drawing, last, x, 150), kDrawn);
    EXPECT_EQ(WaveMouseUp(drawing), (DrawingResult{true, true, true}));
    EXPECT_FALSE(drawing);
    history.HistoryPush(table);
    EXPECT_EQ(ChangedSamples(before, table, 1).size(), 21u);
    const Wavetable *undone = history.HistoryUndo();
    ASSERT_NE(undone, nullptr);
    EXPECT_EQ(*undone, before);
}

TEST(MouseDrawing, FastMovesFillTheSamplesBetween) {
    const Wavetable before = SineTable();
    Wavetable table = before;
    bool drawing = false;
    mouse::StrokePoint last;
    WaveMouseDown(table, 1, SampleRange{}, drawing, last, 30, 100);
    WaveMouseMove(table, 1, SampleRange{}, drawing, last, 31, 150); // same sample 11
    EXPECT_EQ(ChangedSamples(before, table, 1), std::vector<int>{11});
    // Row 150 holds 128 + trunc(42 * 2,097,150 / 384) = 229,503, row 97 518,954. From 0-based
    // sample 10 to 14 the line climbs 289,451 / 4 = 72,362.75 per sample; the middle one,
    // 144,725.5, is a half and goes away from zero.
    WaveMouseMove(table, 1, SampleRange{}, drawing, last, 44, 97);
    EXPECT_EQ(ChangedSamples(before, table, 1), (std::vector<int>{11, 12, 13, 14, 15}));
    const std::vector<std::int32_t> up{229503, 301866, 374229, 446591, 518954};
    for (int s = 10; s <= 14; ++s)
        EXPECT_EQ(ReadSample(table, 0, s), up[static_cast<std::size_t>(s - 10)]) << s;
    // Leftwards to 0-based sample 11 on row 383 (-1,042,985): a fall of 1,561,939 / 3 =
    // 520,646.33 per sample gives -1,692 and -522,339 (-1,041,292.67 rounds to -1,041,293).
    WaveMouseMove(table, 1, SampleRange{}, drawing, last, 35, 383);
    const std::vector<std::int32_t> down{229503, -1042985, -522339, -1692, 518954};
    for (int s = 10; s <= 14; ++s)
        EXPECT_EQ(ReadSample(table, 0, s), down[static_cast<std::size_t>(s - 10)]) << s;
    EXPECT_EQ(ChangedSamples(before, table, 1), (std::vector<int>{11, 12, 13, 14, 15}));
}

TEST(MouseDrawing, LineValueRoundsHalvesAwayFromZero) {
    EXPECT_EQ(mouse::LineValue(0, 0, 2, 1, 1), 1);   // 0.5
    EXPECT_EQ(mouse::LineValue(0, 0, 2, -1, 1), -1); // -0.5
    EXPECT_EQ(mouse::LineValue(2, -1, 0, 0, 1), -1); // the same line drawn leftwards
    EXPECT_EQ(mouse::LineValue(0, 0, 3, -1, 1), 0);  // -0.33
    EXPECT_EQ(mouse::LineValue(0, 0, 3, -2, 1), -1); // -0.67
    // Full scale over the whole wave stays exact in 64 bits: 63 * 2,097,151 / 127 - 1,048,576
    // = -8,257.007.
    EXPECT_EQ(mouse::LineValue(0, -1048576, 127, 1048575, 63), -8257);
}

TEST(MouseDrawing, MovesOffTheImageAreIgnoredAndTheStrokeGoesOn) {
    const Wavetable before = SineTable();
    Wavetable table = before;
    bool drawing = false;
    mouse::StrokePoint last;
    WaveMouseDown(table, 1, SampleRange{}, drawing, last, 30, 100);
    const Wavetable afterPress = table;
    EXPECT_EQ(WaveMouseMove(table, 1, SampleRange{}, drawing, last, 60, -5), kNothing);
    EXPECT_EQ(WaveMouseMove(table, 1, SampleRange{}, drawing, last, 60, 400), kNothing);
    EXPECT_EQ(WaveMouseMove(table, 1, SampleRange{}, drawing, last, -3, 100), kNothing);
    EXPECT_EQ(WaveMouseMove(table, 1, SampleRange{}, drawing, last, 390, 100), kNothing);
    EXPECT_EQ(table, afterPress);
    EXPECT_TRUE(drawing);
    EXPECT_EQ(WaveMouseMove(table, 1, SampleRange{}, drawing, last, 60, 384), kDrawn);
    EXPECT_EQ(ReadSample(table, 0, 20), -1048447);
}

TEST(MouseDrawing, RangeLimitsPressesAndMoves) {
    const SampleRange range{10, 20};
    const Wavetable before = SineTable();
    Wavetable table = before;
    bool drawing = false;
    mouse::StrokePoint last;
    EXPECT_EQ(WaveMouseDown(table, 1, range, drawing, last, 29, 100), kNothing);
    EXPECT_EQ(WaveMouseDown(table, 1, range, drawing, last, 61, 100), kNothing);
    EXPECT_FALSE(drawing);
    EXPECT_EQ(WaveMouseMove(table, 1, range, drawing, last, 40, 100), kNothing); // no stroke
    EXPECT_EQ(table, before);
    EXPECT_EQ(WaveMouseDown(table, 1, range, drawing, last, 60, 100), kDrawn);
    EXPECT_EQ(WaveMouseMove(table, 1, range, drawing, last, 61, 200), kNothing);
    EXPECT_EQ(WaveMouseMove(table, 1, range, drawing, last, 29, 200), kNothing);
    EXPECT_EQ(WaveMouseMove(table, 1, range, drawing, last, 30, 200), kDrawn);
    // The moves outside were skipped: the line runs from the press straight to sample 11,
    // through the middle sample 16 at (502,570 - 43,562) / 2 = 229,504.
    EXPECT_EQ(ChangedSamples(before, table, 1),
              (std::vector<int>{11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21}));
    EXPECT_EQ(ReadSample(table, 0, 20), ValueAtRow(100));
    EXPECT_EQ(ReadSample(table, 0, 15), 229504);
    EXPECT_EQ(ReadSample(table, 0, 10), ValueAtRow(200));
}

TEST(MouseDrawing, PressOffTheImageIsRefused) {
    // A real press comes from over the image; a scripted one below it would give a value
    // outside the 21-bit range.
    const Wavetable before = SineTable();
    Wavetable table = before;
    bool drawing = false;
    mouse::StrokePoint last;
    EXPECT_EQ(WaveMouseDown(table, 1, SampleRange{}, drawing, last, 30, 385), kNothing);
    EXPECT_EQ(WaveMouseDown(table, 1, SampleRange{}, drawing, last, 30, -1), kNothing);
    EXPECT_FALSE(drawing);
    EXPECT_EQ(table, before);
}

} // namespace
} // namespace morvane::ui
