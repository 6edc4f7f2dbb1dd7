#include "ui/midi_setup_choices.h"

#include <sstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "script/script_parser.h"
#include "script/scripted_dialogs.h"

namespace morvane::ui {
namespace {

using ::testing::ElementsAre;

const midi::MidiPort kThrough{"alsa", "ALSA", "Midi Through:Midi Through Port-0 14:0"};
const midi::MidiPort kBlofeld{"alsa", "ALSA", "Blofeld:Blofeld MIDI 1 20:0"};
const midi::MidiPort kJack{"jack", "JACK", "system:midi_playback_1"};

std::vector<std::string> Labels(const MidiSetupChoices &choices) {
    std::vector<std::string> labels;
    for (const auto &entry : choices.Entries)
        labels.push_back(entry.Label);
    return labels;
}

TEST(MidiSetupChoicesFor, TheSavedPortIsPreselectedWhereverItIsListed) {
    const midi::MidiPortList list{{kThrough, kBlofeld, kJack}, {}};
    const MidiSetupChoices choices =
        ui::MakeMidiSetupChoices(list, {"alsa", "Blofeld:Blofeld MIDI 1 24:0", 300});
    EXPECT_THAT(Labels(choices),
                ElementsAre("ALSA: Midi Through:Midi Through Port-0 14:0",
                            "ALSA: Blofeld:Blofeld MIDI 1 20:0", "JACK: system:midi_playback_1"));
    EXPECT_EQ(choices.Preselected, 1); // found again with other ALSA numbers
    EXPECT_EQ(choices.PauseMs, 300);
    EXPECT_TRUE(choices.Notes.empty());
}

TEST(MidiSetupChoicesFor, ASavedPortThatIsNotThereStaysAsAnEntryOfItsOwn) {
    const midi::MidiPortList list{{kThrough}, {"JACK: no JACK server is running."}};
    const MidiSetupChoices choices =
        ui::MakeMidiSetupChoices(list, {"alsa", "Blofeld:Blofeld MIDI 1 20:0", 5000});
    EXPECT_THAT(Labels(choices), ElementsAre("ALSA: Midi Through:Midi Through Port-0 14:0",
                                             "ALSA: Blofeld:Blofeld MIDI 1 20:0 (not connected)"));
    ASSERT_EQ(choices.Entries.size(), 2u);
    EXPECT_TRUE(choices.Entries[0].Present);
    EXPECT_FALSE(choices.Entries[1].Present);
    EXPECT_EQ(choices.Entries[1].Port, kBlofeld);
    EXPECT_EQ(choices.Preselected, 1);
    EXPECT_EQ(choices.PauseMs, 2000); // a hand-edited pause brought into range
    EXPECT_THAT(choices.Notes, ElementsAre("JACK: no JACK server is running."));

    // Nothing saved, nothing listed: an empty list and nothing preselected.
    const MidiSetupChoices none = ui::MakeMidiSetupChoices({}, {});
    EXPECT_TRUE(none.Entries.empty());
    EXPECT_EQ(none.Preselected, -1);
    EXPECT_EQ(none.PauseMs, 1000);
}

TEST(MidiSetupChoicesFor, OkKeepsThePortByApiAndNameAndThePauseInRange) {
    MidiSetupAnswer answer;
    answer.Ok = true;
    answer.Port = kJack;
    answer.PauseMs = 10;
    EXPECT_EQ(ui::ApplyMidiSetup(answer),
              (midi::MidiOutputSettings{"jack", "system:midi_playback_1", 20}));
    answer.Port.reset();
    answer.PauseMs = 750;
    EXPECT_EQ(ui::ApplyMidiSetup(answer), (midi::MidiOutputSettings{"", "", 750}));
}

TEST(MidiSetupScriptLine, NamesThePortThePauseAndTheButton) {
    const auto action = script::ParseLine("midisetup \"Blofeld:Blofeld MIDI 1 20:0\" 250 OK");
    ASSERT_TRUE(action);
    EXPECT_EQ(action->Kind, script::ActionKind::MidiSetup);
    EXPECT_EQ(action->Midi.How, script::MidiSetupChoice::PortKind::Name);
    EXPECT_EQ(action->Midi.Name, "Blofeld:Blofeld MIDI 1 20:0");
    EXPECT_EQ(action->Midi.PauseMs, 250);
    EXPECT_TRUE(action->Midi.Ok);

    const auto byIndex = script::ParseLine("midisetup #2 20 cancel");
    ASSERT_TRUE(byIndex);
    EXPECT_EQ(byIndex->Midi.How, script::MidiSetupChoice::PortKind::Index);
    EXPECT_EQ(byIndex->Midi.Index, 2);
    EXPECT_FALSE(byIndex->Midi.Ok);
    EXPECT_EQ(script::ParseLine("midisetup none 2000 ok")->Midi.How,
              script::MidiSetupChoice::PortKind::None);

    for (const char *bad : {"midisetup x 19 ok", "midisetup x 2001 ok", "midisetup x fast ok",
                            "midisetup x 100 maybe", "midisetup x 100", "midisetup x 100 ok y"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(script::ParseLine(bad), script::ScriptError);
    }
}

struct ScriptedMidiSetup : ::testing::Test {
    std::ostringstream out;
    script::ScriptedDialogs dialogs{out};
    MidiSetupChoices choices =
        ui::MakeMidiSetupChoices({{kThrough, kBlofeld}, {}}, {"alsa", "gone:port 1 30:0", 1000});

    void Queue(const std::string &line) {
        dialogs.QueueMidiSetup(script::ParseLine(line)->Midi, 7);
    }
};

TEST_F(ScriptedMidiSetup, AnswersWithTheNamedPortAndWritesOnlyTheChoice) {
    Queue("midisetup \"Blofeld:Blofeld MIDI 1 20:0\" 150 ok");
    const MidiSetupAnswer answer = dialogs.MidiSetup(choices);
    EXPECT_TRUE(answer.Ok);
    EXPECT_EQ(answer.Port, kBlofeld);
    EXPECT_EQ(answer.PauseMs, 150);
    EXPECT_EQ(out.str(), "midi-setup: \"Blofeld:Blofeld MIDI 1 20:0\" 150 ms -> ok\n");

    Queue("midisetup \"ALSA: gone:port 1 30:0 (not connected)\" 40 cancel");
    const MidiSetupAnswer absent = dialogs.MidiSetup(choices);
    EXPECT_FALSE(absent.Ok);
    EXPECT_EQ(absent.Port->Name, "gone:port 1 30:0");

    Queue("midisetup #0 40 ok");
    EXPECT_EQ(dialogs.MidiSetup(choices).Port, kThrough);
    EXPECT_FALSE(dialogs.Failed());
    EXPECT_FALSE(dialogs.FirstLeftover());
}

TEST_F(ScriptedMidiSetup, APortThatIsNotOfferedOrNoAnswerFailsTheRun) {
    Queue("midisetup \"UM-ONE\" 150 ok");
    const MidiSetupAnswer answer = dialogs.MidiSetup(choices);
    EXPECT_FALSE(answer.Ok);
    EXPECT_TRUE(dialogs.Failed());
    EXPECT_THAT(dialogs.Failure(), ::testing::HasSubstr("offers no port \"UM-ONE\""));

    std::ostringstream out2;
    script::ScriptedDialogs fresh(out2);
    EXPECT_FALSE(fresh.MidiSetup(choices).Ok);
    EXPECT_THAT(fresh.Failure(), ::testing::HasSubstr("no answer queued for the MIDI output"));

    script::ScriptedDialogs leftover(out2);
    leftover.QueueMidiSetup(script::ParseLine("midisetup #5 150 ok")->Midi, 12);
    ASSERT_TRUE(leftover.FirstLeftover());
    EXPECT_EQ(leftover.FirstLeftover()->Line, 12);
    EXPECT_EQ(leftover.FirstLeftover()->What, "the MIDI output's answer");
    EXPECT_FALSE(leftover.MidiSetup(choices).Ok); // #5 of two entries
    EXPECT_THAT(leftover.Failure(), ::testing::HasSubstr("no port #5"));
}

TEST_F(ScriptedMidiSetup, AJobRunsToItsEndBeforeTheScriptGoesOn) {
    std::vector<std::string> order;
    ProgressJob job;
    job.Title = "Send wavetable to synth";
    job.Total = 3;
    job.Run = [&](const ProgressJob::Report &report, const midi::CancelFlag &cancel) {
        for (int i = 1; i <= 3; ++i) {
            report(i, midi::ProgressText(i, 3));
            order.push_back("step " + std::to_string(i) + (cancel.Cancelled() ? " cancelled" : ""));
        }
    };
    job.Finished = [&] { order.push_back("finished"); };
    dialogs.RunWithProgress(std::move(job));
    order.push_back("returned");
    EXPECT_THAT(order, ElementsAre("step 1", "step 2", "step 3", "finished", "returned"));
    EXPECT_EQ(out.str(), "progress: Send wavetable to synth: Sending wave 3 of 3\n");
}

TEST(DialogsWithoutExchange, AnswerCancelAndRunJobsAtOnce) {
    struct Bare final : Dialogs {
        Answer Confirm(const std::string &, bool) override { return Answer::No; }
        void Message(const std::string &) override {}
        bool OpenFile(FileDialogState &) override { return false; }
        bool SaveFile(FileDialogState &) override { return false; }
        SelectorAnswer SelectWavetable(const std::vector<std::string> &) override { return {}; }
        AudioSetupAnswer AudioSetup(const AudioSetupChoices &) override { return {}; }
        void ShowHelp(const std::vector<std::string> &) override {}
    } bare;
    EXPECT_FALSE(bare.MidiSetup({}).Ok);
    int steps = 0;
    bool finished = false;
    ProgressJob job;
    job.Run = [&](const ProgressJob::Report &report, const midi::CancelFlag &) {
        report(1, "one");
        ++steps;
    };
    job.Finished = [&] { finished = steps == 1; };
    bare.RunWithProgress(std::move(job));
    EXPECT_TRUE(finished);
}

} // namespace
} // namespace morvane::ui
