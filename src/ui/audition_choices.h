#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "synth/audition_engine.h"

namespace morvane::ui {

// The audition window's choices as its controls hold them, and what they mean to the voice.

// The items of the interpolation and LFO shape lists, in the order of synth::Interpolation and
// synth::LfoShape.
inline constexpr std::array<const char *, 3> kInterpolationNames{"Stepped", "Linear", "Spectral"};
inline constexpr std::array<const char *, 2> kLfoShapeNames{"Triangle", "Sine"};

// The position slider counts hundredths of a wave: 100 (wave 1) to 6400 (wave 64).
inline constexpr int kPositionSteps = 100;
inline constexpr int kPositionSliderMin = 1 * kPositionSteps;
inline constexpr int kPositionSliderMax = 64 * kPositionSteps;
// The LFO rate slider runs 0..kLfoRateSteps over the rates 0.01..20 Hz on a logarithmic scale,
// so that slow sweeps get as much of its travel as fast wobbles.
inline constexpr int kLfoRateSteps = 1000;

// Everything the controls set. Offsets and depths are in waves; times in seconds.
struct AuditionControls {
    int Interpolation = 1; // index into kInterpolationNames
    int PositionSlider = kPositionSliderMin;
    int LfoShape = 0; // index into kLfoShapeNames
    int LfoRateSlider = kLfoRateSteps / 2;
    double LfoDepth = 0.0;
    double ModWheelDepth = 0.0;
    double EnvelopeFrom = 0.0;
    double EnvelopeTo = 0.0;
    double EnvelopeSeconds = 1.0;
    double AttackSeconds = 0.005;
    double ReleaseSeconds = 0.3;
};

double PositionFromSlider(int value);
int SliderFromPosition(double position);
double LfoRateFromSlider(int value);
int SliderFromLfoRate(double hertz);
// "10.25" for the position label, "0.50 Hz" for the rate label.
std::string PositionText(double position);
std::string LfoRateText(double hertz);

// The voice's parameters for the controls (indexes out of range fall back to the first item).
synth::AuditionParams MakeAuditionParams(const AuditionControls &controls);

// The wave (1..64) the wave list shows for a position of the voice: the wave the stepped blend
// would play, round-down, within 1..64.
int WaveAtPosition(double position);

// The on-screen keyboard: kKeyboardOctaves octaves from C3 (note 48), the black keys two thirds
// of the height and narrower than the white ones, drawn over them.
inline constexpr int kKeyboardLowNote = 48;
inline constexpr int kKeyboardOctaves = 3;
inline constexpr int kKeyboardWhiteKeys = 7 * kKeyboardOctaves;

struct KeyRect {
    int Note = 0;
    bool Black = false;
    double X = 0, Y = 0, Width = 0, Height = 0;
};
// Every key in the order to draw them: the white keys, then the black ones.
std::vector<KeyRect> KeyboardKeys(double width, double height);
// The note under a point of a keyboard of that size (a black key where it covers a white one);
// none outside the keys.
std::optional<int> KeyboardNoteAt(double x, double y, double width, double height);
// The velocity of a click: softer near the top of a key, louder near its front edge, 1..127.
int KeyboardVelocity(double y, double height);

} // namespace morvane::ui
