#pragma once

#include <array>
#include <cstdint>

#include "document/wave_message.h"
#include "edit/spectrum.h"

namespace morvane::render {

class Canvas;

// The bar picture of the harmonic window and its mouse handling, without Qt. The picture is
// 424 x 273 pixels:
//   - the DC column, x 0..23 of the magnitude row, a bipolar bar: +1 at the top, 0 at row 80,
//     -1 at the bottom;
//   - harmonics 1..64, six pixels each from x = 32: bar k covers x 32 + 6 (k - 1) .. + 5;
//   - the magnitude row, y 0..160: linear, 1.0 (full scale) at the top and 0 at row 160; or in
//     dB, 0 dB at the top down to -96 dB just above row 160, which stands for silence;
//   - the phase row, y 172..272: +180 degrees at the top, 0 at row 222, -180 at the bottom.
namespace bars {

inline constexpr int kWidth = 424;
inline constexpr int kHeight = 273;
inline constexpr int kDcWidth = 24;
inline constexpr int kBarsLeft = 32;
inline constexpr int kBarWidth = 6;
inline constexpr int kMagnitudeBottom = 160; // row of magnitude 0; row 0 is 1.0 (or 0 dB)
inline constexpr int kDcZeroRow = 80;        // the DC column's zero line
inline constexpr int kPhaseTop = 172;        // +180 degrees
inline constexpr int kPhaseRows = 100;       // rows 172..272 span 360 degrees
inline constexpr double kDecibelRange = 96;  // the dB scale's floor below full scale

enum class Row { None, Magnitude, Phase };

// The bar under a pixel and the value its row stands for there. Columns left of the bars
// (the DC column and the gap) answer harmonic 0 in the magnitude row and nothing in the phase
// row; columns right of them answer harmonic 64. Rows beyond a row are clamped to it, so
// that a drag past the edge sets the extreme value.
struct Hit {
    Row Where = Row::None;
    int Harmonic = 0;
    // Magnitude row: the magnitude (k >= 1) or the signed DC value (k = 0); phase row: degrees.
    double Value = 0;
};
Hit HitAt(int x, int y, bool decibels);
// The same for a given row (the one a stroke started in), whatever row y lies in.
Hit HitInRow(Row row, int x, int y, bool decibels);

// Draws the spectrum's bars; magnitudes above the top are drawn to the top with a red cap.
void DrawBars(Canvas &canvas, const edit::Spectrum &spectrum, bool decibels);

// A mouse stroke over the bars: one command, however many moves it takes. The stroke keeps the
// spectra of the waves it edits and their samples from before it; each step sets the bars the
// pointer passed over since the last step (values interpolated along the way, as drawing over
// the graph leaves no gaps) in every wave's spectrum and resynthesises those waves. A wave whose
// result leaves +-FS shows its samples from before the stroke, unless overflow is allowed
// (then it is clipped). The left button sets values; the right button sets magnitudes (or
// phases) to zero. The object is large (about 100 KB): the window keeps one for the whole run.
class Stroke {
public:
    struct StepResult {
        bool Changed = false;  // samples were rewritten: redraw graph and overview
        bool Overflow = false; // after this step some wave shows its samples from before
    };

    bool Active() const { return active_; }
    // Starts a stroke over waves from..to (wave numbers) at (x, y); nothing when the press lies
    // in no row. `erase` is the right button.
    StepResult Down(Wavetable &table, int from, int to, int x, int y, bool erase, bool decibels,
                    bool allowOverflow);
    StepResult Move(Wavetable &table, int x, int y);
    // Ends the stroke. Returns whether one was running and whether its last step was refused
    // for some wave (overflow not allowed).
    struct EndResult {
        bool Ended = false;
        bool Overflow = false;
    };
    EndResult Up();

private:
    void SetBar(edit::Spectrum &spectrum, const Hit &hit) const;
    StepResult Apply(Wavetable &table, int x0, int y0, int x1, int y1);

    bool active_ = false;
    bool erase_ = false;
    bool decibels_ = false;
    bool allowOverflow_ = false;
    bool lastOverflow_ = false;
    Row row_ = Row::None;
    bool dcStroke_ = false; // started on the DC column: only DC is edited
    int from_ = 1;
    int to_ = 0;
    int lastX_ = 0;
    int lastY_ = 0;
    std::array<edit::Spectrum, kWaveCount> spectra_{};
    std::array<std::array<std::int32_t, kSampleCount>, kWaveCount> before_{};
};

} // namespace bars
} // namespace morvane::render
