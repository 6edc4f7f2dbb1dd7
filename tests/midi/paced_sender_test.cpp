#include "midi/paced_sender.h"

#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/recording_midi_out.h"

namespace morvane::midi {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing_support::FakePaceClock;
using testing_support::RecordingMidiOut;
using namespace std::chrono_literals;

const MidiPort kBlofeld{"alsa", "ALSA", "Blofeld:Blofeld MIDI 1 20:0"};
const MidiPort kThrough{"alsa", "ALSA", "Midi Through:Midi Through Port-0 14:0"};
const MidiPort kJackIn{"jack", "JACK", "receiver:in"};

// n small distinct messages; message i carries i in its only data byte.
MessageList Messages(int n) {
    MessageList messages;
    for (int i = 1; i <= n; ++i)
        messages.push_back({0xF0, static_cast<std::uint8_t>(i), 0xF7});
    return messages;
}

struct SenderFixture : ::testing::Test {
    FakePaceClock clock;
    RecordingMidiOut out{&clock};
    CancelFlag cancel;
    std::vector<std::pair<int, int>> progress;

    SenderFixture() { out.List.Ports = {kThrough, kBlofeld, kJackIn}; }

    SendResult Send(const MessageList &messages, int pauseMs, const std::string &api = "alsa",
                    const std::string &name = kBlofeld.Name) {
        return SendPaced(out, api, name, messages, pauseMs, clock, cancel,
                         [this](int number, int total) { progress.emplace_back(number, total); });
    }
    std::vector<long long> StartTimes() const {
        std::vector<long long> times;
        for (const auto &m : out.Sent)
            times.push_back(FakePaceClock::Ms(m.Start));
        return times;
    }
};

TEST_F(SenderFixture, SendsEveryMessageInOrderWithThePauseBetweenTheEndOfOneAndTheNext) {
    out.SendDuration = 7ms;
    const SendResult result = Send(Messages(4), 100);

    EXPECT_TRUE(result.Complete());
    EXPECT_EQ(result.Sent, 4);
    EXPECT_EQ(result.Total, 4);
    EXPECT_EQ(result.PortName, kBlofeld.Name);
    ASSERT_EQ(out.Sent.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(out.Sent[static_cast<std::size_t>(i)].Bytes,
                  (std::vector<std::uint8_t>{0xF0, static_cast<std::uint8_t>(i + 1), 0xF7}));
    }
    // The first goes at once; each later one 100 ms after the previous send returned.
    EXPECT_THAT(StartTimes(), ElementsAre(0, 107, 214, 321));
    // No pause after the last message.
    EXPECT_EQ(clock.Waits.size(), 3u);
    EXPECT_THAT(out.Log, ElementsAre("ports", "open alsa " + kBlofeld.Name, "send 1", "send 2",
                                     "send 3", "send 4", "close"));
    EXPECT_THAT(progress,
                ElementsAre(std::pair(1, 4), std::pair(2, 4), std::pair(3, 4), std::pair(4, 4)));
    EXPECT_FALSE(out.IsOpen);
}

TEST_F(SenderFixture, ThePauseIsKeptWithinTwentyToTwoThousandMilliseconds) {
    Send(Messages(3), 5);
    EXPECT_THAT(StartTimes(), ElementsAre(0, 20, 40));

    out.Sent.clear();
    clock.Waits.clear();
    const long long start = FakePaceClock::Ms(clock.Now());
    Send(Messages(2), 5000);
    ASSERT_EQ(out.Sent.size(), 2u);
    EXPECT_EQ(FakePaceClock::Ms(out.Sent[1].Start) - start, 2000);

    EXPECT_EQ(ClampPause(19), 20);
    EXPECT_EQ(ClampPause(20), 20);
    EXPECT_EQ(ClampPause(2000), 2000);
    EXPECT_EQ(ClampPause(2001), 2000);
    EXPECT_EQ(ClampPause(-5), 20);
}

TEST_F(SenderFixture, CancelDuringAPauseStopsBeforeTheNextMessage) {
    clock.OnWait = [this](int waitNumber) {
        if (waitNumber == 3)
            cancel.Cancel(); // in the pause after message 3
    };
    const SendResult result = Send(Messages(64), 1000);

    EXPECT_TRUE(result.Cancelled);
    EXPECT_TRUE(result.Error.empty());
    EXPECT_FALSE(result.Complete());
    EXPECT_EQ(result.Sent, 3);
    EXPECT_EQ(out.Sent.size(), 3u);
    EXPECT_EQ(out.Log.back(), "close");
    EXPECT_EQ(SentCountText(result), "3 of 64 waves were sent.");
}

TEST_F(SenderFixture, CancelWhileAMessageIsInFlightLetsThatMessageFinish) {
    out.OnSend = [this](int number) {
        if (number == 5)
            cancel.Cancel();
    };
    const SendResult result = Send(Messages(10), 50);
    EXPECT_TRUE(result.Cancelled);
    EXPECT_EQ(result.Sent, 5);
    ASSERT_EQ(out.Sent.size(), 5u);
    EXPECT_EQ(out.Sent[4].Bytes[1], 5);
    EXPECT_EQ(out.Log.back(), "close");
}

TEST_F(SenderFixture, CancelDuringTheLastMessageStillCountsAsComplete) {
    out.OnSend = [this](int number) {
        if (number == 3)
            cancel.Cancel();
    };
    const SendResult result = Send(Messages(3), 50);
    EXPECT_FALSE(result.Cancelled);
    EXPECT_TRUE(result.Complete());
}

TEST_F(SenderFixture, ACancelBeforeTheStartSendsNothing) {
    cancel.Cancel();
    const SendResult result = Send(Messages(3), 50);
    EXPECT_TRUE(result.Cancelled);
    EXPECT_EQ(result.Sent, 0);
    EXPECT_TRUE(out.Sent.empty());
    EXPECT_EQ(out.Log.back(), "close");
}

TEST_F(SenderFixture, APortThatIsNotListedIsReportedAndNothingIsOpened) {
    const SendResult result = Send(Messages(3), 50, "alsa", "Blofeld:Blofeld MIDI 2 20:1");
    EXPECT_FALSE(result.Complete());
    EXPECT_EQ(result.Sent, 0);
    EXPECT_THAT(result.Error, HasSubstr("\"Blofeld:Blofeld MIDI 2 20:1\" is not available"));
    EXPECT_THAT(out.Log, ElementsAre("ports"));
    EXPECT_EQ(SentCountText(result), "0 of 3 waves were sent.");
}

TEST_F(SenderFixture, APortThatVanishesMidwayEndsTheSendWithTheCountBeforeIt) {
    out.FailAt = 5;
    const SendResult result = Send(Messages(64), 20);
    EXPECT_EQ(result.Sent, 4);
    EXPECT_EQ(result.Error, "The port went away.");
    EXPECT_FALSE(result.Cancelled);
    EXPECT_EQ(out.Log.back(), "close");
    EXPECT_FALSE(out.IsOpen);
    EXPECT_EQ(SentCountText(result), "4 of 64 waves were sent.");
}

TEST_F(SenderFixture, AnOpenErrorIsReportedWithNothingSent) {
    out.OpenError = "MidiOutAlsa::openPort: ALSA error making port connection.";
    const SendResult result = Send(Messages(2), 20);
    EXPECT_EQ(result.Error, out.OpenError);
    EXPECT_EQ(result.Sent, 0);
    EXPECT_TRUE(out.Sent.empty());
}

TEST_F(SenderFixture, ThePortIsFoundAgainWhenItsAlsaNumbersChanged) {
    const SendResult result = Send(Messages(1), 20, "alsa", "Blofeld:Blofeld MIDI 1 24:0");
    EXPECT_TRUE(result.Complete());
    EXPECT_EQ(result.PortName, kBlofeld.Name);
    EXPECT_EQ(out.Log[1], "open alsa " + kBlofeld.Name);
}

TEST(ProgressTexts, ReadAsTheDialogShowsThem) {
    EXPECT_EQ(ProgressText(1, 64), "Sending wave 1 of 64");
    EXPECT_EQ(ProgressText(64, 64), "Sending wave 64 of 64");
    SendResult one;
    one.Total = 1;
    EXPECT_EQ(SentCountText(one), "0 of 1 wave was sent.");
}

TEST(FindPortRules, MatchByApiAndNameThenWithoutTheAlsaAddress) {
    const std::vector<MidiPort> ports = {kThrough, kBlofeld, kJackIn};
    EXPECT_EQ(FindPort(ports, "alsa", kBlofeld.Name), kBlofeld);
    EXPECT_EQ(FindPort(ports, "alsa", "Blofeld:Blofeld MIDI 1 28:0"), kBlofeld);
    EXPECT_EQ(FindPort(ports, "alsa", "Blofeld:Blofeld MIDI 1"), kBlofeld);
    EXPECT_EQ(FindPort(ports, "jack", kBlofeld.Name), std::nullopt); // not under another API
    EXPECT_EQ(FindPort(ports, "", "receiver:in"), kJackIn);          // no API: any
    EXPECT_EQ(FindPort(ports, "alsa", "Blofeld"), std::nullopt);
    EXPECT_EQ(FindPort({}, "alsa", kBlofeld.Name), std::nullopt);
    // The exact name wins over a port that only matches without its numbers.
    const MidiPort second{"alsa", "ALSA", "Blofeld:Blofeld MIDI 1 24:0"};
    EXPECT_EQ(FindPort({kBlofeld, second}, "alsa", second.Name), second);
}

TEST(FindPortRules, OnlyATrailingBlankClientColonPortIsAnAlsaAddress) {
    EXPECT_EQ(WithoutAlsaAddress("Blofeld:Blofeld MIDI 1 20:0"), "Blofeld:Blofeld MIDI 1");
    EXPECT_EQ(WithoutAlsaAddress("X 128:15"), "X");
    EXPECT_EQ(WithoutAlsaAddress("receiver:in"), "receiver:in");
    EXPECT_EQ(WithoutAlsaAddress("system:midi_playback_1"), "system:midi_playback_1");
    EXPECT_EQ(WithoutAlsaAddress("Port 20:"), "Port 20:");
    EXPECT_EQ(WithoutAlsaAddress("Port :0"), "Port :0");
    EXPECT_EQ(WithoutAlsaAddress("20:0"), "20:0");
    EXPECT_EQ(WithoutAlsaAddress(" 20:0"), "");
    EXPECT_EQ(WithoutAlsaAddress("Port20:0"), "Port20:0");
    EXPECT_EQ(WithoutAlsaAddress(""), "");
    EXPECT_EQ(PortLabel(kBlofeld), "ALSA: Blofeld:Blofeld MIDI 1 20:0");
    EXPECT_EQ(PortLabel(MidiPort{"", "", "bare"}), "bare");
}

TEST(CancelFlagWaits, ARaisedFlagWakesAWaiterOnAnotherThread) {
    CancelFlag flag;
    EXPECT_FALSE(flag.Cancelled());
    // A deadline already passed is reached at once.
    EXPECT_TRUE(flag.WaitUntil(std::chrono::steady_clock::now() - 1ms));
    bool reached = true;
    std::thread waiter([&] { reached = flag.WaitUntil(std::chrono::steady_clock::now() + 600s); });
    std::this_thread::sleep_for(10ms);
    flag.Cancel();
    waiter.join();
    EXPECT_FALSE(reached);
    EXPECT_TRUE(flag.Cancelled());
    EXPECT_FALSE(flag.WaitUntil(std::chrono::steady_clock::now() + 600s));
}

} // namespace
} // namespace morvane::midi
