#include "ui/audition_choices.h"

#include <gtest/gtest.h>

namespace morvane::ui {
namespace {

TEST(AuditionChoices, SlidersMapToPositionsAndRatesAtTheirEndsAndBack) {
    EXPECT_DOUBLE_EQ(PositionFromSlider(kPositionSliderMin), 1.0);
    EXPECT_DOUBLE_EQ(PositionFromSlider(1025), 10.25);
    EXPECT_DOUBLE_EQ(PositionFromSlider(kPositionSliderMax + 5), 64.0);
    EXPECT_EQ(SliderFromPosition(10.25), 1025);
    EXPECT_EQ(SliderFromPosition(0.2), kPositionSliderMin);
    EXPECT_DOUBLE_EQ(LfoRateFromSlider(0), 0.01);
    EXPECT_NEAR(LfoRateFromSlider(kLfoRateSteps), 20.0, 1e-12);
    // Halfway along is the geometric mean: sqrt(0.01 * 20) = 0.4472 Hz.
    EXPECT_NEAR(LfoRateFromSlider(kLfoRateSteps / 2), 0.447213595, 1e-8);
    EXPECT_EQ(SliderFromLfoRate(0.447213595), kLfoRateSteps / 2);
    EXPECT_EQ(LfoRateText(0.447213595), "0.45 Hz");
    EXPECT_EQ(LfoRateText(20.0), "20.0 Hz");
    EXPECT_EQ(WaveAtPosition(10.999), 10);
    EXPECT_EQ(WaveAtPosition(64.0), 64);
    EXPECT_EQ(WaveAtPosition(0.5), 1);
}

TEST(AuditionChoices, TheControlsBecomeTheVoicesParameters) {
    AuditionControls controls;
    controls.Interpolation = 2;
    controls.PositionSlider = 3350;
    controls.LfoShape = 1;
    controls.LfoRateSlider = 0;
    controls.LfoDepth = 80; // beyond the table: brought back to 63 waves
    controls.EnvelopeFrom = -10;
    controls.EnvelopeTo = 20;
    const synth::AuditionParams params = MakeAuditionParams(controls);
    EXPECT_EQ(params.Mode, synth::Interpolation::Spectral);
    EXPECT_DOUBLE_EQ(params.Position, 33.5);
    EXPECT_EQ(params.LfoWave, synth::LfoShape::Sine);
    EXPECT_DOUBLE_EQ(params.LfoRate, 0.01);
    EXPECT_DOUBLE_EQ(params.LfoDepth, 63.0);
    EXPECT_DOUBLE_EQ(params.EnvelopeFrom, -10.0);
    EXPECT_DOUBLE_EQ(params.EnvelopeTo, 20.0);
    controls.Interpolation = 7;
    EXPECT_EQ(MakeAuditionParams(controls).Mode, synth::Interpolation::Stepped);
}

TEST(AuditionChoices, TheKeyboardFindsBlackKeysOverWhiteOnesAndNothingOutside) {
    // 21 white keys of 10 pixels: black keys are 6 wide, centred on the lines between whites,
    // two thirds of the 90-pixel height.
    const std::vector<KeyRect> keys = KeyboardKeys(210, 90);
    ASSERT_EQ(keys.size(), 36u);
    EXPECT_EQ(keys[0].Note, 48);
    EXPECT_EQ(keys[20].Note, 83); // B5
    EXPECT_TRUE(keys[21].Black);
    EXPECT_EQ(keys[21].Note, 49); // C#3
    EXPECT_DOUBLE_EQ(keys[21].X, 7.0);
    EXPECT_EQ(KeyboardNoteAt(5, 10, 210, 90), 48);
    EXPECT_EQ(KeyboardNoteAt(8, 10, 210, 90), 49);  // on C#, above C and D
    EXPECT_EQ(KeyboardNoteAt(8, 60, 210, 90), 48);  // below the black key: C again
    EXPECT_EQ(KeyboardNoteAt(29, 10, 210, 90), 52); // E: no black key between E and F
    EXPECT_EQ(KeyboardNoteAt(37, 10, 210, 90), 54); // F#
    EXPECT_EQ(KeyboardNoteAt(209.9, 89, 210, 90), 83);
    EXPECT_EQ(KeyboardNoteAt(210, 10, 210, 90), std::nullopt);
    EXPECT_EQ(KeyboardNoteAt(-0.1, 10, 210, 90), std::nullopt);
    EXPECT_EQ(KeyboardNoteAt(5, 90, 210, 90), std::nullopt);
    EXPECT_EQ(KeyboardVelocity(0, 90), 30);
    EXPECT_EQ(KeyboardVelocity(90, 90), 127);
    EXPECT_EQ(KeyboardVelocity(200, 90), 127);
}

} // namespace
} // namespace morvane::ui
