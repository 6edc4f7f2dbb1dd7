#include "ui/key_buffer.h"

#include <gtest/gtest.h>

namespace morvane::ui {
namespace {

// Ctrl down, the keys, Ctrl up; the choice of the release.
KeyChoice Sequence(CtrlKeyBuffer &keys, std::initializer_list<int> codes) {
    keys.KeyDown(kVkControl);
    for (int code : codes)
        keys.KeyDown(code);
    return keys.KeyUp(kVkControl);
}

constexpr int kKey1 = 49, kKey2 = 50, kKey3 = 51, kKey5 = 53, kKey0 = 48;
constexpr KeyChoice kNothing{};

TEST(CtrlKeyBuffer, DigitsChooseTheHarmonicOneToFifty) {
    CtrlKeyBuffer keys;
    EXPECT_EQ(Sequence(keys, {kKey1, kKey2}), (KeyChoice{-1, 11})); // "1/12"
    EXPECT_EQ(Sequence(keys, {kKey1}), (KeyChoice{-1, 0}));
    EXPECT_EQ(Sequence(keys, {kKey5, kKey0}), (KeyChoice{-1, 49}));
    EXPECT_EQ(Sequence(keys, {kKey5, kKey5}), kNothing); // 55 > 50
    EXPECT_EQ(Sequence(keys, {kKey0}), kNothing);
    EXPECT_EQ(Sequence(keys, {kKey5, 49}), kNothing);              // 51
    EXPECT_EQ(Sequence(keys, {kKey0, kKey5}), (KeyChoice{-1, 4})); // "05" reads as 5
}

TEST(CtrlKeyBuffer, LettersReplaceTheBufferByAShapeName) {
    CtrlKeyBuffer keys;
    EXPECT_EQ(Sequence(keys, {kVkQ}), (KeyChoice{0, -1}));
    EXPECT_EQ(Sequence(keys, {kVkW}), (KeyChoice{1, -1}));
    EXPECT_EQ(Sequence(keys, {kVkE}), (KeyChoice{2, -1}));
    EXPECT_EQ(Sequence(keys, {kVkR}), (KeyChoice{3, -1}));
    EXPECT_EQ(Sequence(keys, {kVkT}), (KeyChoice{4, -1}));
    EXPECT_EQ(Sequence(keys, {kVkW, kKey3}), kNothing); // "tri3"
    EXPECT_EQ(Sequence(keys, {kKey3, kVkW}), (KeyChoice{1, -1}));
    EXPECT_EQ(Sequence(keys, {kVkW, kVkE}), (KeyChoice{2, -1}));
}

TEST(CtrlKeyBuffer, EmptyBufferAndOtherKeysChooseNothing) {
    CtrlKeyBuffer keys;
    EXPECT_EQ(Sequence(keys, {}), kNothing);
    // Other letters, the keypad's digits (96..105), Shift (16) and Alt (18) are ignored.
    EXPECT_EQ(Sequence(keys, {65, 90, kVkNumpad0 + 1, kVkNumpad0 + 2, 16, 18}), kNothing);
    EXPECT_EQ(Sequence(keys, {kKey1, 16, kVkNumpad0 + 5, kKey2}), (KeyChoice{-1, 11}));
}

TEST(CtrlKeyBuffer, KeysCountOnlyWhileCtrlIsHeld) {
    CtrlKeyBuffer keys;
    keys.KeyDown(kKey1);
    EXPECT_TRUE(keys.KeyBuffer().empty());
    EXPECT_FALSE(keys.CtrlDown());
    keys.KeyDown(kVkControl);
    keys.KeyDown(kKey2);
    EXPECT_TRUE(keys.CtrlDown());
    EXPECT_EQ(keys.KeyBuffer(), "2");
    // Releasing another key reads nothing and keeps Ctrl held.
    EXPECT_EQ(keys.KeyUp(kKey2), kNothing);
    EXPECT_TRUE(keys.CtrlDown());
    EXPECT_EQ(keys.KeyUp(kVkControl), (KeyChoice{-1, 1}));
    EXPECT_FALSE(keys.CtrlDown());
    keys.KeyDown(kKey3);
    EXPECT_EQ(keys.KeyBuffer(), "2") << "typed after the release";
    // A second Ctrl down (a held key repeats) starts the buffer again.
    keys.KeyDown(kVkControl);
    keys.KeyDown(kKey3);
    keys.KeyDown(kVkControl);
    EXPECT_TRUE(keys.KeyBuffer().empty());
}

TEST(ChoiceOfKeyBuffer, NumbersTooLargeForThirtyTwoBitsAreNoNumbers) {
    EXPECT_EQ(ChoiceOfKeyBuffer("2147483647"), kNothing);
    EXPECT_EQ(ChoiceOfKeyBuffer("99999999999999999999"), kNothing);
    EXPECT_EQ(ChoiceOfKeyBuffer("00000000000000000007"), (KeyChoice{-1, 6}));
    EXPECT_EQ(ChoiceOfKeyBuffer("sin"), (KeyChoice{0, -1}));
    EXPECT_EQ(ChoiceOfKeyBuffer("sin1"), kNothing);
    EXPECT_EQ(ChoiceOfKeyBuffer("rnd"), (KeyChoice{4, -1}));
}

} // namespace
} // namespace morvane::ui
