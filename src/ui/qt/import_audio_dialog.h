#pragma once

#include <QDialog>

#include "ui/import_audio_choices.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace morvane::qt {

// The audio import dialog: what the file is, the frame length (proposed from the file's tag or
// chosen among the usual lengths), how many frames that gives and which frames go to which
// target wave, and whether the loudest sample is normalised to full scale. OK closes it with
// Accepted; Cancel, Esc and the close box with Rejected.
class TfrmImportAudio final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TfrmImportAudio)

public:
    explicit TfrmImportAudio(const ui::ImportAudioChoices &choices, QWidget *parent = nullptr);

    ui::ImportAudioAnswer Answer() const;

    // The frame length chosen: the count and the mapping follow it.
    void cmbFrameLengthChange();

    QLabel *lblFile = nullptr;
    QLabel *lblFormat = nullptr;
    QLabel *lblTag = nullptr;
    QLabel *Label1 = nullptr; // "Frame length:"
    QComboBox *cmbFrameLength = nullptr;
    QLabel *lblFramesFound = nullptr;
    QLabel *Label2 = nullptr; // "Waves 1 to 64 take:"
    QListWidget *lbMapping = nullptr;
    QCheckBox *chbNormalise = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

private:
    ui::ImportAudioChoices choices_;
};

} // namespace morvane::qt
