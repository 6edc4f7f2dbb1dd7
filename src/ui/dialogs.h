#pragma once

#include <string>
#include <vector>

namespace morvane {

// The answer of a confirmation box.
enum class Answer { Yes, No, Cancel };

// One file dialog of the main window (OpenDialog1, SaveDialog1, ...). It lives as long as the
// window, so the file name chosen last stays in it between uses.
struct FileDialogState {
    std::string Name;          // the dialog's name, e.g. "OpenDialog1"
    std::string Filter;        // "System Exclusive Files|*.syx|All files|*.*"
    int FilterIndex = 1;       // 1-based, chosen before showing
    std::string DefaultExt;    // "syx" (without the dot), empty for none
    std::string FileName;      // proposed before showing; the chosen path afterwards
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
    int Device = -1;         // index of the chosen device entry, -1 for none
    std::string FormatText;  // text of the chosen format entry, empty for none
};

// The dialogs port: everything the commands ask the user. The Qt implementation shows real
// dialogs; the scripted one answers from a queue and records what was asked.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Yes/No, or Yes/No/Cancel when withCancel is set.
    virtual Answer Confirm(const std::string& text, bool withCancel) = 0;
    // A plain message box with an OK button (the general error box too).
    virtual void Message(const std::string& text) = 0;
    // Shows the dialog; on a chosen file sets dialog.FileName to its path and returns true.
    virtual bool OpenFile(FileDialogState& dialog) = 0;
    virtual bool SaveFile(FileDialogState& dialog) = 0;
    // The wavetable selector over the given names.
    virtual SelectorAnswer SelectWavetable(const std::vector<std::string>& names) = 0;
    // The audio setup dialog.
    virtual AudioSetupAnswer AudioSetup(const AudioSetupChoices& choices) = 0;
    // The help dialog with the lines it shows; it has no result.
    virtual void ShowHelp(const std::vector<std::string>& lines) = 0;
};

} // namespace morvane
