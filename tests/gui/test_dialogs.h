#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/dialogs.h"

namespace morvane::testing {

// A dialogs port that answers from queues and records every question. A question with no
// answer queued is a test failure (it answers Cancel, No or "nothing chosen").
class TestDialogs final : public ui::Dialogs {
public:
    std::deque<ui::Answer> ConfirmAnswers;
    std::deque<std::optional<std::string>> FileAnswers; // a path, or nullopt for "left"
    std::deque<ui::SelectorAnswer> SelectorAnswers;
    std::deque<ui::AudioSetupAnswer> AudioAnswers;

    std::vector<std::string> Confirmations;
    std::vector<std::string> Messages;
    std::vector<std::string> FileDialogs; // the dialog names, in the order shown
    std::vector<std::vector<std::string>> HelpShown;
    std::vector<std::string> GuidesShown; // the paths of the user guide shown
    int AudioSetups = 0;

    ui::Answer Confirm(const std::string &text, bool withCancel) override {
        Confirmations.push_back(text);
        if (ConfirmAnswers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return withCancel ? ui::Answer::Cancel : ui::Answer::No;
        }
        const ui::Answer answer = ConfirmAnswers.front();
        ConfirmAnswers.pop_front();
        return answer;
    }
    void Message(const std::string &text) override { Messages.push_back(text); }
    bool OpenFile(ui::FileDialogState &dialog) override { return File(dialog); }
    bool SaveFile(ui::FileDialogState &dialog) override { return File(dialog); }
    ui::SelectorAnswer SelectWavetable(const std::vector<std::string> &) override {
        if (SelectorAnswers.empty())
            return {};
        const ui::SelectorAnswer answer = SelectorAnswers.front();
        SelectorAnswers.pop_front();
        return answer;
    }
    ui::AudioSetupAnswer AudioSetup(const ui::AudioSetupChoices &) override {
        ++AudioSetups;
        if (AudioAnswers.empty())
            return {};
        const ui::AudioSetupAnswer answer = AudioAnswers.front();
        AudioAnswers.pop_front();
        return answer;
    }
    void ShowHelp(const std::vector<std::string> &lines) override { HelpShown.push_back(lines); }
    void ShowUserGuide(const std::string &path) override { GuidesShown.push_back(path); }

private:
    bool File(ui::FileDialogState &dialog) {
        FileDialogs.push_back(dialog.Name);
        if (FileAnswers.empty() || !FileAnswers.front()) {
            if (!FileAnswers.empty())
                FileAnswers.pop_front();
            return false;
        }
        dialog.FileName = *FileAnswers.front();
        FileAnswers.pop_front();
        return true;
    }
};

} // namespace morvane::testing
