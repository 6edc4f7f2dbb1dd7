// The exchange commands of the main window: the MIDI output setup and sending the selected
// waves straight to the instrument; importing audio files and other synths' wavetables, and
// the export that other synths load.
#include "ui/qt/main_window.h"

#include <memory>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>

#include "exchange/audio_import.h"
#include "exchange/wavetable_export.h"
#include "files/settings_file.h"
#include "midi/rtmidi/rtmidi_out.h"
#include "midi/sysex_messages.h"
#include "ui/import_audio_choices.h"
#include "ui/midi_setup_choices.h"

namespace morvane::qt {

namespace {

const std::string kSendPrefix = "SendWavetableToSynth ";
const std::string kMidiOutputPrefix = "MidiOutput ";
const char *const kSendTitle = "Send wavetable to synth";
const std::string kImportAudioPrefix = "ImportAudio ";
const std::string kExport2048Prefix = "ExportWavetable2048 ";

std::unique_ptr<midi::MidiOut> MakeMidiOut(const midi::MidiOutFactory &factory) {
    return factory ? factory() : midi::CreateRtMidiOut();
}

// The target waves From: .. To: of the import; false, after saying so, when they are no range.
bool ImportRangeOk(TfrmMain &w) {
    const int first = w.CmbWTFrom->currentIndex() + 1;
    const int last = w.CmbWTTo->currentIndex() + 1;
    if (last < first) {
        w.Dialogs().Message(kImportAudioPrefix + "The target waves From: " + std::to_string(first) +
                            " To: " + std::to_string(last) +
                            " are no range: From must not lie after To.");
        return false;
    }
    return true;
}

std::filesystem::path SettingsPathOf(const TfrmMain &w) {
    // Beside the audio settings, in the same file.
    return w.SettingsPath.empty() ? files::DefaultSettingsFilePath()
                                  : std::filesystem::path(w.SettingsPath);
}

} // namespace

const midi::MidiOutputSettings &TfrmMain::MidiSettings() {
    if (!MidiOutput)
        MidiOutput = midi::LoadMidiOutputSettings(SettingsPathOf(*this));
    return *MidiOutput;
}

void TfrmMain::MidiOutput1Click(QObject *) {
    const midi::MidiOutputSettings saved = MidiSettings();
    const midi::MidiOutFactory factory = MidiOutFactory;
    // Refresh lists the ports anew against the same saved choice.
    const auto choicesNow = [factory, saved] {
        return ui::MakeMidiSetupChoices(MakeMidiOut(factory)->Ports(), saved);
    };
    ui::MidiSetupChoices choices = choicesNow();
    choices.Rescan = choicesNow;
    const ui::MidiSetupAnswer answer = Dialogs().MidiSetup(choices);
    if (!answer.Ok)
        return;
    MidiOutput = ui::ApplyMidiSetup(answer);
    // Kept at once: the choice belongs to the desk the instrument stands on, not to a document.
    try {
        midi::SaveMidiOutputSettings(*MidiOutput, SettingsPathOf(*this));
    } catch (const std::exception &e) {
        Dialogs().Message(kMidiOutputPrefix + e.what());
    }
}

void TfrmMain::SendToSynth1Click(QObject *) {
    if (SendingToSynth)
        return; // one send at a time; the action is disabled meanwhile
    const midi::MidiOutputSettings settings = MidiSettings();
    if (settings.MidiPort.empty()) {
        Dialogs().Message(kSendPrefix +
                          "No MIDI output port is chosen. Choose the instrument's port under "
                          "Exchange > MIDI output ... first.");
        return;
    }
    // The same waves and bytes as "SaveSelcWT(syx)" writes, stamped on a copy: the document
    // and its modified flag stay as they are.
    files::SyxSaveRequest request;
    const WaveRange range = RangeWaveSelection();
    request.First = range.From;
    request.Last = range.To;
    request.NameField = ToSingleByte(edtName->text());
    request.Slot = static_cast<std::uint8_t>(cmbWavetableSlot->currentText().toInt());
    midi::MessageList messages;
    try {
        messages = midi::StampedSelection(Table(), request);
    } catch (const std::exception &e) {
        Dialogs().Message(kSendPrefix + e.what());
        return;
    }

    auto result = std::make_shared<midi::SendResult>();
    ui::ProgressJob job;
    job.Title = kSendTitle;
    job.Total = static_cast<int>(messages.size());
    job.Run = [factory = MidiOutFactory, settings, messages = std::move(messages),
               result](const ui::ProgressJob::Report &report, const midi::CancelFlag &cancel) {
        midi::SystemPaceClock clock;
        try {
            const std::unique_ptr<midi::MidiOut> out = MakeMidiOut(factory);
            *result = midi::SendPaced(*out, settings.MidiApi, settings.MidiPort, messages,
                                      settings.MidiPauseMs, clock, cancel,
                                      [&report](int number, int total) {
                                          report(number, midi::ProgressText(number, total));
                                      });
        } catch (const std::exception &e) {
            result->Total = static_cast<int>(messages.size());
            result->Error = e.what();
        }
    };
    job.Finished = [this, result] {
        SendingToSynth = false;
        SendToSynth1->setEnabled(true);
        if (result->Complete()) {
            LogMessage(std::to_string(result->Sent) + " waves were sent to " + result->PortName +
                       ".");
        } else if (!result->Error.empty()) {
            Dialogs().Message(kSendPrefix + result->Error + " " + midi::SentCountText(*result));
        } else {
            Dialogs().Message("Sending was cancelled. " + midi::SentCountText(*result));
        }
    };
    SendingToSynth = true;
    SendToSynth1->setEnabled(false);
    Dialogs().RunWithProgress(std::move(job));
}

void TfrmMain::ImportAudio1Click(QObject *) {
    if (!ImportRangeOk(*this))
        return;
    if (!Dialogs().OpenFile(OpenDialogAudio))
        return;
    ImportAudioPath(OpenDialogAudio.FileName);
}

void TfrmMain::ImportAudioPath(const std::string &path) {
    if (!ImportRangeOk(*this))
        return;
    OpenDialogAudio.FileName = path;
    const int first = CmbWTFrom->currentIndex() + 1;
    const int last = CmbWTTo->currentIndex() + 1;
    // Everything that can fail happens before the table changes: a refused file, or a frame
    // length that gives no whole frame, leaves the table and the history as they were.
    Wavetable imported = Table();
    try {
        const exchange::AudioFile file = exchange::ReadAudioFile(path);
        const ui::ImportAudioAnswer answer =
            Dialogs().ImportAudio(ui::MakeImportAudioChoices(file, first, last));
        if (!answer.Ok)
            return;
        exchange::ImportSettings settings;
        settings.FrameLength = answer.FrameLength;
        settings.Normalise = answer.Normalise;
        settings.First = first;
        settings.Last = last;
        exchange::ImportAudioFrames(file, settings, imported);
    } catch (const std::exception &e) {
        Dialogs().Message(kImportAudioPrefix + e.what());
        return;
    }
    // A snapshot before and one after: one undo gives back the table as it was, whatever the
    // history held.
    PushHistory();
    Table() = imported;
    PushHistory();
    SetModified(true);
    DrawWavetable(CurrentWave());
    DrawOverview();
    RememberFile(path);
}

void TfrmMain::ExportWavetable2048Click(QObject *) {
    if (!Dialogs().SaveFile(SaveDialog2048))
        return;
    if (!MayOverwrite({SaveDialog2048.FileName}))
        return;
    try {
        exchange::ExportWavetable2048(SaveDialog2048.FileName, Table());
    } catch (const std::exception &e) {
        Dialogs().Message(kExport2048Prefix + e.what());
        return;
    }
    RememberFile(SaveDialog2048.FileName);
}

} // namespace morvane::qt
