// Sends wavetables through RtMidi's JACK output to a JACK client of the test's own, on a
// private jackd with the dummy driver: what arrives must be the ".syx" save byte for byte,
// message by message, in order and paced.

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "document/wave_message.h"
#include "files/syx_file.h"
#include "midi/paced_sender.h"
#include "midi/rtmidi/rtmidi_out.h"
#include "midi/sysex_messages.h"
#include "support/file_contents.h"
#include "support/jack_harness.h"
#include "support/temp_folder.h"

namespace morvane::midi {
namespace {

using namespace std::chrono_literals;
using testing_support::JackServer;
using testing_support::MidiReceiver;
using Bytes = std::vector<std::uint8_t>;

// How much earlier than the pause a message may arrive: the receiver notes the time of the
// process cycle that carried it, so its own and the sender's wake-ups, each up to about a cycle
// (5.8 ms) late on a busy machine, can bring two arrivals closer than the sender spaced them.
constexpr auto kJitter = 40ms;

// A table whose 64 waves all differ, so that a lost, doubled or swapped message shows.
Wavetable DistinctTable() {
    Wavetable table;
    FillNewWavetable(table, 17);
    for (int w = 0; w < kWaveCount; ++w) {
        for (int k = 0; k < kSampleCount; ++k)
            WriteSample(table, w, k, (w * 8191 + k * 977) % 2000001 - 1000000);
    }
    return table;
}

struct JackSendFixture : ::testing::Test {
    JackServer server;
    MidiReceiver receiver;
    testing_support::TempFolder folder;

    void SetUp() override {
        if (testing_support::kUnderThreadSanitizer)
            GTEST_SKIP() << testing_support::kThreadSanitizerSkipReason;
        std::string reason;
        if (!server.Start(reason))
            GTEST_SKIP() << "no JACK server could be started: " << reason;
        if (!receiver.Open(reason))
            GTEST_SKIP() << reason;
    }
    void TearDown() override { receiver.Close(); }

    // The ".syx" file the editor's save writes for the request, on a copy of the table.
    Bytes SavedSyx(const Wavetable &table, const files::SyxSaveRequest &request) {
        Wavetable copy = table;
        const std::filesystem::path path = folder / "saved.syx";
        files::SaveWavetableToFile(path.string(), copy, request);
        return testing_support::ReadAll(path);
    }

    // Waits until `count` events came in, or a few seconds went by.
    std::vector<MidiReceiver::Event> Received(std::size_t count) {
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (receiver.Count() < count && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(5ms);
        std::this_thread::sleep_for(50ms); // anything beyond `count` too
        return receiver.Events();
    }

    SendResult Send(const MessageList &messages, int pauseMs, const CancelFlag &cancel,
                    const ProgressCallback &progress = {}) {
        const std::unique_ptr<MidiOut> out = CreateRtMidiOut();
        SystemPaceClock clock;
        return SendPaced(*out, "jack", receiver.PortName(), messages, pauseMs, clock, cancel,
                         progress);
    }
};

Bytes Joined(const std::vector<MidiReceiver::Event> &events) {
    Bytes all;
    for (const auto &e : events)
        all.insert(all.end(), e.Bytes.begin(), e.Bytes.end());
    return all;
}

TEST_F(JackSendFixture, TheReceiversPortIsListedUnderJack) {
    const MidiPortList list = CreateRtMidiOut()->Ports();
    EXPECT_THAT(list.Ports, ::testing::Contains(MidiPort{"jack", "JACK", "morvane-receiver:in"}));
}

TEST_F(JackSendFixture, AWholeTableArrivesAs64IntactMessagesInOrderAndPaced) {
    const Wavetable table = DistinctTable();
    const files::SyxSaveRequest request{1, 64, "JACK test", 93};
    const Bytes saved = SavedSyx(table, request);
    ASSERT_EQ(saved.size(), 26240u);
    constexpr int kPauseMs = 100;

    CancelFlag cancel;
    std::vector<int> progress;
    const SendResult result = Send(StampedSelection(table, request), kPauseMs, cancel,
                                   [&](int number, int) { progress.push_back(number); });
    ASSERT_TRUE(result.Complete()) << result.Error;
    EXPECT_EQ(result.Sent, 64);
    ASSERT_EQ(progress.size(), 64u);
    EXPECT_EQ(progress.front(), 1);
    EXPECT_EQ(progress.back(), 64);

    const std::vector<MidiReceiver::Event> events = Received(64);
    ASSERT_EQ(events.size(), 64u);
    for (std::size_t i = 0; i < events.size(); ++i) {
        SCOPED_TRACE("message " + std::to_string(i + 1));
        ASSERT_EQ(events[i].Size, 410u);
        EXPECT_EQ(events[i].Bytes.front(), 0xF0);
        EXPECT_EQ(events[i].Bytes.back(), 0xF7);
        EXPECT_EQ(events[i].Bytes[6], i); // the wave number: in order
        EXPECT_TRUE(std::equal(events[i].Bytes.begin(), events[i].Bytes.end(),
                               saved.begin() + static_cast<std::ptrdiff_t>(410 * i)));
    }
    EXPECT_EQ(Joined(events), saved);

    for (std::size_t i = 1; i < events.size(); ++i) {
        SCOPED_TRACE("gap before message " + std::to_string(i + 1));
        EXPECT_GE(events[i].Arrived - events[i - 1].Arrived,
                  std::chrono::milliseconds(kPauseMs) - kJitter);
    }
    // Jitter does not add up: over the whole table the 63 pauses are all there.
    EXPECT_GE(events.back().Arrived - events.front().Arrived,
              63 * std::chrono::milliseconds(kPauseMs) - kJitter);
}

TEST_F(JackSendFixture, ASavedSyxFileIsSentAsItsMessages) {
    const Wavetable table = DistinctTable();
    const files::SyxSaveRequest request{5, 12, "sub range", 80};
    const Bytes saved = SavedSyx(table, request);
    ASSERT_EQ(saved.size(), 8u * 410u);

    CancelFlag cancel;
    const SendResult result =
        Send(ReadSyxMessages((folder / "saved.syx").string()), kMinPauseMs, cancel);
    ASSERT_TRUE(result.Complete()) << result.Error;
    EXPECT_EQ(result.Sent, 8);
    const std::vector<MidiReceiver::Event> events = Received(8);
    ASSERT_EQ(events.size(), 8u);
    EXPECT_EQ(Joined(events), saved);
    EXPECT_EQ(events[0].Bytes[6], 4);
    EXPECT_EQ(events[7].Bytes[6], 11);
}

TEST_F(JackSendFixture, CancelStopsAfterTheMessageInFlight) {
    CancelFlag cancel;
    const SendResult result = Send(StampedSelection(DistinctTable(), {1, 64, "cancel", 80}), 50,
                                   cancel, [&](int number, int) {
                                       if (number == 3)
                                           cancel.Cancel(); // while message 3 goes out
                                   });
    EXPECT_TRUE(result.Cancelled);
    EXPECT_EQ(result.Sent, 3);
    EXPECT_EQ(SentCountText(result), "3 of 64 waves were sent.");
    const std::vector<MidiReceiver::Event> events = Received(3);
    EXPECT_EQ(events.size(), 3u);
}

TEST_F(JackSendFixture, AReceiverThatGoesAwayEndsTheSendWithAnError) {
    const std::string portName = receiver.PortName();
    std::atomic<bool> done{false};
    std::thread watcher([&] {
        while (!done && receiver.Count() < 5)
            std::this_thread::sleep_for(1ms);
        receiver.Close(); // the instrument is unplugged after its fifth wave
    });
    CancelFlag cancel;
    const std::unique_ptr<MidiOut> out = CreateRtMidiOut();
    SystemPaceClock clock;
    const SendResult result =
        SendPaced(*out, "jack", portName, StampedSelection(DistinctTable(), {1, 64, "gone", 80}),
                  100, clock, cancel);
    done = true;
    watcher.join();

    EXPECT_FALSE(result.Complete());
    EXPECT_EQ(result.Error, "The MIDI output port \"morvane-receiver:in\" has gone away.");
    EXPECT_GE(result.Sent, 5);
    EXPECT_LE(result.Sent, 7);
}

TEST_F(JackSendFixture, APortThatIsNotThereIsReportedBeforeAnythingIsSent) {
    CancelFlag cancel;
    const std::unique_ptr<MidiOut> out = CreateRtMidiOut();
    SystemPaceClock clock;
    const SendResult result =
        SendPaced(*out, "jack", "nobody:in", StampedSelection(DistinctTable(), {1, 2, "x", 80}), 20,
                  clock, cancel);
    EXPECT_EQ(result.Sent, 0);
    EXPECT_THAT(result.Error, ::testing::HasSubstr("\"nobody:in\" is not available"));
    EXPECT_EQ(Received(0).size(), 0u);
}

} // namespace
} // namespace morvane::midi
