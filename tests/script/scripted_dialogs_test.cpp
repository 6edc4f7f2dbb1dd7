#include "script/scripted_dialogs.h"

#include <sstream>

#include <gtest/gtest.h>

namespace morvane::script {
namespace {

script::SelectorChoice Choose(const std::string &word) {
    return script::ParseLine("choose " + script::Quote(word))->Selector;
}

script::AudioSetupChoice AudioChoice(const std::string &words) {
    return script::ParseLine("audiosetup " + words)->Audio;
}

TEST(ScriptedDialogs, ConfirmationsTakeTheQueuedAnswersInOrder) {
    std::ostringstream out;
    ScriptedDialogs dialogs(out);
    dialogs.QueueAnswer(ui::Answer::Yes, 3);
    dialogs.QueueAnswer(ui::Answer::Cancel, 4);
    EXPECT_EQ(dialogs.Confirm("Overwrite ?", false), ui::Answer::Yes);
    EXPECT_EQ(dialogs.Confirm("Do you want to save wavetables ?", true), ui::Answer::Cancel);
    dialogs.Message("Add 21 bit overflow");
    EXPECT_EQ(out.str(), "question: Overwrite ? -> yes\n"
                         "question: Do you want to save wavetables ? -> cancel\n"
                         "message: Add 21 bit overflow\n");
    EXPECT_FALSE(dialogs.Failed());
    EXPECT_FALSE(dialogs.FirstLeftover());
}

TEST(ScriptedDialogs, AnUnansweredBoxFailsClosesAndSilencesTheRest) {
    std::ostringstream out;
    ScriptedDialogs dialogs(out);
    EXPECT_EQ(dialogs.Confirm("Do you want to save wavetables ?", true), ui::Answer::Cancel);
    ASSERT_TRUE(dialogs.Failed());
    EXPECT_EQ(dialogs.Failure(),
              "no answer queued for the question \"Do you want to save wavetables ?\"");
    // After the failure nothing more is written and nothing more is chosen.
    dialogs.QueueAnswer(ui::Answer::Yes, 9);
    EXPECT_EQ(dialogs.Confirm("Overwrite ?", false), ui::Answer::No);
    dialogs.Message("late");
    EXPECT_EQ(out.str(), "");
    dialogs.Fail("second failure");
    EXPECT_EQ(dialogs.Failure(),
              "no answer queued for the question \"Do you want to save wavetables ?\"");
}

TEST(ScriptedDialogs, CancelOnABoxWithoutCancelIsAFailure) {
    std::ostringstream out;
    ScriptedDialogs dialogs(out);
    dialogs.QueueAnswer(ui::Answer::Cancel, 1);
    EXPECT_EQ(dialogs.Confirm("Overwrite ?", false), ui::Answer::No);
    EXPECT_TRUE(dialogs.Failed());
    EXPECT_EQ(dialogs.Failure(), "the question \"Overwrite ?\" has no Cancel button");
    EXPECT_EQ(out.str(), "");
}

TEST(ScriptedDialogs, FileDialogsReportAndAnswer) {
    std::ostringstream out;
    ScriptedDialogs dialogs(out);
    dialogs.QueueFile(std::string("tables/pad"), 1);
    dialogs.QueueFile(std::nullopt, 2);
    dialogs.QueueFile(std::string("in.syx"), 3);
    dialogs.QueueFile(std::string("b.x.d/name"), 4);
    ui::FileDialogState save{"SaveDialog1", "System Exclusive Files|*.syx|Midi files|*.mid", 2,
                             "syx", "say \"x\""};
    ASSERT_TRUE(dialogs.SaveFile(save));
    // The save dialog adds its default extension to a name without one.
    EXPECT_EQ(save.FileName, "tables/pad.syx");
    save.FileName = "kept";
    EXPECT_FALSE(dialogs.SaveFile(save));
    EXPECT_EQ(save.FileName, "kept");
    ui::FileDialogState open{"OpenDialog1", "System Exclusive Files|*.syx", 1, "", ""};
    ASSERT_TRUE(dialogs.OpenFile(open));
    EXPECT_EQ(open.FileName, "in.syx");
    ASSERT_TRUE(dialogs.SaveFile(save));
    EXPECT_EQ(save.FileName, "b.x.d/name.syx"); // a dot in a folder is no extension
    EXPECT_EQ(out.str(), "file-dialog: SaveDialog1 filter=2 proposed=\"say \\\"x\\\"\"\n"
                         "file-dialog: SaveDialog1 filter=2 proposed=\"kept\"\n"
                         "file-dialog: OpenDialog1 filter=1 proposed=\"\"\n"
                         "file-dialog: SaveDialog1 filter=2 proposed=\"kept\"\n");
    EXPECT_FALSE(dialogs.OpenFile(open));
    EXPECT_EQ(dialogs.Failure(), "no file queued for the file dialog OpenDialog1");
}

TEST(ScriptedDialogs, SelectorByNameIndexNoneAndCancel) {
    std::ostringstream out;
    ScriptedDialogs dialogs(out);
    const std::vector<std::string> names{"Pad", "Soft Bell", "Pad2"};
    dialogs.QueueSelector(Choose("Soft Bell"), 1);
    dialogs.QueueSelector(Choose("#2"), 2);
    dialogs.QueueSelector(Choose("none"), 3);
    dialogs.QueueSelector(Choose("cancel"), 4);
    auto a = dialogs.SelectWavetable(names);
    EXPECT_TRUE(a.Ok);
    EXPECT_EQ(a.Index, 1);
    a = dialogs.SelectWavetable(names);
    EXPECT_TRUE(a.Ok);
    EXPECT_EQ(a.Index, 2);
    a = dialogs.SelectWavetable(names);
    EXPECT_TRUE(a.Ok);
    EXPECT_EQ(a.Index, -1);
    a = dialogs.SelectWavetable(names);
    EXPECT_FALSE(a.Ok);
    EXPECT_FALSE(dialogs.Failed());
    const std::string line = "selector: Pad | Soft Bell | Pad2\n";
    EXPECT_EQ(out.str(), line + line + line + line);
}

TEST(ScriptedDialogs, SelectorRefusesWhatItDoesNotOffer) {
    for (const std::string word : {"Bell", "#3"}) {
        SCOPED_TRACE(word);
        std::ostringstream out;
        ScriptedDialogs dialogs(out);
        dialogs.QueueSelector(Choose(word), 1);
        EXPECT_FALSE(dialogs.SelectWavetable({"Pad", "Soft Bell", "Pad2"}).Ok);
        EXPECT_TRUE(dialogs.Failed());
        EXPECT_EQ(out.str(), "");
    }
}

ui::AudioSetupChoices TwoDevices() {
    ui::AudioSetupChoices choices;
    choices.Devices = {"Null output", "Second"};
    choices.Formats = {
        {"11.025 kHz, mono", "22.05 kHz, mono", "44.1 kHz, mono", "44.1 kHz, stereo"},
        {"48 kHz, stereo"}};
    choices.PreselectedFormat = 3;
    return choices;
}

TEST(ScriptedDialogs, AudioSetupAnswers) {
    std::ostringstream out;
    ScriptedDialogs dialogs(out);
    dialogs.QueueAudioSetup(AudioChoice("0 \"22.05 kHz, mono\" ok"), 1);
    dialogs.QueueAudioSetup(AudioChoice("1 #0 ok"), 2);
    dialogs.QueueAudioSetup(AudioChoice("1 none ok"), 3); // preselection 3 is past device 1's list
    dialogs.QueueAudioSetup(AudioChoice("7 nonsense cancel"), 4);
    auto a = dialogs.AudioSetup(TwoDevices());
    EXPECT_TRUE(a.Ok);
    EXPECT_EQ(a.Device, 0);
    EXPECT_EQ(a.FormatText, "22.05 kHz, mono");
    a = dialogs.AudioSetup(TwoDevices());
    EXPECT_EQ(a.Device, 1);
    EXPECT_EQ(a.FormatText, "48 kHz, stereo");
    a = dialogs.AudioSetup(TwoDevices());
    EXPECT_TRUE(a.Ok);
    EXPECT_EQ(a.Device, 1);
    EXPECT_EQ(a.FormatText, "");
    // Cancel is always possible, whatever the other words say.
    EXPECT_FALSE(dialogs.AudioSetup(TwoDevices()).Ok);
    EXPECT_FALSE(dialogs.Failed());
    EXPECT_EQ(out.str(), "audio-setup: Null output | Second\n"
                         "audio-setup: Null output | Second\n"
                         "audio-setup: Null output | Second\n"
                         "audio-setup: Null output | Second\n");
}

TEST(ScriptedDialogs, AudioSetupRefusesWhatItDoesNotOffer) {
    ui::AudioSetupChoices empty;
    for (const auto &[words, choices] : std::vector<std::pair<std::string, ui::AudioSetupChoices>>{
             {"2 #0 ok", TwoDevices()},
             {"none none ok", TwoDevices()},
             {"0 \"48 kHz, stereo\" ok", TwoDevices()},
             {"0 #4 ok", TwoDevices()},
             {"0 none ok", TwoDevices()}, // "44.1 kHz, stereo" is preselected
             {"0 none ok", empty}}) {
        SCOPED_TRACE(words);
        std::ostringstream out;
        ScriptedDialogs dialogs(out);
        dialogs.QueueAudioSetup(AudioChoice(words), 1);
        EXPECT_FALSE(dialogs.AudioSetup(choices).Ok);
        EXPECT_TRUE(dialogs.Failed());
        EXPECT_EQ(out.str(), "");
    }
    // With no device at all, nothing is selected and OK stores none.
    std::ostringstream out;
    ScriptedDialogs dialogs(out);
    dialogs.QueueAudioSetup(AudioChoice("none none ok"), 1);
    const auto a = dialogs.AudioSetup(empty);
    EXPECT_TRUE(a.Ok);
    EXPECT_EQ(a.Device, -1);
    EXPECT_FALSE(dialogs.Failed());
}

TEST(ScriptedDialogs, LeftoversNameTheEarliestLine) {
    std::ostringstream out;
    ScriptedDialogs dialogs(out);
    dialogs.QueueFile(std::string("a.syx"), 7);
    dialogs.QueueAnswer(ui::Answer::No, 5);
    dialogs.QueueSelector(Choose("none"), 9);
    auto left = dialogs.FirstLeftover();
    ASSERT_TRUE(left);
    EXPECT_EQ(left->Line, 5);
    EXPECT_EQ(left->What, "the answer no");
    EXPECT_EQ(dialogs.Confirm("Overwrite ?", false), ui::Answer::No);
    left = dialogs.FirstLeftover();
    EXPECT_EQ(left->Line, 7);
    EXPECT_EQ(left->What, "the file \"a.syx\"");
}

TEST(ScriptedDialogs, HelpAndMultiLineTextsStayOneLineEach) {
    std::ostringstream out;
    ScriptedDialogs dialogs(out);
    dialogs.ShowHelp({"Shortcuts:", " - Motionpath"});
    dialogs.Message("two\nlines");
    EXPECT_EQ(out.str(), "help: Shortcuts:\nhelp:  - Motionpath\nmessage: two\\nlines\n");
}

} // namespace
} // namespace morvane::script
