#include "ui/audition_choices.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace morvane::ui {

namespace {

// Black keys by their place in the octave: after the white key of that index (C=0 .. B=6).
constexpr std::array<int, 5> kBlackAfterWhite{0, 1, 3, 4, 5};
// Semitones of the white keys above C.
constexpr std::array<int, 7> kWhiteSemitones{0, 2, 4, 5, 7, 9, 11};
constexpr double kBlackWidth = 0.6;        // of a white key's width
constexpr double kBlackHeight = 2.0 / 3.0; // of the keyboard's height
constexpr int kSoftestClick = 30;          // velocity at the very top of a key

template <typename T> T Pick(int index, T fallback, std::initializer_list<T> items) {
    if (index < 0 || static_cast<std::size_t>(index) >= items.size())
        return fallback;
    return *(items.begin() + index);
}

} // namespace

double PositionFromSlider(int value) {
    return static_cast<double>(std::clamp(value, kPositionSliderMin, kPositionSliderMax)) /
           kPositionSteps;
}

int SliderFromPosition(double position) {
    if (!std::isfinite(position))
        return kPositionSliderMin;
    const double steps = std::round(position * kPositionSteps);
    return static_cast<int>(
        std::clamp(steps, double{kPositionSliderMin}, double{kPositionSliderMax}));
}

double LfoRateFromSlider(int value) {
    const double t = static_cast<double>(std::clamp(value, 0, kLfoRateSteps)) / kLfoRateSteps;
    return synth::kMinLfoRate * std::pow(synth::kMaxLfoRate / synth::kMinLfoRate, t);
}

int SliderFromLfoRate(double hertz) {
    if (!std::isfinite(hertz) || hertz <= synth::kMinLfoRate)
        return 0;
    const double t =
        std::log(hertz / synth::kMinLfoRate) / std::log(synth::kMaxLfoRate / synth::kMinLfoRate);
    return static_cast<int>(std::clamp(std::round(t * kLfoRateSteps), 0.0, double{kLfoRateSteps}));
}

std::string PositionText(double position) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", position);
    return text;
}

std::string LfoRateText(double hertz) {
    char text[32];
    std::snprintf(text, sizeof text, hertz < 10.0 ? "%.2f Hz" : "%.1f Hz", hertz);
    return text;
}

synth::AuditionParams MakeAuditionParams(const AuditionControls &controls) {
    using synth::Interpolation;
    using synth::LfoShape;
    synth::AuditionParams params;
    params.Mode = Pick(controls.Interpolation, Interpolation::Stepped,
                       {Interpolation::Stepped, Interpolation::Linear, Interpolation::Spectral});
    params.Position = PositionFromSlider(controls.PositionSlider);
    params.LfoWave =
        Pick(controls.LfoShape, LfoShape::Triangle, {LfoShape::Triangle, LfoShape::Sine});
    params.LfoRate = LfoRateFromSlider(controls.LfoRateSlider);
    params.LfoDepth = controls.LfoDepth;
    params.ModWheelDepth = controls.ModWheelDepth;
    params.EnvelopeFrom = controls.EnvelopeFrom;
    params.EnvelopeTo = controls.EnvelopeTo;
    params.EnvelopeSeconds = controls.EnvelopeSeconds;
    params.AttackSeconds = controls.AttackSeconds;
    params.ReleaseSeconds = controls.ReleaseSeconds;
    return synth::ClampParams(params);
}

int WaveAtPosition(double position) {
    if (!std::isfinite(position))
        return 1;
    return static_cast<int>(std::clamp(std::floor(position), 1.0, double{kWaveCount}));
}

std::vector<KeyRect> KeyboardKeys(double width, double height) {
    std::vector<KeyRect> keys;
    const double white = width / kKeyboardWhiteKeys;
    for (int i = 0; i < kKeyboardWhiteKeys; ++i) {
        const int note = kKeyboardLowNote + 12 * (i / 7) + kWhiteSemitones[i % 7];
        keys.push_back({note, false, i * white, 0.0, white, height});
    }
    for (int octave = 0; octave < kKeyboardOctaves; ++octave) {
        for (const int after : kBlackAfterWhite) {
            const int whiteIndex = 7 * octave + after;
            const int note = kKeyboardLowNote + 12 * octave + kWhiteSemitones[after] + 1;
            const double x = (whiteIndex + 1) * white - kBlackWidth * white / 2;
            keys.push_back({note, true, x, 0.0, kBlackWidth * white, kBlackHeight * height});
        }
    }
    return keys;
}

std::optional<int> KeyboardNoteAt(double x, double y, double width, double height) {
    if (!(width > 0 && height > 0) || !(x >= 0 && x < width && y >= 0 && y < height))
        return std::nullopt;
    const std::vector<KeyRect> keys = KeyboardKeys(width, height);
    // Black keys lie on top, and come last: search from the end.
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
        if (x >= key->X && x < key->X + key->Width && y >= key->Y && y < key->Y + key->Height)
            return key->Note;
    }
    return std::nullopt;
}

int KeyboardVelocity(double y, double height) {
    if (!(height > 0) || !std::isfinite(y))
        return 100;
    const double t = std::clamp(y / height, 0.0, 1.0);
    return static_cast<int>(std::lround(kSoftestClick + t * (127 - kSoftestClick)));
}

} // namespace morvane::ui
