#pragma once

#include <QDialog>

#include "ui/dialogs.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace morvane::qt {

// "MIDI output": the output ports of every MIDI system with the one to send to, and the pause
// between two wave messages. OK (also Enter) closes it with Accepted, Cancel (also Esc and the
// close box) with Rejected. Refresh lists the ports again, keeping the entry chosen when it is
// still there.
class TfrmMidiOutput final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TfrmMidiOutput)

public:
    explicit TfrmMidiOutput(const ui::MidiSetupChoices &choices, QWidget *parent = nullptr);

    // The choice as it stands (Ok is left to the caller, who knows how the dialog closed).
    ui::MidiSetupAnswer Choice() const;

    void btnRefreshClick();

    QLabel *Label1 = nullptr; // "MIDI output port"
    QComboBox *cmbMidiPort = nullptr;
    QPushButton *btnRefresh = nullptr;
    QLabel *lblMidiNotes = nullptr; // the MIDI systems that could not be asked
    QLabel *Label2 = nullptr;       // "Pause between waves"
    QSpinBox *edtMidiPause = nullptr;
    QLabel *lblPauseHint = nullptr;
    QPushButton *BitBtn1 = nullptr; // OK
    QPushButton *BitBtn2 = nullptr; // Cancel

private:
    void Fill(const ui::MidiSetupChoices &choices, int select);

    std::vector<ui::MidiPortEntry> entries_;
    std::function<ui::MidiSetupChoices()> rescan_;
};

} // namespace morvane::qt
