#pragma once

#include <QWidget>

#include "edit/spectrum.h"
#include "render/canvas.h"
#include "render/harmonic_bars.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace morvane::qt {

class TfrmMain;
class TImageView;

// The harmonic window "Harmonics": the current wave as two rows of bars, magnitude and phase of
// harmonics 1..64, with DC beside them; drawing over the bars edits the spectrum, and the
// spectral processors reshape it across the waves of the selection. A tool window owned by the
// main window (a child with its own frame), so that its controls are found and listed with the
// main window's. It holds no document state: the bars follow the main window's GraphRedrawn,
// and every command runs the main window's tail (graph, overview, modified flag, snapshot).
class TfrmHarmonics final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TfrmHarmonics)

public:
    explicit TfrmHarmonics(TfrmMain &main);

    // Shows the window beside the main window (first time) and raises it.
    void Open();

    // ---- Handlers ---------------------------------------------------------------------------
    void imgHarmonicsMouseDown(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                               int x, int y);
    void imgHarmonicsMouseMove(QObject *sender, Qt::KeyboardModifiers shift, int x, int y);
    void imgHarmonicsMouseUp(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                             int x, int y);
    void cmbHarmonicScaleChange(QObject *sender);
    void cmbSpectralProcessorChange(QObject *sender);
    void btnApplyProcessorClick(QObject *sender);
    // `harmonic K M P` of a script: the same command a bar stroke is, in one step.
    void SetHarmonicCommand(int k, double magnitude, double phaseDegrees);

    // Redraws the bars for wave number `wave` (1..64) while the window is shown.
    void ShowWave(int wave);
    const edit::Spectrum &ShownSpectrum() const { return spectrum_; }
    const render::Canvas &BarsBitmap() const { return barsBitmap_; }

    // ---- Controls ---------------------------------------------------------------------------
    TImageView *imgHarmonics = nullptr;
    QLabel *lblHarmonicWave = nullptr;  // "Wave N"
    QLabel *lblHarmonicDC = nullptr;    // "DC: +0.000000"
    QLabel *lblHarmonicValue = nullptr; // the bar under the pointer
    QComboBox *cmbHarmonicScale = nullptr;
    QGroupBox *grpSpectralProcessors = nullptr;
    QComboBox *cmbSpectralProcessor = nullptr;
    QLabel *lblProcessorStart = nullptr;
    QLineEdit *edtProcessorStart = nullptr;
    QLabel *lblProcessorEnd = nullptr;
    QLineEdit *edtProcessorEnd = nullptr;
    QPushButton *btnApplyProcessor = nullptr;
    QLabel *lblProcessorRange = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool Decibels() const;
    // The end of every command: the overflow message once, then the main window's tail.
    void CommandTail(bool overflow);
    void StepTail(const render::bars::Stroke::StepResult &step);
    void ShowValueAt(int x, int y);

    TfrmMain &main_;
    render::Canvas barsBitmap_;
    edit::Spectrum spectrum_{};
    render::bars::Stroke stroke_{}; // the stroke in progress; about 100 KB, once for the run
    bool placed_ = false;
};

} // namespace morvane::qt
