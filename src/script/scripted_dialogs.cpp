#include "script/scripted_dialogs.h"

#include <algorithm>

#include "files/user_guide.h"
#include "script/import_audio_answer.h"
#include "ui/audio_setup_choices.h"

namespace morvane::script {

namespace {

const char *AnswerWord(ui::Answer answer) {
    switch (answer) {
    case ui::Answer::Yes:
        return "yes";
    case ui::Answer::No:
        return "no";
    case ui::Answer::Cancel:
        break;
    }
    return "cancel";
}

std::string Joined(const std::vector<std::string> &names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            text += " | ";
        text += names[i];
    }
    return text;
}

// A save dialog adds its default extension when the file name typed has none.
std::string WithDefaultExtension(const std::string &path, const std::string &extension) {
    if (extension.empty())
        return path;
    const std::size_t slash = path.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (path.find('.', nameStart) != std::string::npos || nameStart == path.size())
        return path;
    return path + "." + extension;
}

} // namespace

std::string OneLine(const std::string &text) {
    std::string result;
    for (const char c : text) {
        if (c == '\n')
            result += "\\n";
        else if (c != '\r')
            result += c;
    }
    return result;
}

void ScriptedDialogs::QueueAnswer(ui::Answer answer, int line) {
    answers_.push_back({answer, line});
}

void ScriptedDialogs::QueueFile(std::optional<std::string> path, int line) {
    files_.push_back({std::move(path), line});
}

void ScriptedDialogs::QueueSelector(script::SelectorChoice choice, int line) {
    selectors_.push_back({std::move(choice), line});
}

void ScriptedDialogs::QueueAudioSetup(script::AudioSetupChoice choice, int line) {
    audioSetups_.push_back({std::move(choice), line});
}

void ScriptedDialogs::QueueImportAudio(script::ImportAudioChoice choice, int line) {
    importAudios_.push_back({choice, line});
}

void ScriptedDialogs::QueueMidiSetup(script::MidiSetupChoice choice, int line) {
    midiSetups_.push_back({std::move(choice), line});
}

void ScriptedDialogs::Fail(const std::string &text) {
    if (failed_)
        return;
    failed_ = true;
    failure_ = text;
}

void ScriptedDialogs::Line(const std::string &text) {
    if (!failed_)
        out_ << OneLine(text) << '\n';
}

std::optional<ScriptedDialogs::Leftover> ScriptedDialogs::FirstLeftover() const {
    std::optional<Leftover> first;
    auto consider = [&](int line, std::string what) {
        if (!first || line < first->Line)
            first = Leftover{line, std::move(what)};
    };
    if (!answers_.empty())
        consider(answers_.front().Line,
                 std::string("the answer ") + AnswerWord(answers_.front().Value));
    if (!files_.empty())
        consider(files_.front().Line, files_.front().Value
                                          ? "the file " + script::Quote(*files_.front().Value)
                                          : std::string("nofile"));
    if (!selectors_.empty())
        consider(selectors_.front().Line, "the wavetable selector's answer");
    if (!audioSetups_.empty())
        consider(audioSetups_.front().Line, "the audio setup's answer");
    if (!midiSetups_.empty())
        consider(midiSetups_.front().Line, "the MIDI output's answer");
    if (!importAudios_.empty())
        consider(importAudios_.front().Line, "the audio import's answer");
    return first;
}

ui::Answer ScriptedDialogs::Confirm(const std::string &text, bool withCancel) {
    // A box nobody answers is closed: No for Yes/No, Cancel for Yes/No/Cancel.
    const ui::Answer closed = withCancel ? ui::Answer::Cancel : ui::Answer::No;
    if (failed_)
        return closed;
    if (answers_.empty()) {
        Fail("no answer queued for the question " + script::Quote(OneLine(text)));
        return closed;
    }
    const ui::Answer answer = answers_.front().Value;
    answers_.pop_front();
    if (answer == ui::Answer::Cancel && !withCancel) {
        Fail("the question " + script::Quote(OneLine(text)) + " has no Cancel button");
        return closed;
    }
    Line("question: " + text + " -> " + AnswerWord(answer));
    return answer;
}

void ScriptedDialogs::Message(const std::string &text) {
    Line("message: " + text);
}

bool ScriptedDialogs::FileDialog(ui::FileDialogState &dialog, bool save) {
    if (failed_)
        return false;
    if (files_.empty()) {
        Fail("no file queued for the file dialog " + dialog.Name);
        return false;
    }
    std::optional<std::string> path = std::move(files_.front().Value);
    files_.pop_front();
    Line("file-dialog: " + dialog.Name + " filter=" + std::to_string(dialog.FilterIndex) +
         " proposed=" + script::Quote(dialog.FileName));
    if (!path)
        return false;
    dialog.FileName = save ? WithDefaultExtension(*path, dialog.DefaultExt) : *path;
    return true;
}

bool ScriptedDialogs::OpenFile(ui::FileDialogState &dialog) {
    return FileDialog(dialog, false);
}

bool ScriptedDialogs::SaveFile(ui::FileDialogState &dialog) {
    return FileDialog(dialog, true);
}

ui::SelectorAnswer ScriptedDialogs::SelectWavetable(const std::vector<std::string> &names) {
    if (failed_)
        return {};
    if (selectors_.empty()) {
        Fail("no answer queued for the wavetable selector (" + Joined(names) + ")");
        return {};
    }
    const script::SelectorChoice choice = std::move(selectors_.front().Value);
    selectors_.pop_front();
    ui::SelectorAnswer answer;
    switch (choice.How) {
    case script::SelectorChoice::Kind::Name: {
        const auto found = std::find(names.begin(), names.end(), choice.Name);
        if (found == names.end()) {
            Fail("the wavetable selector offers no " + script::Quote(choice.Name) + " (" +
                 Joined(names) + ")");
            return {};
        }
        answer = {true, static_cast<int>(found - names.begin())};
        break;
    }
    case script::SelectorChoice::Kind::Index:
        if (choice.Index >= static_cast<int>(names.size())) {
            Fail("the wavetable selector has no item #" + std::to_string(choice.Index) + " (" +
                 std::to_string(names.size()) + " names)");
            return {};
        }
        answer = {true, choice.Index};
        break;
    case script::SelectorChoice::Kind::None:
        answer = {true, -1};
        break;
    case script::SelectorChoice::Kind::Cancel:
        answer = {false, -1};
        break;
    }
    Line("selector: " + Joined(names));
    return answer;
}

ui::AudioSetupAnswer ScriptedDialogs::AudioSetup(const ui::AudioSetupChoices &choices) {
    if (failed_)
        return {};
    if (audioSetups_.empty()) {
        Fail("no answer queued for the audio setup (" + Joined(choices.Devices) + ")");
        return {};
    }
    const script::AudioSetupChoice choice = std::move(audioSetups_.front().Value);
    audioSetups_.pop_front();
    ui::AudioSetupAnswer answer;
    answer.Ok = choice.Ok;
    if (choice.Ok) {
        const int deviceCount = static_cast<int>(choices.Devices.size());
        // The device list always has its first entry selected, so "none" is there only when it
        // is empty.
        if (choice.Device == -1 ? deviceCount > 0 : choice.Device >= deviceCount) {
            Fail(choice.Device == -1
                     ? std::string("the audio setup always has a device selected")
                     : "the audio setup has no device #" + std::to_string(choice.Device) + " (" +
                           Joined(choices.Devices) + ")");
            return {};
        }
        answer.Device = choice.Device;
        static const std::vector<std::string> kNoFormats;
        const std::vector<std::string> &formats =
            choice.Device >= 0 && static_cast<std::size_t>(choice.Device) < choices.Formats.size()
                ? choices.Formats[static_cast<std::size_t>(choice.Device)]
                : kNoFormats;
        const int formatCount = static_cast<int>(formats.size());
        switch (choice.Format) {
        case script::AudioSetupChoice::FormatKind::Text: {
            const auto found = std::find(formats.begin(), formats.end(), choice.FormatText);
            if (found == formats.end()) {
                Fail("the audio setup offers no format " + script::Quote(choice.FormatText) + " (" +
                     Joined(formats) + ")");
                return {};
            }
            answer.FormatText = *found;
            break;
        }
        case script::AudioSetupChoice::FormatKind::Index:
            if (choice.FormatIndex >= formatCount) {
                Fail("the audio setup has no format #" + std::to_string(choice.FormatIndex) + " (" +
                     Joined(formats) + ")");
                return {};
            }
            answer.FormatText = formats[static_cast<std::size_t>(choice.FormatIndex)];
            break;
        case script::AudioSetupChoice::FormatKind::None:
            // Nothing can be chosen only while the preselection points past the list.
            if (choices.PreselectedFormat >= 0 && choices.PreselectedFormat < formatCount) {
                Fail("the audio setup has the format " +
                     script::Quote(formats[static_cast<std::size_t>(choices.PreselectedFormat)]) +
                     " selected; choose one");
                return {};
            }
            answer.FormatText.clear();
            break;
        }
    }
    Line("audio-setup: " +
         (choices.Devices.empty() ? std::string(ui::kNoSoundOutputText) : Joined(choices.Devices)));
    return answer;
}

void ScriptedDialogs::ShowHelp(const std::vector<std::string> &lines) {
    for (const auto &line : lines)
        Line("help: " + line);
}

void ScriptedDialogs::ShowUserGuide(const std::string &path) {
    Line("user-guide: " + files::UserGuideTitle(path));
}

ui::ImportAudioAnswer ScriptedDialogs::ImportAudio(const ui::ImportAudioChoices &choices) {
    if (failed_)
        return {};
    if (importAudios_.empty()) {
        Fail("no answer queued for the audio import of " + choices.FileName);
        return {};
    }
    const script::ImportAudioChoice choice = importAudios_.front().Value;
    importAudios_.pop_front();
    std::string line;
    std::string failure;
    const ui::ImportAudioAnswer answer = script::AnswerImportAudio(choices, choice, line, failure);
    if (!failure.empty()) {
        Fail(failure);
        return {};
    }
    Line(line);
    return answer;
}

ui::MidiSetupAnswer ScriptedDialogs::MidiSetup(const ui::MidiSetupChoices &choices) {
    if (failed_)
        return {};
    std::vector<std::string> labels;
    for (const ui::MidiPortEntry &entry : choices.Entries)
        labels.push_back(entry.Label);
    if (midiSetups_.empty()) {
        Fail("no answer queued for the MIDI output (" + Joined(labels) + ")");
        return {};
    }
    const script::MidiSetupChoice choice = std::move(midiSetups_.front().Value);
    midiSetups_.pop_front();
    ui::MidiSetupAnswer answer;
    answer.Ok = choice.Ok;
    answer.PauseMs = choice.PauseMs;
    int chosen = -1;
    switch (choice.How) {
    case script::MidiSetupChoice::PortKind::Name:
        for (std::size_t i = 0; i < choices.Entries.size() && chosen < 0; ++i) {
            if (choices.Entries[i].Port.Name == choice.Name ||
                choices.Entries[i].Label == choice.Name)
                chosen = static_cast<int>(i);
        }
        if (chosen < 0) {
            Fail("the MIDI output offers no port " + script::Quote(choice.Name) + " (" +
                 Joined(labels) + ")");
            return {};
        }
        break;
    case script::MidiSetupChoice::PortKind::Index:
        if (choice.Index >= static_cast<int>(choices.Entries.size())) {
            Fail("the MIDI output has no port #" + std::to_string(choice.Index) + " (" +
                 std::to_string(choices.Entries.size()) + " ports)");
            return {};
        }
        chosen = choice.Index;
        break;
    case script::MidiSetupChoice::PortKind::None:
        break;
    }
    if (chosen >= 0)
        answer.Port = choices.Entries[static_cast<std::size_t>(chosen)].Port;
    // The port list depends on the machine, so only the choice is written.
    Line("midi-setup: " +
         (chosen >= 0 ? script::Quote(choices.Entries[static_cast<std::size_t>(chosen)].Port.Name)
                      : std::string("none")) +
         " " + std::to_string(choice.PauseMs) + " ms -> " + (choice.Ok ? "ok" : "cancel"));
    return answer;
}

void ScriptedDialogs::RunWithProgress(ui::ProgressJob job) {
    std::string last;
    const midi::CancelFlag never;
    if (job.Run)
        job.Run([&last](int, const std::string &text) { last = text; }, never);
    Line("progress: " + job.Title + (last.empty() ? std::string() : ": " + last));
    if (job.Finished)
        job.Finished();
}

} // namespace morvane::script
