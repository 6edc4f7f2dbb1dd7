// The playback commands of the main window: play and stop, the sweep, the play buffers, the
// audio setup and the settings file.
#include "ui/qt/main_window.h"

#include <exception>
#include <memory>
#include <string>

#include <QAction>
#include <QCheckBox>
#include <QMetaObject>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include "audio/audio_settings_file.h"
#include "audio/audio_setup.h"
#include "audio/playback.h"
#include "files/settings_file.h"
#include "ui/audio_setup_choices.h"
#include "ui/qt/audition_window.h"
#include "ui/qt/wave_list.h"

namespace morvane::qt {

namespace {
bool IsPlaying(const QPushButton *button) {
    return button->text() == QStringLiteral("Stop");
}
} // namespace

void TfrmMain::btnPlayClick(QObject *) {
    if (!IsPlaying(btnPlay))
        StartPlay();
    else
        StopPlay();
}

void TfrmMain::StartPlay() {
    // The audition and Play do not share the device: starting one stops the other.
    if (frmAudition != nullptr)
        frmAudition->StopAudition();
    btnPlay->setText(QStringLiteral("Stop"));
    // A failed open is reported from the generator's thread; it is handled on this thread. The
    // generator is joined before the window goes, so `this` outlives it.
    const int run = ++PlayRun;
    auto onOpenFailed = [this, run](const std::string &text) {
        QMetaObject::invokeMethod(
            this, [this, run, text] { Guarded([&] { PlayOpenFailed(run, text); }); },
            Qt::QueuedConnection);
    };
    AudioGen.Replace(
        std::make_unique<audio::TAudioGen>(*AudioWaveOut, AudioSettings, onOpenFailed));
    FillPlayBuffers();
    AudioGen->Start();
    PlayStartWave = CurrentWave() - 1;
    if (chbPlayAll->isChecked()) {
        SweepDirection = +1;
        TimerPlay->start();
    }
}

void TfrmMain::StopPlay() {
    btnPlay->setText(QStringLiteral("Play"));
    if (AudioGen)
        AudioGen->Running = false;
    TimerPlay->stop();
    // Back to the wave that was current when Play was pressed.
    SelectWave(PlayStartWave + 1);
    DrawWavetable(PlayStartWave + 1);
}

void TfrmMain::PlayOpenFailed(int run, const std::string &reason) {
    LogMessage("Audio device could not be opened: " + reason);
    // The button went to "Stop" when Play was pressed; nothing plays, so it goes back, as Stop
    // would take it back. A Play pressed since then is left alone.
    if (run == PlayRun && IsPlaying(btnPlay))
        btnPlayClick(nullptr);
    const int device = AudioSettings.WaveAudioDevice;
    const std::vector<audio::WaveOutCaps> devices = AudioWaveOut->Devices();
    const std::string name =
        device >= 0 && static_cast<std::size_t>(device) < devices.size()
            ? "\"" + devices[static_cast<std::size_t>(device)].ProductName + "\""
        : device == -1 ? std::string("the default device")
                       : "number " + std::to_string(device) + " (there is no such device)";
    Dialogs().Message("Play: the sound output " + name + " could not be opened: " + reason);
}

void TfrmMain::TimerPlayTimer(QObject *) {
    const int index = audio::SweepStep(CurrentWave() - 1, SweepDirection);
    SelectWave(index + 1);
    DrawWavetable(index + 1);
}

void TfrmMain::trbPlaySpeedChange(QObject *) {
    TimerPlay->setInterval(audio::PlaySpeedInterval(trbPlaySpeed->value()));
}

void TfrmMain::chbPlayAllClick(QObject *sender) {
    if (sender == chbPlayAll)
        Sweepwavetable->setChecked(!Sweepwavetable->isChecked());
    // Toggling the box runs this handler again with the box as sender, which sets the mark.
    if (sender == Sweepwavetable)
        chbPlayAll->setChecked(!chbPlayAll->isChecked());
    if (IsPlaying(btnPlay)) {
        // SweepDirection keeps its value: the sweep goes on the way it last went.
        if (!chbPlayAll->isChecked())
            TimerPlay->stop();
        else if (!TimerPlay->isActive())
            TimerPlay->start();
    }
}

void TfrmMain::AudioSetup1Click(QObject *) {
    const ui::AudioSetupChoices choices =
        ui::MakeAudioSetupChoices(AudioWaveOut->Devices(), AudioSettings);
    const ui::AudioSetupAnswer answer = Dialogs().AudioSetup(choices);
    // New settings reach the device with the next Play; the fill uses them at once.
    if (answer.Ok)
        audio::ApplyAudioSetup(AudioSettings, answer.Device, answer.FormatText);
}

void TfrmMain::FillPlayBuffers() {
    audio::TAudioGen *generator = AudioGen.Get();
    if (generator == nullptr)
        return;
    audio::FillPlayBuffers(table_, CurrentWave() - 1, AudioSettings, generator->Buffers);
}

void TfrmMain::LoadAudioSettings() {
    if (AudioWaveOut == nullptr) {
        OwnWaveOut = std::make_unique<audio::NullWaveOut>();
        AudioWaveOut = OwnWaveOut.get();
    }
    if (SettingsPath.empty())
        SettingsPath = files::DefaultSettingsFilePath().string();
    try {
        audio::LoadAudioSettings(AudioSettings, SettingsPath);
    } catch (const std::exception &e) {
        Dialogs().Message(e.what());
    }
}

void TfrmMain::FormCloseQuery(QObject *, bool &canClose) {
    // Unsaved work is offered for saving first; while the answer keeps the window open (or the
    // question fails) nothing else happens: the sound goes on and the settings stay unwritten.
    canClose = false;
    if (!closingWithoutQuestion_ && !AskSaveChanges())
        return;
    // Nothing waits for the generator's thread here; the window waits for it only when it is
    // destroyed, so that its buffers outlive the device's use of them.
    if (AudioGen)
        AudioGen->Running = false;
    if (frmAudition != nullptr)
        frmAudition->StopAudition();
    try {
        audio::SaveAudioSettings(AudioSettings, SettingsPath);
    } catch (const std::exception &e) {
        Dialogs().Message(e.what());
    }
    // The off-screen picture goes with the window itself: a closed window may still be
    // redrawn (the script runner and the tests go on with it), so it is not released here.
    canClose = true;
}

} // namespace morvane::qt
