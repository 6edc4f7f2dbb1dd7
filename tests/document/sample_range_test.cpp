#include "document/sample_range.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(SampleRangeHelpers, ClampToTheTableAndSwapBytesAsTheyAre) {
    EXPECT_EQ(FirstWave(-3), 1);
    EXPECT_EQ(FirstWave(5), 5);
    EXPECT_EQ(LastWave(65), 64);
    EXPECT_EQ(FirstSample(SampleRange{-1, 4}), 0);
    EXPECT_EQ(LastSample(SampleRange{0, 128}), 127);
    Wavetable table;
    WriteSampleBytes(table, 2, 0, SampleTriple{1, 2, 3});
    WriteSampleBytes(table, 2, 127, SampleTriple{4, 5, 6});
    SwapSamples(table, 2, 0, 127);
    EXPECT_EQ(ReadSampleBytes(table, 2, 0), (SampleTriple{4, 5, 6}));
    EXPECT_EQ(ReadSampleBytes(table, 2, 127), (SampleTriple{1, 2, 3}));
}

} // namespace
} // namespace morvane
