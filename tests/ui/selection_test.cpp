#include "ui/selection.h"

#include <gtest/gtest.h>

namespace morvane::ui {
namespace {

TEST(CheckedWaveSelection, CheckedGivesTheRangeUncheckedTheCurrentWave) {
    EXPECT_EQ(CheckedWaveSelection(5, 9, true, 20), (WaveRange{5, 9}));
    EXPECT_EQ(CheckedWaveSelection(5, 9, false, 20), (WaveRange{20, 20}));
    EXPECT_EQ(CheckedWaveSelection(1, 64, false, 1), (WaveRange{1, 1}));
    EXPECT_EQ(CheckedWaveSelection(30, 30, true, 2), (WaveRange{30, 30}));
}

TEST(SelectionCaptions, FromAndToHaveTheirOwnWording) {
    EXPECT_EQ(WaveFromCaption(30), "Select wave from: 30");
    EXPECT_EQ(WaveToCaption(64), "Select wave to: 64");
    EXPECT_EQ(SelectionCaptionAfterFrom(1, 64), "make modification for waveform 1 to 64");
    EXPECT_EQ(SelectionCaptionAfterTo(30, 30), "make for waveform 30 to 30");
}

TEST(AcceptSampleRange, OnlyFirstBelowLastIsARange) {
    EXPECT_EQ(AcceptSampleRange(10, 127), (SampleRange{10, 127}));
    EXPECT_EQ(AcceptSampleRange(0, 1), (SampleRange{0, 1}));
    EXPECT_EQ(AcceptSampleRange(126, 127), (SampleRange{126, 127}));
    EXPECT_FALSE(AcceptSampleRange(127, 127));
    EXPECT_FALSE(AcceptSampleRange(0, 0));
    EXPECT_FALSE(AcceptSampleRange(20, 10));
}

TEST(SampleRangeCaptions, CountFromOne) {
    EXPECT_EQ(SampleFromCaption({10, 127}), "from 11");
    EXPECT_EQ(SampleToCaption({10, 127}), "to 128");
    EXPECT_EQ(SampleFromCaption({0, 1}), "from 1");
    EXPECT_EQ(SampleToCaption({0, 1}), "to 2");
}

} // namespace
} // namespace morvane::ui
