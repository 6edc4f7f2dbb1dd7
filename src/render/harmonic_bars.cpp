#include "render/harmonic_bars.h"

#include <algorithm>
#include <cmath>

#include "render/canvas.h"

namespace morvane::render::bars {

namespace {

constexpr double kFullTurn = 360.0;
constexpr double kHalfTurn = 180.0;
constexpr double kDecibelsPerDecade = 20.0;
constexpr int kPhaseZeroRow = kPhaseTop + kPhaseRows / 2;
constexpr int kPhaseBottom = kPhaseTop + kPhaseRows;
constexpr int kBarInset = 1;  // a pixel of space left of each bar
constexpr int kBarFill = 4;   // the bar itself, then a pixel of space
constexpr int kTickEvery = 8; // a faint tick under every eighth harmonic

constexpr Colour kBackground = Rgb(255, 255, 255);
constexpr Colour kRowBackground = Rgb(244, 244, 250); // the two rows and the DC column
constexpr Colour kBaseline = Rgb(160, 160, 160);
constexpr Colour kTick = Rgb(220, 220, 220);
constexpr Colour kMagnitudeColour = Rgb(0, 0, 160);
constexpr Colour kPhaseColour = Rgb(0, 120, 0);
constexpr Colour kDcColour = Rgb(128, 0, 0);
constexpr Colour kCapColour = Rgb(255, 0, 0);

int ColumnHarmonic(int x) {
    if (x < kBarsLeft)
        return 1;
    return std::min((x - kBarsLeft) / kBarWidth + 1, edit::kTopHarmonic);
}

double MagnitudeAtRow(int y, bool decibels) {
    const int row = std::clamp(y, 0, kMagnitudeBottom);
    if (row == kMagnitudeBottom)
        return 0;
    if (!decibels)
        return static_cast<double>(kMagnitudeBottom - row) / kMagnitudeBottom;
    const double db = -kDecibelRange * row / kMagnitudeBottom;
    return std::pow(10.0, db / kDecibelsPerDecade);
}

double DcAtRow(int y) {
    const int row = std::clamp(y, 0, kMagnitudeBottom);
    return static_cast<double>(kDcZeroRow - row) / kDcZeroRow;
}

double PhaseAtRow(int y) {
    const int row = std::clamp(y, kPhaseTop, kPhaseBottom);
    return kHalfTurn - kFullTurn * (row - kPhaseTop) / kPhaseRows;
}

// The row a magnitude reaches; below 0 means above the top (drawn with a cap).
int RowOfMagnitude(double m, bool decibels) {
    if (!(m > 0))
        return kMagnitudeBottom;
    double row = 0;
    if (decibels)
        row = -kDecibelsPerDecade * std::log10(m) * kMagnitudeBottom / kDecibelRange;
    else
        row = kMagnitudeBottom - m * kMagnitudeBottom;
    return static_cast<int>(
        std::clamp(std::round(row), -1.0, static_cast<double>(kMagnitudeBottom)));
}

void FillRect(Canvas &canvas, int l, int t, int r, int b, Colour colour) {
    canvas.Pen = colour;
    canvas.Brush = colour;
    if (r > l && b > t)
        canvas.Rectangle(l, t, r, b);
}

// A vertical bar between two rows, whichever is higher.
void Bar(Canvas &canvas, int left, int rowA, int rowB, Colour colour) {
    FillRect(canvas, left, std::min(rowA, rowB), left + kBarFill, std::max(rowA, rowB) + 1, colour);
}

} // namespace

Hit HitInRow(Row row, int x, int y, bool decibels) {
    Hit hit;
    hit.Where = row;
    hit.Harmonic = ColumnHarmonic(x);
    if (row == Row::Magnitude)
        hit.Value = MagnitudeAtRow(y, decibels);
    else if (row == Row::Phase)
        hit.Value = PhaseAtRow(y);
    return hit;
}

Hit HitAt(int x, int y, bool decibels) {
    if (x < 0 || x >= kWidth || y < 0 || y > kPhaseBottom)
        return {};
    if (y <= kMagnitudeBottom) {
        if (x < kBarsLeft)
            return {Row::Magnitude, 0, DcAtRow(y)};
        return HitInRow(Row::Magnitude, x, y, decibels);
    }
    if (y >= kPhaseTop && x >= kBarsLeft)
        return HitInRow(Row::Phase, x, y, decibels);
    return {};
}

void DrawBars(Canvas &canvas, const edit::Spectrum &spectrum, bool decibels) {
    canvas.Fill(kBackground);
    FillRect(canvas, 0, 0, kDcWidth, kMagnitudeBottom, kRowBackground);
    FillRect(canvas, kBarsLeft, 0, kWidth, kMagnitudeBottom, kRowBackground);
    FillRect(canvas, kBarsLeft, kPhaseTop, kWidth, kPhaseBottom + 1, kRowBackground);
    FillRect(canvas, 0, kMagnitudeBottom, kWidth, kMagnitudeBottom + 1, kBaseline);
    FillRect(canvas, 0, kDcZeroRow, kDcWidth, kDcZeroRow + 1, kBaseline);
    FillRect(canvas, kBarsLeft, kPhaseZeroRow, kWidth, kPhaseZeroRow + 1, kBaseline);
    for (int k = kTickEvery; k <= edit::kTopHarmonic; k += kTickEvery) {
        const int x = kBarsLeft + kBarWidth * (k - 1) + kBarInset;
        FillRect(canvas, x, kMagnitudeBottom + 1, x + kBarFill, kPhaseTop - 1, kTick);
    }

    const double dc = spectrum.Cos[0];
    const int dcRow =
        static_cast<int>(std::round(kDcZeroRow - std::clamp(dc, -1.0, 1.0) * kDcZeroRow));
    FillRect(canvas, kBarInset * 4, std::min(dcRow, kDcZeroRow), kDcWidth - kBarInset * 4,
             std::max(dcRow, kDcZeroRow) + 1, kDcColour);

    for (int k = 1; k <= edit::kTopHarmonic; ++k) {
        const int left = kBarsLeft + kBarWidth * (k - 1) + kBarInset;
        const double m = edit::Magnitude(spectrum, k);
        const int row = RowOfMagnitude(m, decibels);
        if (row < kMagnitudeBottom) {
            Bar(canvas, left, std::max(row, 0), kMagnitudeBottom - 1, kMagnitudeColour);
            if (row < 0)
                FillRect(canvas, left, 0, left + kBarFill, 2, kCapColour);
        }
        if (m >= edit::kNegligibleMagnitude) {
            const double p = edit::PhaseDegrees(spectrum, k);
            const int phaseRow =
                kPhaseTop + static_cast<int>(std::round((kHalfTurn - p) * kPhaseRows / kFullTurn));
            Bar(canvas, left, kPhaseZeroRow, phaseRow, kPhaseColour);
        }
    }
}

void Stroke::SetBar(edit::Spectrum &spectrum, const Hit &hit) const {
    if (hit.Where == Row::Magnitude) {
        if (hit.Harmonic == 0)
            spectrum.Cos[0] = erase_ ? 0.0 : hit.Value;
        else
            edit::SetMagnitude(spectrum, hit.Harmonic, erase_ ? 0.0 : hit.Value);
    } else if (hit.Where == Row::Phase) {
        edit::SetPhase(spectrum, hit.Harmonic, erase_ ? 0.0 : hit.Value);
    }
}

Stroke::StepResult Stroke::Apply(Wavetable &table, int x0, int y0, int x1, int y1) {
    // The bars from the last position to this one, each at the height the straight line
    // between the two positions has over its centre; the last one exactly at the pointer.
    std::array<Hit, edit::kHarmonicCount> hits{};
    std::size_t count = 0;
    if (dcStroke_) {
        hits[count++] = {Row::Magnitude, 0, DcAtRow(y1)};
    } else {
        const int k0 = ColumnHarmonic(x0);
        const int k1 = ColumnHarmonic(x1);
        const int step = k1 >= k0 ? 1 : -1;
        for (int k = k0 == k1 ? k1 : k0 + step; k != k1 + step; k += step) {
            int y = y1;
            if (k != k1 && x1 != x0) {
                const int centre = kBarsLeft + kBarWidth * (k - 1) + kBarWidth / 2;
                y = static_cast<int>(
                    std::lround(y0 + static_cast<double>(y1 - y0) * (centre - x0) / (x1 - x0)));
            }
            Hit hit = HitInRow(row_, x1, y, decibels_);
            hit.Harmonic = k;
            hits[count++] = hit;
        }
    }
    StepResult result;
    result.Changed = true;
    std::array<double, kSampleCount> wave{};
    for (int w = from_; w <= to_; ++w) {
        const auto i = static_cast<std::size_t>(w - 1);
        for (std::size_t h = 0; h < count; ++h)
            SetBar(spectra_[i], hits[h]);
        edit::Synthesise(spectra_[i], wave);
        if (edit::StoreSynthesis(table, w - 1, wave, allowOverflow_)) {
            result.Overflow = true;
            for (int n = 0; n < kSampleCount; ++n)
                WriteSample(table, w - 1, n, before_[i][static_cast<std::size_t>(n)]);
        }
    }
    lastOverflow_ = result.Overflow;
    lastX_ = x1;
    lastY_ = y1;
    return result;
}

Stroke::StepResult Stroke::Down(Wavetable &table, int from, int to, int x, int y, bool erase,
                                bool decibels, bool allowOverflow) {
    const Hit hit = HitAt(x, y, decibels);
    if (hit.Where == Row::None)
        return {};
    active_ = true;
    erase_ = erase;
    decibels_ = decibels;
    allowOverflow_ = allowOverflow;
    row_ = hit.Where;
    dcStroke_ = hit.Where == Row::Magnitude && hit.Harmonic == 0;
    from_ = std::max(from, 1);
    to_ = std::min(to, kWaveCount);
    for (int w = from_; w <= to_; ++w) {
        const auto i = static_cast<std::size_t>(w - 1);
        edit::ReadWave(table, w - 1, before_[i]);
        edit::Analyse(before_[i], spectra_[i]);
    }
    return Apply(table, x, y, x, y);
}

Stroke::StepResult Stroke::Move(Wavetable &table, int x, int y) {
    if (!active_)
        return {};
    return Apply(table, lastX_, lastY_, x, y);
}

Stroke::EndResult Stroke::Up() {
    if (!active_)
        return {};
    active_ = false;
    return {true, lastOverflow_};
}

} // namespace morvane::render::bars
