#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "midi/midi_out.h"
#include "midi/paced_sender.h"
#include "ui/import_audio_choices.h"

namespace morvane::ui {

// The answer of a confirmation box.
enum class Answer { Yes, No, Cancel };

// One file dialog of the main window (OpenDialog1, SaveDialog1, ...). It lives as long as the
// window, so the file name chosen last stays in it between uses.
struct FileDialogState {
    std::string Name;       // the dialog's name, e.g. "OpenDialog1"
    std::string Filter;     // "System Exclusive Files|*.syx|All files|*.*"
    int FilterIndex = 1;    // 1-based, chosen before showing
    std::string DefaultExt; // "syx" (without the dot), empty for none
    std::string FileName;   // proposed before showing; the chosen path afterwards
};

// The wavetable selector's result: OK with a 0-based index (-1 when nothing was selected), or
// Cancel.
struct SelectorAnswer {
    bool Ok = false;
    int Index = -1;
};

// What the audio setup dialog offers: the device names and, per device, its format texts,
// with the entry to preselect (-1 for none).
struct AudioSetupChoices {
    std::vector<std::string> Devices;
    std::vector<std::vector<std::string>> Formats; // one list per device
    int PreselectedFormat = -1;                    // index into the chosen device's list
};

struct AudioSetupAnswer {
    bool Ok = false;
    int Device = -1;        // index of the chosen device entry, -1 for none
    std::string FormatText; // text of the chosen format entry, empty for none
};

// One entry of the MIDI output dialog's port list: a port listed now, or the port chosen earlier
// that is not there at the moment (the instrument switched off), kept so that the choice
// survives until the user makes another.
struct MidiPortEntry {
    midi::MidiPort Port;
    bool Present = true;
    std::string Label; // "ALSA: Blofeld:Blofeld MIDI 1 20:0", "... (not connected)"
};

// What the MIDI output dialog offers. Rescan lists the ports again (its Refresh button), for an
// instrument plugged in while the dialog is open; it keeps the same saved choice.
struct MidiSetupChoices {
    std::vector<MidiPortEntry> Entries;
    std::vector<std::string> Notes; // one line for each MIDI system that could not be asked
    int Preselected = -1;           // index into Entries, -1 for none
    int PauseMs = midi::kDefaultPauseMs;
    std::function<MidiSetupChoices()> Rescan;
};

struct MidiSetupAnswer {
    bool Ok = false;
    std::optional<midi::MidiPort> Port; // none when no entry was chosen
    int PauseMs = midi::kDefaultPauseMs;
};

// Work that must not hold up the window, with its progress shown. Run is called once, on a
// thread of its own in the window (the scripted dialogs call it at once on the caller's thread,
// so that a script goes on only after it); it reports each step with its text and stops early
// when the flag is raised, which the dialog's Cancel does. Finished is then called on the
// user-interface thread. Neither may touch widgets from Run.
struct ProgressJob {
    using Report = std::function<void(int step, const std::string &text)>;
    std::string Title; // the dialog's caption
    int Total = 0;     // steps, for the bar
    std::function<void(const Report &report, const midi::CancelFlag &cancel)> Run;
    std::function<void()> Finished;
};

// The dialogs port: everything the commands ask the user. The Qt implementation shows real
// dialogs; the scripted one answers from a queue and records what was asked.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Yes/No, or Yes/No/Cancel when withCancel is set.
    virtual Answer Confirm(const std::string &text, bool withCancel) = 0;
    // A plain message box with an OK button (the general error box too).
    virtual void Message(const std::string &text) = 0;
    // Shows the dialog; on a chosen file sets dialog.FileName to its path and returns true.
    virtual bool OpenFile(FileDialogState &dialog) = 0;
    virtual bool SaveFile(FileDialogState &dialog) = 0;
    // The wavetable selector over the given names.
    virtual SelectorAnswer SelectWavetable(const std::vector<std::string> &names) = 0;
    // The audio setup dialog.
    virtual AudioSetupAnswer AudioSetup(const AudioSetupChoices &choices) = 0;
    // The help dialog with the lines it shows; it has no result.
    virtual void ShowHelp(const std::vector<std::string> &lines) = 0;
    // The MIDI output dialog. A port without it answers as Cancel does.
    virtual MidiSetupAnswer MidiSetup(const MidiSetupChoices &choices);
    // Runs the job with its progress shown. A port that shows nothing runs it at once on the
    // calling thread, then calls Finished.
    virtual void RunWithProgress(ProgressJob job);
    // The user guide at `path` (a Markdown file) in a window of its own that stays open beside
    // the main window. A port without it shows nothing.
    virtual void ShowUserGuide(const std::string &) {}
    // The audio import dialog (frmImportAudio). A port without it answers as Cancel does.
    virtual ImportAudioAnswer ImportAudio(const ImportAudioChoices &) { return {}; }
};

} // namespace morvane::ui
