#pragma once

#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "script/script_parser.h"
#include "ui/dialogs.h"

namespace morvane::script {

// The dialogs port answered from a script: every answer is queued beforehand by a script line,
// and every dialog shown writes one line to the output ("question: TEXT -> yes").
//
// A dialog that finds no answer queued, or an answer it does not offer, must end the run, but it
// is shown from inside an event handler, where an exception would have to unwind through the
// toolkit. So the dialog records the failure, answers as a user who closes it would (No, Cancel,
// no file) and stays silent from then on; the runner looks at Failed() after every action.
class ScriptedDialogs final : public ui::Dialogs {
public:
    explicit ScriptedDialogs(std::ostream &out) : out_(out) {}

    // Each answer remembers the script line that queued it, for the report of leftovers.
    void QueueAnswer(ui::Answer answer, int line);
    void QueueFile(std::optional<std::string> path, int line);
    void QueueSelector(script::SelectorChoice choice, int line);
    void QueueAudioSetup(script::AudioSetupChoice choice, int line);
    void QueueMidiSetup(script::MidiSetupChoice choice, int line);
    void QueueImportAudio(script::ImportAudioChoice choice, int line);

    bool Failed() const { return failed_; }
    const std::string &Failure() const { return failure_; }
    // Records a failure from outside a dialog (a modal window nobody answers).
    void Fail(const std::string &text);

    // The first answer still queued, as "LINE: what", or none when every queue is empty.
    struct Leftover {
        int Line = 0;
        std::string What;
    };
    std::optional<Leftover> FirstLeftover() const;

    ui::Answer Confirm(const std::string &text, bool withCancel) override;
    void Message(const std::string &text) override;
    bool OpenFile(ui::FileDialogState &dialog) override;
    bool SaveFile(ui::FileDialogState &dialog) override;
    ui::SelectorAnswer SelectWavetable(const std::vector<std::string> &names) override;
    ui::AudioSetupAnswer AudioSetup(const ui::AudioSetupChoices &choices) override;
    void ShowHelp(const std::vector<std::string> &lines) override;
    // Prints "user-guide: " and the guide's title, the same wherever the guide is installed.
    void ShowUserGuide(const std::string &path) override;
    ui::MidiSetupAnswer MidiSetup(const ui::MidiSetupChoices &choices) override;
    ui::ImportAudioAnswer ImportAudio(const ui::ImportAudioChoices &choices) override;
    // Runs the job to its end before the script goes on, and writes its last progress text.
    void RunWithProgress(ui::ProgressJob job) override;

private:
    template <typename T> struct Queued {
        T Value;
        int Line;
    };

    bool FileDialog(ui::FileDialogState &dialog, bool save);
    void Line(const std::string &text);

    std::ostream &out_;
    std::deque<Queued<ui::Answer>> answers_;
    std::deque<Queued<std::optional<std::string>>> files_;
    std::deque<Queued<script::SelectorChoice>> selectors_;
    std::deque<Queued<script::AudioSetupChoice>> audioSetups_;
    std::deque<Queued<script::MidiSetupChoice>> midiSetups_;
    std::deque<Queued<script::ImportAudioChoice>> importAudios_;
    bool failed_ = false;
    std::string failure_;
};

// One line of output text: line breaks inside it are written as \n so that every event stays
// one line.
std::string OneLine(const std::string &text);

} // namespace morvane::script
