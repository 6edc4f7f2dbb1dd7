#include "edit/transforms.h"

#include <gtest/gtest.h>

#include "document/error.h"
#include "edit_test_support.h"

namespace morvane::edit {
namespace {

using testing_support::At;
using testing_support::Set;
using testing_support::SetRaw;

class Transform : public ::testing::Test {
protected:
    // Wave number w gets sample s = base + s for every s.
    void Ramp(int w, std::int32_t base) {
        for (int s = 1; s <= kSampleCount; ++s)
            Set(table, w, s, base + s);
    }
    Wavetable table = testing_support::ZeroTable();
    edit::WaveBackup backup;
};

// ---- amplify ------------------------------------------------------------------------------

TEST_F(Transform, AmplifyUpFivePercentFloorsTheExtendedProduct) {
    Set(table, 1, 1, 100);
    Set(table, 1, 2, -100);
    Set(table, 1, 3, 1);
    SetRaw(table, 1, 4, 0x7F, 0x00, 0x01); // -1, an encoding only a file can bring
    const auto r = edit::Amplify(table, 1, 1, {}, 5, true, false, backup);
    EXPECT_FALSE(r.Overflow);
    EXPECT_EQ(At(table, 1, 1), 104); // 100 * 1.05 lies just below 105
    EXPECT_EQ(At(table, 1, 2), -105);
    EXPECT_EQ(At(table, 1, 3), 1);
    EXPECT_EQ(At(table, 1, 4), -2);
}

TEST_F(Transform, AmplifyDownFivePercentIsNotTheInverse) {
    const std::int32_t in[] = {100, -100, 20, -20, 1, -2};
    const std::int32_t out[] = {95, -95, 19, -19, 0, -2};
    for (int s = 1; s <= 6; ++s)
        Set(table, 1, s, in[s - 1]);
    edit::Amplify(table, 1, 1, {}, 5, false, false, backup);
    for (int s = 1; s <= 6; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(At(table, 1, s), out[s - 1]);
    }
}

TEST_F(Transform, AmplifyOnlyTouchesTheRangeAndTheSelectedWaves) {
    Ramp(1, 1000);
    Ramp(2, 1000);
    Ramp(3, 1000);
    edit::Amplify(table, 2, 2, SampleRange{5, 6}, 10, true, false, backup);
    EXPECT_EQ(At(table, 2, 6), 1106); // 1006 * 1.1 = 1106.6
    EXPECT_EQ(At(table, 2, 7), 1107); // 1007 * 1.1 = 1107.7
    EXPECT_EQ(At(table, 2, 5), 1005);
    EXPECT_EQ(At(table, 2, 8), 1008);
    EXPECT_EQ(At(table, 1, 6), 1006);
    EXPECT_EQ(At(table, 3, 6), 1006);
}

TEST_F(Transform, AmplifyOverflowRestoresThisAndEveryLaterWave) {
    Ramp(1, 1000);
    Set(table, 2, 50, 1000000); // 1,100,000 at 10 %
    Ramp(3, 1000);
    const Wavetable before = table;
    const auto r = edit::Amplify(table, 1, 3, {}, 10, true, false, backup);
    EXPECT_TRUE(r.Overflow);
    EXPECT_EQ(r.RestoredWaves, (std::vector<int>{2, 3}));
    ASSERT_EQ(r.LogLines.size(), 2u);
    EXPECT_EQ(r.LogLines[0], "21 bit overflow error. You can allow overflow!");
    EXPECT_EQ(At(table, 1, 1), 1101); // 1001 * 1.1
    EXPECT_TRUE(testing_support::SameWave(table, before, 2));
    EXPECT_TRUE(testing_support::SameWave(table, before, 3));
}

TEST_F(Transform, AmplifyWithOverflowAllowedStoresTheWrappedValue) {
    Set(table, 1, 50, 1000000);
    const auto r = edit::Amplify(table, 1, 1, {}, 10, true, true, backup);
    EXPECT_FALSE(r.Overflow);
    // 1,100,000 has bit 20 set: high byte 43, read back as -(60 * 16,384 + middle, low).
    const SampleTriple t = EncodeSample(1100000);
    EXPECT_EQ(t.High, 0x43);
    EXPECT_EQ(At(table, 1, 50), -(60 * 16384 + (1100000 / 128 % 128) * 128 + 1100000 % 128));
}

// ---- invert, reverse, smooth, step -------------------------------------------------------

TEST_F(Transform, InvertNegatesAndStoresMinusOneAsZero) {
    Set(table, 1, 1, 300);
    Set(table, 1, 2, -1048575);
    Set(table, 1, 3, 1);
    Set(table, 1, 4, 1048575);
    edit::Invert(table, 1, 1, {});
    EXPECT_EQ(At(table, 1, 1), -300);
    EXPECT_EQ(At(table, 1, 2), 1048575);
    EXPECT_EQ(At(table, 1, 3), 0);
    EXPECT_EQ(At(table, 1, 4), -1048575);
}

TEST_F(Transform, InvertUsesTheSelectedWavesOnly) {
    Ramp(4, 0);
    Ramp(5, 0);
    Ramp(9, 0);
    Ramp(10, 0);
    edit::Invert(table, 5, 9, {});
    EXPECT_EQ(At(table, 4, 10), 10);
    EXPECT_EQ(At(table, 5, 10), -10);
    EXPECT_EQ(At(table, 9, 10), -10);
    EXPECT_EQ(At(table, 10, 10), 10);
}

TEST_F(Transform, ReverseMirrorsTheFullRange) {
    Ramp(1, 0);
    SetRaw(table, 1, 1, 0x7F, 0x00, 0x01); // raw bytes travel unchanged
    edit::Reverse(table, 1, 1, {});
    EXPECT_EQ(testing_support::ReadRaw(table, 1, 128), (SampleTriple{0x7F, 0x00, 0x01}));
    EXPECT_EQ(At(table, 1, 1), 128);
    EXPECT_EQ(At(table, 1, 64), 65);
    EXPECT_EQ(At(table, 1, 65), 64);
}

TEST_F(Transform, ReverseOfAnOddRangeKeepsTheMiddle) {
    Ramp(1, 0);
    edit::Reverse(table, 1, 1, SampleRange{10, 12}); // sample numbers 11..13
    EXPECT_EQ(At(table, 1, 10), 10);
    EXPECT_EQ(At(table, 1, 11), 13);
    EXPECT_EQ(At(table, 1, 12), 12);
    EXPECT_EQ(At(table, 1, 13), 11);
    EXPECT_EQ(At(table, 1, 14), 14);
}

TEST_F(Transform, SmoothUsesTheAlreadySmoothedLeftNeighbour) {
    Set(table, 1, 1, 10);
    Set(table, 1, 126, 100);
    Set(table, 1, 127, 555);
    Set(table, 1, 128, 301);
    edit::Smooth(table, 1, 1, SampleRange{126, 127});
    EXPECT_EQ(At(table, 1, 127), 200); // (100 + 301) / 2 = 200.5 truncated
    EXPECT_EQ(At(table, 1, 128), 105); // (new 200 + sample 1 = 10) / 2
    EXPECT_EQ(At(table, 1, 126), 100);
}

TEST_F(Transform, SmoothWrapsAtSampleOneAndTruncatesTowardZero) {
    Set(table, 1, 2, -7);
    Set(table, 1, 128, 0);
    edit::Smooth(table, 1, 1, SampleRange{0, 2});
    EXPECT_EQ(At(table, 1, 1), -3); // (sample 128 = 0 + -7) / 2 = -3.5 -> -3
    EXPECT_EQ(At(table, 1, 2), 0);  // (new -3 + 0) / 2 = -1.5 -> -1, stored as 0
    EXPECT_EQ(At(table, 1, 3), 0);
}

TEST_F(Transform, StepLevelsArePowersOfTwo) {
    EXPECT_EQ(edit::StepLevels(0), 8);
    EXPECT_EQ(edit::StepLevels(1), 16);
    EXPECT_EQ(edit::StepLevels(2), 32);
    EXPECT_EQ(edit::StepLevels(3), 64);
}

TEST_F(Transform, StepMovesTowardZeroToAMultipleOfTheStep) {
    Set(table, 1, 1, 131070);
    Set(table, 1, 2, 131071);
    Set(table, 1, 3, -200000);
    Set(table, 1, 4, 1048575);
    Set(table, 1, 5, -131070);
    edit::Step(table, 1, 1, {}, 16); // step 131,071
    EXPECT_EQ(At(table, 1, 1), 0);
    EXPECT_EQ(At(table, 1, 2), 131071);
    EXPECT_EQ(At(table, 1, 3), -131071);
    EXPECT_EQ(At(table, 1, 4), 1048568);
    EXPECT_EQ(At(table, 1, 5), 0);

    Set(table, 1, 1, 262142);
    Set(table, 1, 2, 262143);
    edit::Step(table, 1, 1, {}, 8); // step 262,143
    EXPECT_EQ(At(table, 1, 1), 0);
    EXPECT_EQ(At(table, 1, 2), 262143);

    Set(table, 1, 1, 32766);
    Set(table, 1, 2, 65533);
    edit::Step(table, 1, 1, {}, 64); // step 32,767
    EXPECT_EQ(At(table, 1, 1), 0);
    EXPECT_EQ(At(table, 1, 2), 32767);
}

TEST_F(Transform, StepRefusesLevelsThatWouldDivideByZero) {
    Ramp(1, 100);
    const Wavetable before = table;
    EXPECT_THROW(edit::Step(table, 1, 1, {}, 0), Error);
    EXPECT_THROW(edit::Step(table, 1, 1, {}, kFullScale + 1), Error);
    EXPECT_EQ(table, before);
}

// ---- moves --------------------------------------------------------------------------------

TEST_F(Transform, MoveLeftAndRightRotateTheRangeOnly) {
    Ramp(1, 0);
    edit::MoveLeft(table, 1, SampleRange{1, 4}); // sample numbers 2..5
    const std::int32_t left[] = {1, 3, 4, 5, 2, 6};
    for (int s = 1; s <= 6; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(At(table, 1, s), left[s - 1]);
    }
    edit::MoveRight(table, 1, SampleRange{1, 4});
    for (int s = 1; s <= kSampleCount; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(At(table, 1, s), s);
    }
    edit::MoveRight(table, 1, {});
    EXPECT_EQ(At(table, 1, 1), 128);
    EXPECT_EQ(At(table, 1, 2), 1);
    EXPECT_EQ(At(table, 1, 128), 127);
}

TEST_F(Transform, MoveUpAndDownShiftByEightThousand) {
    Ramp(3, 0);
    const auto up = edit::MoveUp(table, 3, SampleRange{9, 10}, false, backup);
    EXPECT_FALSE(up.Overflow);
    EXPECT_EQ(At(table, 3, 9), 9);
    EXPECT_EQ(At(table, 3, 10), 8010);
    EXPECT_EQ(At(table, 3, 11), 8011);
    EXPECT_EQ(At(table, 3, 12), 12);
    edit::MoveDown(table, 3, {}, false, backup);
    EXPECT_EQ(At(table, 3, 10), 10);
    EXPECT_EQ(At(table, 3, 1), 1 - 8000);
}

TEST_F(Transform, MoveUpOverflowRestoresTheWave) {
    Set(table, 1, 7, 1045000); // 1,053,000 > 1,048,575
    const Wavetable before = table;
    const auto r = edit::MoveUp(table, 1, {}, false, backup);
    EXPECT_TRUE(r.Overflow);
    EXPECT_EQ(r.RestoredWaves, std::vector<int>{1});
    EXPECT_TRUE(r.LogLines.empty());
    EXPECT_EQ(table, before);

    Set(table, 1, 7, -1045000);
    const Wavetable low = table;
    EXPECT_TRUE(edit::MoveDown(table, 1, {}, false, backup).Overflow);
    EXPECT_EQ(table, low);
}

TEST_F(Transform, MoveDownWithOverflowAllowedStoresTheWrappedValue) {
    Set(table, 1, 7, -1045000);
    const auto r = edit::MoveDown(table, 1, {}, true, backup);
    EXPECT_FALSE(r.Overflow);
    const SampleTriple t = EncodeSample(-1053000);
    EXPECT_EQ(At(table, 1, 7), DecodeSample(t.High, t.Middle, t.Low));
    EXPECT_NE(At(table, 1, 7), -1053000);
}

} // namespace
} // namespace morvane::edit
