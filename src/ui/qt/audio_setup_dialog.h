#pragma once

#include <QDialog>

#include "ui/dialogs.h"

class QComboBox;
class QEvent;
class QLabel;
class QPushButton;
class QTimer;

namespace morvane::qt {

// The audio setup dialog: the output devices and the 16-bit formats of the chosen one. It
// opens on the first device; the format list is filled by a one-shot timer once the dialog is
// on screen, with the entry the saved settings name preselected. OK closes it with Accepted,
// Cancel (also Esc and the close box) with Rejected.
class TfrmAudioSetup final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TfrmAudioSetup)

public:
    explicit TfrmAudioSetup(const ui::AudioSetupChoices &choices, QWidget *parent = nullptr);

    // The choice as the dialog shows it (Ok from the dialog's result).
    ui::AudioSetupAnswer Answer() const;

    void FormCreate();
    void FormActivate();
    void Timer1Timer();
    // The user picks a device: its formats, with the saved settings' entry preselected.
    void cmbAudioDeviceSelect();
    void cmbAudioDeviceChange();

    QLabel *Label1 = nullptr;
    QComboBox *cmbAudioDevice = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *cmbAudioFormats = nullptr;
    QLabel *lblNoOutput = nullptr;  // "No sound output found", in place of the lists
    QPushButton *BitBtn1 = nullptr; // OK
    QPushButton *BitBtn2 = nullptr; // Cancel
    QTimer *Timer1 = nullptr;

protected:
    bool event(QEvent *e) override;

private:
    ui::AudioSetupChoices choices_;
    bool activated_ = false;
};

} // namespace morvane::qt
