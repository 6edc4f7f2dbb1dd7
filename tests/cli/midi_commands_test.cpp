#include "cli/midi_commands.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/recording_midi_out.h"
#include "support/temp_folder.h"

namespace morvane::cli {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing_support::FakePaceClock;
using testing_support::RecordingMidiOut;
using Bytes = std::vector<std::uint8_t>;

const midi::MidiPort kBlofeld{"alsa", "ALSA", "Blofeld:Blofeld MIDI 1 20:0"};
const midi::MidiPort kReceiver{"jack", "JACK", "receiver:in"};

struct MidiCommandFixture : ::testing::Test {
    testing_support::TempFolder folder;
    FakePaceClock clock;
    RecordingMidiOut out{&clock};
    midi::CancelFlag cancel;
    std::ostringstream output;
    std::ostringstream errors;
    midi::MidiOutputSettings saved{"alsa", "Blofeld:Blofeld MIDI 1 20:0", 300};
    const Bytes first{0xF0, 0x3E, 0x13, 0x00, 0x12, 0x50, 0x00, 0x01, 0xF7};
    const Bytes second{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};

    MidiCommandFixture() { out.List.Ports = {kBlofeld, kReceiver}; }

    std::string File(const Bytes &bytes, const std::string &name = "table.syx") {
        const std::filesystem::path path = folder / name;
        std::ofstream file(path, std::ios::binary);
        file.write(reinterpret_cast<const char *>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }
    std::string TwoMessages() {
        Bytes bytes = {0x00, 0x90}; // bytes before the first message are skipped
        bytes.insert(bytes.end(), first.begin(), first.end());
        bytes.push_back(0x42);
        bytes.insert(bytes.end(), second.begin(), second.end());
        return File(bytes);
    }
    int Send(const std::vector<std::string> &args) {
        return RunSend(args, out, saved, clock, cancel, output, errors);
    }
    std::vector<long long> StartTimes() const {
        std::vector<long long> times;
        for (const auto &m : out.Sent)
            times.push_back(FakePaceClock::Ms(m.Start));
        return times;
    }
};

TEST_F(MidiCommandFixture, SendsTheFilesMessagesToTheSavedPortWithTheSavedPause) {
    EXPECT_EQ(Send({TwoMessages()}), 0) << errors.str();
    ASSERT_EQ(out.Sent.size(), 2u);
    EXPECT_EQ(out.Sent[0].Bytes, first);
    EXPECT_EQ(out.Sent[1].Bytes, second);
    EXPECT_THAT(StartTimes(), ElementsAre(0, 300));
    EXPECT_EQ(out.Log[1], "open alsa Blofeld:Blofeld MIDI 1 20:0");
    EXPECT_EQ(output.str(), "Sending message 1 of 2 (9 bytes)\n"
                            "Sending message 2 of 2 (6 bytes)\n"
                            "2 of 2 messages were sent to \"Blofeld:Blofeld MIDI 1 20:0\".\n");
    EXPECT_EQ(errors.str(), "");
}

TEST_F(MidiCommandFixture, PortAndPauseOnTheCommandLineWin) {
    EXPECT_EQ(Send({"--port", "receiver:in", TwoMessages(), "--pause", "20"}), 0) << errors.str();
    EXPECT_THAT(out.Log, ::testing::Contains("open jack receiver:in"));
    EXPECT_THAT(StartTimes(), ElementsAre(0, 20));

    // The line "ports" prints names the port too.
    out.Log.clear();
    EXPECT_EQ(Send({TwoMessages(), "--port", "JACK: receiver:in", "--pause", "2000"}), 0);
    EXPECT_THAT(out.Log, ::testing::Contains("open jack receiver:in"));
    ASSERT_EQ(out.Sent.size(), 4u);
    EXPECT_EQ(FakePaceClock::Ms(out.Sent[3].Start) - FakePaceClock::Ms(out.Sent[2].Start), 2000);
}

TEST_F(MidiCommandFixture, WrongWordsAreUsageErrors) {
    const std::string file = TwoMessages();
    for (const std::vector<std::string> &args :
         std::vector<std::vector<std::string>>{{},
                                               {file, file},
                                               {file, "--pause"},
                                               {file, "--pause", "19"},
                                               {file, "--pause", "2001"},
                                               {file, "--pause", "fast"},
                                               {file, "--port"},
                                               {file, "--port", ""},
                                               {file, "--speed", "1"}}) {
        SCOPED_TRACE(::testing::PrintToString(args));
        errors.str("");
        EXPECT_EQ(Send(args), 2);
        EXPECT_THAT(errors.str(), HasSubstr("usage: morvane-cli send FILE.syx"));
    }
    EXPECT_TRUE(out.Sent.empty());
}

TEST_F(MidiCommandFixture, NoPortChosenAndNoneGivenSaysHowToChooseOne) {
    saved = {};
    EXPECT_EQ(Send({TwoMessages()}), 2);
    EXPECT_THAT(errors.str(), HasSubstr("no MIDI output port is chosen; give one with --port"));
    EXPECT_TRUE(out.Log.empty());
}

TEST_F(MidiCommandFixture, APortThatIsNotThereEndsWithStatusOne) {
    EXPECT_EQ(Send({TwoMessages(), "--port", "UM-ONE"}), 1);
    EXPECT_EQ(errors.str(), "morvane-cli send: there is no MIDI output port \"UM-ONE\"; "
                            "morvane-cli ports lists them.\n");

    errors.str("");
    out.List.Ports = {kReceiver}; // the saved one is switched off
    EXPECT_EQ(Send({TwoMessages()}), 1);
    EXPECT_THAT(errors.str(), HasSubstr("\"Blofeld:Blofeld MIDI 1 20:0\" is not available"));
    EXPECT_THAT(errors.str(), HasSubstr("0 of 2 messages were sent"));
    EXPECT_TRUE(out.Sent.empty());
}

TEST_F(MidiCommandFixture, AFileThatCannotGoOutIsRefusedBeforeAnythingIsSent) {
    EXPECT_EQ(Send({(folder / "missing.syx").string()}), 1);
    EXPECT_THAT(errors.str(), HasSubstr("missing.syx"));

    errors.str("");
    EXPECT_EQ(Send({File({0x90, 0x40, 0x7F}, "notes.syx")}), 1);
    EXPECT_EQ(errors.str(), "morvane-cli send: The file holds no System Exclusive message.\n");

    errors.str("");
    EXPECT_EQ(Send({File({0xF0, 0x01, 0xF7, 0xF0, 0x02, 0x03}, "cut.syx")}), 1);
    EXPECT_EQ(errors.str(), "morvane-cli send: The file ends inside Message 2 (no F7).\n");
    EXPECT_TRUE(out.Log.empty());
}

TEST_F(MidiCommandFixture, APortThatGoesAwayMidwayTellsHowManyWereSent) {
    out.FailAt = 2;
    EXPECT_EQ(Send({TwoMessages()}), 1);
    EXPECT_EQ(errors.str(), "morvane-cli send: The port went away. 1 of 2 messages were sent "
                            "to \"Blofeld:Blofeld MIDI 1 20:0\".\n");
}

TEST_F(MidiCommandFixture, AnInterruptStopsAfterTheMessageInFlight) {
    out.OnSend = [this](int) { cancel.Cancel(); };
    EXPECT_EQ(Send({TwoMessages()}), 1);
    EXPECT_EQ(out.Sent.size(), 1u);
    EXPECT_EQ(errors.str(), "morvane-cli send: interrupted. 1 of 2 messages were sent to "
                            "\"Blofeld:Blofeld MIDI 1 20:0\".\n");
}

TEST_F(MidiCommandFixture, PortsListsEveryPortAndMarksTheChosenOne) {
    out.List.Unavailable = {"JACK: no JACK server is running."};
    EXPECT_EQ(RunPorts({}, out, saved, output, errors), 0);
    EXPECT_EQ(output.str(), "ALSA: Blofeld:Blofeld MIDI 1 20:0  (chosen)\n"
                            "JACK: receiver:in\n");
    EXPECT_EQ(errors.str(), "JACK: no JACK server is running.\n");

    output.str("");
    errors.str("");
    out.List = {};
    EXPECT_EQ(RunPorts({}, out, saved, output, errors), 0);
    EXPECT_EQ(output.str(), "");
    EXPECT_EQ(errors.str(), "No MIDI output port found.\n");

    EXPECT_EQ(RunPorts({"extra"}, out, saved, output, errors), 2);
}

} // namespace
} // namespace morvane::cli
