// The exchange commands of the main window: the MIDI output setup and sending the selected
// waves straight to the instrument.
#include "ui/qt/main_window.h"

#include <memory>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>

#include "audio/settings_file.h"
#include "midi/rtmidi/rtmidi_out.h"
#include "midi/sysex_messages.h"
#include "ui/midi_setup_choices.h"

namespace morvane {

namespace {

const std::string kSendPrefix = "SendWavetableToSynth ";
const std::string kMidiOutputPrefix = "MidiOutput ";
const char *const kSendTitle = "Send wavetable to synth";

std::unique_ptr<midi::MidiOut> MakeMidiOut(const midi::MidiOutFactory &factory) {
    return factory ? factory() : midi::CreateRtMidiOut();
}

std::filesystem::path SettingsPathOf(const TfrmMain &w) {
    // Beside the audio settings, in the same file.
    return w.SettingsPath.empty() ? audio::DefaultSettingsFilePath()
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
    const auto choicesNow = [factory, saved] {
        MidiSetupChoices choices = ui::MakeMidiSetupChoices(MakeMidiOut(factory)->Ports(), saved);
        return choices;
    };
    MidiSetupChoices choices = choicesNow();
    choices.Rescan = [choicesNow] {
        MidiSetupChoices again = choicesNow();
        return again;
    };
    const MidiSetupAnswer answer = Dialogs().MidiSetup(choices);
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
    ProgressJob job;
    job.Title = kSendTitle;
    job.Total = static_cast<int>(messages.size());
    job.Run = [factory = MidiOutFactory, settings, messages = std::move(messages),
               result](const ProgressJob::Report &report, const midi::CancelFlag &cancel) {
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

} // namespace morvane
