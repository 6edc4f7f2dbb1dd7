#pragma once

#include <string>

namespace morvane::ui {

// Virtual key codes of the keys the Ctrl key buffer looks at (the platform-neutral codes the
// key handling is written in; the Qt layer translates its key events into them).
inline constexpr int kVkControl = 17;
inline constexpr int kVk0 = 48; // "0" .. "9" of the main keyboard row are 48 .. 57
inline constexpr int kVk9 = 57;
inline constexpr int kVkQ = 81;
inline constexpr int kVkW = 87;
inline constexpr int kVkE = 69;
inline constexpr int kVkR = 82;
inline constexpr int kVkT = 84;
inline constexpr int kVkNumpad0 = 96; // the numeric keypad's digits, 96 .. 105, are ignored

// What a Ctrl release chooses: an item of cmbWave (0..4, "Sine" .. "Random") and an item of
// cmbAmplitude (0..49, "1/1" .. "1/50"); -1 leaves the combo box as it is.
struct KeyChoice {
    int WaveItem = -1;
    int AmplitudeItem = -1;
    friend bool operator==(const KeyChoice &, const KeyChoice &) = default;
};

// Holding Ctrl and typing chooses the waveform or the harmonic: Ctrl down empties the buffer,
// digits are appended while Ctrl is held, Q W E R T replace it by a shape's name, and the
// release reads it.
class CtrlKeyBuffer {
public:
    void Reset();
    void KeyDown(int key);
    // Only the release of Ctrl (17) reads the buffer; other keys choose nothing.
    KeyChoice KeyUp(int key);

    bool CtrlDown() const { return ctrlDown_; }
    const std::string &KeyBuffer() const { return buffer_; }

private:
    bool ctrlDown_ = false;
    std::string buffer_;
};

// The choice a buffer text makes: "sin" "tri" "squ" "saw" "rnd" a wave item; a decimal number
// 1..50 an amplitude item; anything else nothing.
KeyChoice ChoiceOfKeyBuffer(const std::string &buffer);

} // namespace morvane::ui
