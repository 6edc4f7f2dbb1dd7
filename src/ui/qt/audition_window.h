#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QWidget>

#include "audio/audio_stream.h"
#include "midi/midi_out.h"
#include "ui/audition_choices.h"
#include "ui/audition_session.h"
#include "ui/dialogs.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSlider;
class QTimer;

namespace morvane::qt {

class TfrmMain;

// The on-screen keyboard: plays while the left button is down, sliding from key to key as the
// pointer moves; a key's vertical place sets the velocity.
class TAuditionKeyboard final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TAuditionKeyboard)

public:
    explicit TAuditionKeyboard(QWidget *parent = nullptr);
    // The note held by the mouse, if any.
    std::optional<int> HeldNote() const { return held_; }

signals:
    void NoteOn(int note, int velocity);
    void NoteOff(int note);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void Hold(std::optional<int> note, double y);

    std::optional<int> held_;
};

// frmAudition: plays the table as a wavetable synth does, from a MIDI keyboard or the keyboard
// on screen, through the device of Audio Setup. A tool window of the main window, non-modal;
// Play here stops the main window's Play and the other way round. While it plays, the wave list
// follows the voice's position, and every edit of the table is heard at once.
class TfrmAudition final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TfrmAudition)

public:
    explicit TfrmAudition(TfrmMain &owner);
    ~TfrmAudition() override;

    // Shows the window; the first time, lists the MIDI inputs and opens the one remembered.
    void Open();
    // Stops the audition (the main window's Play calls it); harmless when stopped.
    void StopAudition();
    bool Playing() const { return session_.Playing(); }
    const ui::AuditionSession &Session() const { return session_; }

    // Handlers.
    void btnAuditionPlayClick(QObject *sender);
    void cmbMidiInputChange(QObject *sender);
    void btnMidiInputRescanClick(QObject *sender);
    void ControlsChange(QObject *sender);
    void TimerAuditionTimer(QObject *sender);
    void TableChanged();

    QLabel *lblMidiInput = nullptr;
    QComboBox *cmbMidiInput = nullptr;
    QPushButton *btnMidiInputRescan = nullptr;
    QLabel *lblInterpolation = nullptr;
    QComboBox *cmbInterpolation = nullptr;
    QLabel *lblPosition = nullptr;
    QSlider *trbPosition = nullptr;
    QLabel *lblPositionValue = nullptr;
    QLabel *lblModWheelDepth = nullptr;
    QDoubleSpinBox *spnModWheelDepth = nullptr;
    QLabel *lblLfoShape = nullptr;
    QComboBox *cmbLfoShape = nullptr;
    QLabel *lblLfoRate = nullptr;
    QSlider *trbLfoRate = nullptr;
    QLabel *lblLfoRateValue = nullptr;
    QLabel *lblLfoDepth = nullptr;
    QDoubleSpinBox *spnLfoDepth = nullptr;
    QLabel *lblEnvelopeFrom = nullptr;
    QDoubleSpinBox *spnEnvelopeFrom = nullptr;
    QLabel *lblEnvelopeTo = nullptr;
    QDoubleSpinBox *spnEnvelopeTo = nullptr;
    QLabel *lblEnvelopeTime = nullptr;
    QDoubleSpinBox *spnEnvelopeTime = nullptr;
    QLabel *lblAttack = nullptr;
    QDoubleSpinBox *spnAttack = nullptr;
    QLabel *lblRelease = nullptr;
    QDoubleSpinBox *spnRelease = nullptr;
    TAuditionKeyboard *imgKeyboard = nullptr;
    QPushButton *btnAuditionPlay = nullptr;
    QLabel *lblAuditionState = nullptr;
    QTimer *TimerAudition = nullptr; // follows the position while playing
    QTimer *TimerTable = nullptr;    // gathers the edits of one pass of the event loop

protected:
    // Closing the window stops the sound; the MIDI input stays open for the next time.
    void closeEvent(QCloseEvent *event) override;

private:
    ui::AuditionControls ReadControls() const;
    void ShowInputs(const ui::MidiSetupChoices &choices);
    void Guarded(const std::function<void()> &body);

    TfrmMain &owner_;
    // Declared before the session, which plays through it.
    std::unique_ptr<audio::NullAudioStreamOut> ownStreamOut_;
    ui::AuditionSession session_;
    std::vector<std::optional<midi::MidiPort>> inputs_; // per item of cmbMidiInput
    std::vector<bool> present_;                         // whether that port is listed now
    bool listed_ = false;
};

} // namespace morvane::qt
