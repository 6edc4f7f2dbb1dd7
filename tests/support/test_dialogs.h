#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ui/dialogs.h"

namespace morvane::testing_support {

// The dialogs port of the window tests: it answers from queues the test fills and records every
// dialog it was asked to show. A question, file dialog or selector with no answer queued is a
// test failure (it answers Cancel or No, leaves the file dialog, chooses nothing); the audio and
// MIDI set-ups answer "not accepted" when nothing is queued.
class TestDialogs final : public ui::Dialogs {
public:
    // A file dialog as it was shown: its name, filter, extension and proposed file.
    struct FileDialogShown {
        std::string Name;
        int FilterIndex;
        std::string DefaultExt;
        std::string Proposed;
    };

    std::deque<ui::Answer> ConfirmAnswers;
    std::deque<std::optional<std::string>> FileAnswers; // a path, or nullopt for "left"
    std::deque<ui::SelectorAnswer> SelectorAnswers;
    std::deque<ui::AudioSetupAnswer> AudioAnswers;
    std::deque<ui::MidiSetupAnswer> MidiAnswers;
    // Runs the jobs of RunWithProgress when set (a real progress dialog); else they run at once.
    std::function<void(ui::ProgressJob)> Progress;

    std::vector<std::string> Confirmations;
    std::vector<std::string> Messages;
    std::vector<FileDialogShown> FileDialogsShown;
    std::vector<std::vector<std::string>> SelectorNames;
    std::vector<ui::AudioSetupChoices> AudioOffered;
    std::vector<ui::MidiSetupChoices> MidiShown;
    std::vector<std::vector<std::string>> HelpShown;
    std::vector<std::string> GuidesShown; // the paths of the user guide shown

    ui::Answer Confirm(const std::string &text, bool withCancel) override {
        Confirmations.push_back(text);
        if (ConfirmAnswers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return withCancel ? ui::Answer::Cancel : ui::Answer::No;
        }
        return Next(ConfirmAnswers);
    }
    void Message(const std::string &text) override { Messages.push_back(text); }
    bool OpenFile(ui::FileDialogState &dialog) override { return File(dialog); }
    bool SaveFile(ui::FileDialogState &dialog) override { return File(dialog); }
    ui::SelectorAnswer SelectWavetable(const std::vector<std::string> &names) override {
        SelectorNames.push_back(names);
        if (SelectorAnswers.empty()) {
            ADD_FAILURE() << "unexpected wavetable selector";
            return {};
        }
        return Next(SelectorAnswers);
    }
    ui::AudioSetupAnswer AudioSetup(const ui::AudioSetupChoices &choices) override {
        AudioOffered.push_back(choices);
        return AudioAnswers.empty() ? ui::AudioSetupAnswer{} : Next(AudioAnswers);
    }
    ui::MidiSetupAnswer MidiSetup(const ui::MidiSetupChoices &choices) override {
        MidiShown.push_back(choices);
        return MidiAnswers.empty() ? ui::MidiSetupAnswer{} : Next(MidiAnswers);
    }
    void RunWithProgress(ui::ProgressJob job) override {
        if (Progress)
            Progress(std::move(job));
        else
            ui::Dialogs::RunWithProgress(std::move(job));
    }
    void ShowHelp(const std::vector<std::string> &lines) override { HelpShown.push_back(lines); }
    void ShowUserGuide(const std::string &path) override { GuidesShown.push_back(path); }

private:
    template <typename T> static T Next(std::deque<T> &answers) {
        T answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }

    bool File(ui::FileDialogState &dialog) {
        FileDialogsShown.push_back(
            {dialog.Name, dialog.FilterIndex, dialog.DefaultExt, dialog.FileName});
        if (FileAnswers.empty()) {
            ADD_FAILURE() << "unexpected file dialog " << dialog.Name;
            return false;
        }
        const std::optional<std::string> answer = Next(FileAnswers);
        if (!answer)
            return false;
        dialog.FileName = *answer;
        return true;
    }
};

} // namespace morvane::testing_support
