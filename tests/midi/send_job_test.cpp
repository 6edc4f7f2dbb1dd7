#include "midi/send_job.h"

#include <memory>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "recording_midi_out.h"

namespace morvane::midi {
namespace {

using ::testing::ElementsAre;
using ::testing::Pair;
using testing::RecordingMidiOut;

const MidiPort kBlofeld{"alsa", "ALSA", "Blofeld:Blofeld MIDI 1 20:0"};

struct SendJobFixture : ::testing::Test {
    MidiOutputSettings settings{"alsa", kBlofeld.Name, kMinPauseMs};
    MessageList messages{{0xF0, 0x01, 0xF7}, {0xF0, 0x02, 0xF7}};
    std::vector<std::pair<int, std::string>> reports;
    std::vector<int> sent;
    int made = 0;

    MidiOutFactory Blofeld() {
        return [this] {
            ++made;
            auto out = std::make_unique<RecordingMidiOut>();
            out->List.Ports = {kBlofeld};
            out->OnSend = [this](int number) { sent.push_back(number); };
            return std::unique_ptr<MidiOut>(std::move(out));
        };
    }
    SendResult Run(const MidiOutFactory &makeOut, const CancelFlag &cancel) {
        return RunSendJob(
            makeOut, settings, messages, cancel,
            [this](int step, const std::string &text) { reports.emplace_back(step, text); });
    }
};

TEST_F(SendJobFixture, MakesOneOutputAndReportsEveryWaveBeforeItGoesOut) {
    const CancelFlag cancel;
    const SendResult result = Run(Blofeld(), cancel);
    EXPECT_TRUE(result.Complete());
    EXPECT_EQ(result.PortName, kBlofeld.Name);
    EXPECT_EQ(made, 1);
    EXPECT_THAT(sent, ElementsAre(1, 2));
    EXPECT_THAT(reports,
                ElementsAre(Pair(1, "Sending wave 1 of 2"), Pair(2, "Sending wave 2 of 2")));
}

TEST_F(SendJobFixture, AnOutputThatCannotBeMadeEndsInTheResultWithNothingSent) {
    const CancelFlag cancel;
    const SendResult result = Run(
        []() -> std::unique_ptr<MidiOut> { throw Error("The MIDI system could not be asked."); },
        cancel);
    EXPECT_EQ(result.Error, "The MIDI system could not be asked.");
    EXPECT_EQ(result.Sent, 0);
    EXPECT_EQ(result.Total, 2);
    EXPECT_FALSE(result.Complete());
    EXPECT_TRUE(reports.empty());
}

TEST_F(SendJobFixture, ARaisedFlagSendsNothing) {
    CancelFlag cancel;
    cancel.Cancel();
    const SendResult result = Run(Blofeld(), cancel);
    EXPECT_TRUE(result.Cancelled);
    EXPECT_EQ(result.Sent, 0);
    EXPECT_TRUE(sent.empty());
}

} // namespace
} // namespace morvane::midi
