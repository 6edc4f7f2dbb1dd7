#pragma once

#include <QDialog>

#include "render/canvas.h"
#include "ui/import_audio_choices.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace morvane::qt {

class TImageView;

// The audio import dialog: what the file is and how it becomes waves. In the "Frames" mode the
// frame length (proposed from the file's tag or chosen among the usual lengths), how many frames
// that gives and which frames go to which target wave; in the "Pitch-tracked cycles" mode the
// pitch found, a pitch entered by hand, the region drawn over the file's waveform, the phase
// choice and the first, middle and last wave the cycles make. Both: whether the loudest sample
// is normalised to full scale. OK closes it with Accepted; Cancel, Esc and the close box with
// Rejected.
class TfrmImportAudio final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TfrmImportAudio)

public:
    explicit TfrmImportAudio(const ui::ImportAudioChoices &choices, QWidget *parent = nullptr);

    ui::ImportAudioAnswer Answer() const;

    // The mode chosen: its controls are shown, the other mode's hidden.
    void cmbModeChange();
    // The frame length chosen: the count and the mapping follow it.
    void cmbFrameLengthChange();
    // A choice of the cycles mode changed: the pitches, the picture and the preview follow it.
    void CyclesChange();

    QLabel *lblFile = nullptr;
    QLabel *lblFormat = nullptr;
    QLabel *lblTag = nullptr;
    QLabel *lblMode = nullptr; // "Import as:"
    QComboBox *cmbMode = nullptr;
    // Frames
    QLabel *Label1 = nullptr; // "Frame length:"
    QComboBox *cmbFrameLength = nullptr;
    QLabel *lblFramesFound = nullptr;
    QLabel *Label2 = nullptr; // "Waves 1 to 64 take:"
    QListWidget *lbMapping = nullptr;
    // Pitch-tracked cycles
    QLabel *lblPitchFound = nullptr;
    QLabel *lblPitch = nullptr; // "Pitch:"
    QLineEdit *edtPitch = nullptr;
    QLabel *lblPitchEntered = nullptr;
    QLabel *lblRegion = nullptr; // "Region:"
    QDoubleSpinBox *edtRegionStart = nullptr;
    QLabel *lblRegionTo = nullptr; // "to"
    QDoubleSpinBox *edtRegionEnd = nullptr;
    QLabel *lblRegionLength = nullptr;
    TImageView *imgRecording = nullptr;
    QLabel *lblPhase = nullptr; // "Phase:"
    QComboBox *cmbPhase = nullptr;
    QLabel *lblCyclesProblem = nullptr;
    QLabel *lblCycleFirst = nullptr;
    QLabel *lblCycleMiddle = nullptr;
    QLabel *lblCycleLast = nullptr;
    TImageView *imgCycleFirst = nullptr;
    TImageView *imgCycleMiddle = nullptr;
    TImageView *imgCycleLast = nullptr;
    // Both
    QCheckBox *chbNormalise = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

private:
    bool CyclesMode() const;
    ui::CyclesChoice CurrentCycles() const;
    void UpdateOk();

    ui::ImportAudioChoices choices_;
    bool cyclesReady_ = false; // the last preview made the waves
    render::Canvas recordingCanvas_;
    render::Canvas waveCanvas_;
    Wavetable preview_{}; // the waves of the last preview, for drawing
};

} // namespace morvane::qt
