#include "audio/audio_gen.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/recording_wave_out.h"

namespace morvane::audio {
namespace {

using namespace std::chrono_literals;

// A generous bound for waiting on the generator's thread; reaching it fails the test, it does
// not measure speed.
constexpr auto kPatience = 10s;

using testing_support::RecordingWaveOut;

// Lets Close return again when the test leaves, also on a failed assertion, before the slot
// waits for its threads.
struct CloseRelease {
    RecordingWaveOut &Port;
    ~CloseRelease() { Port.HoldClose(false); }
};

std::unique_ptr<TAudioGen> MakeGenerator(RecordingWaveOut &port, AudioSettings settings = {},
                                         TAudioGen::OpenFailedFunction onFailed = {}) {
    return std::make_unique<TAudioGen>(port, settings, std::move(onFailed));
}

void StopAndJoin(TAudioGen &generator) {
    generator.Running = false;
    generator.Join();
}

TEST(AudioGen, HandsOverHeaderTwoFirstAndHeaderOneOnTheSixteenthPass) {
    RecordingWaveOut port;
    auto generator = MakeGenerator(port);
    generator->Start();
    ASSERT_TRUE(port.WaitForWrites(18));
    StopAndJoin(*generator);

    const std::vector<int> written = port.WrittenBuffers();
    const std::vector<int> expected = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 1, 2, 3};
    ASSERT_GE(written.size(), expected.size());
    EXPECT_EQ(std::vector<int>(written.begin(), written.begin() + 18), expected);

    // Each write hands over 8192 bytes from the first sample of its own buffer.
    for (const auto &call : port.Calls()) {
        if (call.What != "Write") {
            continue;
        }
        SCOPED_TRACE("buffer " + std::to_string(call.Buffer));
        EXPECT_EQ(call.Bytes, 8192u);
        EXPECT_EQ(call.Data, generator->Buffers[static_cast<std::size_t>(call.Buffer - 1)].data());
    }
}

TEST(AudioGen, OpensFirstAndClosesOnceAtTheEnd) {
    RecordingWaveOut port;
    auto generator = MakeGenerator(port);
    generator->Start();
    ASSERT_TRUE(port.WaitForWrites(3));
    StopAndJoin(*generator);
    EXPECT_TRUE(generator->Finished());

    const auto calls = port.Calls();
    ASSERT_GE(calls.size(), 5u);
    EXPECT_EQ(calls.front().What, "Open");
    EXPECT_EQ(calls.back().What, "Close");
    int opens = 0;
    int closes = 0;
    for (const auto &call : calls) {
        opens += call.What == "Open";
        closes += call.What == "Close";
    }
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(closes, 1);
}

TEST(AudioGen, HeldBufferIsOfferedAgainOnlyWhenTheIndexComesRound) {
    RecordingWaveOut port;
    // Buffer 5 is still held the first time it is asked about, free afterwards.
    port.Held = [](int k, int n) { return k == 5 && n == 1; };
    auto generator = MakeGenerator(port);
    generator->Start();
    ASSERT_TRUE(port.WaitForWrites(19));
    StopAndJoin(*generator);

    const std::vector<int> written = port.WrittenBuffers();
    const std::vector<int> expected = {2,  3,  4,  6,  7, 8, 9, 10, 11, 12,
                                       13, 14, 15, 16, 1, 2, 3, 4,  5};
    ASSERT_GE(written.size(), expected.size());
    EXPECT_EQ(std::vector<int>(written.begin(), written.begin() + 19), expected);
}

TEST(AudioGen, ErrorInsideAPassDoesNotEndTheThread) {
    RecordingWaveOut port;
    port.ThrowOnFirstWriteOf = 3;
    auto generator = MakeGenerator(port);
    generator->Start();
    ASSERT_TRUE(port.WaitForWrites(3));
    StopAndJoin(*generator);
    const std::vector<int> written = port.WrittenBuffers();
    ASSERT_GE(written.size(), 3u);
    EXPECT_EQ(written[0], 2);
    EXPECT_EQ(written[1], 4); // 3 threw and was not retried in the same pass
    EXPECT_EQ(written[2], 5);
}

TEST(AudioGen, StopBeforeTheThreadRanEndsItWithoutWriting) {
    RecordingWaveOut port;
    auto generator = MakeGenerator(port);
    EXPECT_TRUE(generator->Running); // raised before the thread starts
    generator->Running = false;      // Stop comes before the thread has run at all
    generator->Start();
    generator->Join();
    EXPECT_TRUE(generator->Finished());
    const auto calls = port.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].What, "Open");
    EXPECT_EQ(calls[1].What, "Close");
}

TEST(AudioGen, DeviceThatDoesNotExistIsReportedOnceAndStopStillWorks) {
    RecordingWaveOut port;
    AudioSettings settings;
    settings.WaveAudioDevice = 7;
    std::mutex reportsMutex;
    std::vector<std::string> reports;
    auto generator = MakeGenerator(port, settings, [&](const std::string &text) {
        std::lock_guard<std::mutex> lock(reportsMutex);
        reports.push_back(text);
    });
    generator->Start();
    std::this_thread::sleep_for(60ms); // several passes with no device
    StopAndJoin(*generator);

    EXPECT_EQ(port.OpenedDevice, 7); // passed unchanged
    const auto calls = port.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].What, "Open");
    std::lock_guard<std::mutex> lock(reportsMutex);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "Invalid device");
}

TEST(AudioGen, OpensWithTheFormatOfTheSettings) {
    {
        RecordingWaveOut port;
        auto generator = MakeGenerator(port); // defaults: device 0, stereo, 44,100 Hz
        generator->Running = false;
        generator->Start();
        generator->Join();
        EXPECT_EQ(port.OpenedDevice, 0);
        EXPECT_EQ(port.OpenedFormat.FormatTag, 1);
        EXPECT_EQ(port.OpenedFormat.Channels, 2);
        EXPECT_EQ(port.OpenedFormat.SamplesPerSec, 44100u);
        EXPECT_EQ(port.OpenedFormat.AvgBytesPerSec, 176400u);
        EXPECT_EQ(port.OpenedFormat.BlockAlign, 4);
        EXPECT_EQ(port.OpenedFormat.BitsPerSample, 16);
        EXPECT_EQ(port.OpenedFormat.CbSize, 0);
    }
    {
        RecordingWaveOut port;
        const AudioSettings mono{-1, 1, 22050, 2, 16};
        auto generator = MakeGenerator(port, mono);
        generator->Running = false;
        generator->Start();
        generator->Join();
        EXPECT_EQ(port.OpenedDevice, -1); // the wave mapper goes through unchanged
        EXPECT_EQ(port.OpenedFormat.Channels, 1);
        EXPECT_EQ(port.OpenedFormat.SamplesPerSec, 22050u);
        EXPECT_EQ(port.OpenedFormat.AvgBytesPerSec, 44100u);
        EXPECT_EQ(port.OpenedFormat.BlockAlign, 2);
    }
}

TEST(AudioGen, SettingsChangedAfterCreationDoNotReachTheDevice) {
    RecordingWaveOut port;
    AudioSettings settings;
    auto generator = MakeGenerator(port, settings);
    settings.WaveSamplesPerSec = 11025; // the setup dialog, after Play
    generator->Running = false;
    generator->Start();
    generator->Join();
    EXPECT_EQ(port.OpenedFormat.SamplesPerSec, 44100u);
}

TEST(AudioGen, DestroyingARunningGeneratorStopsItAndClosesTheDevice) {
    RecordingWaveOut port;
    auto generator = MakeGenerator(port);
    generator->Start();
    ASSERT_TRUE(port.WaitForWrites(1));
    generator.reset(); // must not hang, must close
    EXPECT_EQ(port.Calls().back().What, "Close");
}

TEST(AudioGenSlot, KeepsAReplacedGeneratorUntilItsDeviceHasGivenEverythingBack) {
    RecordingWaveOut port;
    port.HoldClose(true);
    AudioGenSlot slot;
    const CloseRelease release{port};
    EXPECT_FALSE(slot);
    EXPECT_EQ(slot.Get(), nullptr);

    TAudioGen &first = slot.Replace(MakeGenerator(port));
    first.Start();
    ASSERT_TRUE(port.WaitForWrites(1));
    first.Running = false; // Stop; nothing waits for the thread
    ASSERT_TRUE(port.WaitForClose());

    // The next Play: the first generator's device is still closing, so it is kept.
    TAudioGen *second = &slot.Replace(MakeGenerator(port));
    EXPECT_EQ(slot.Get(), second);
    EXPECT_EQ(slot.ReleaseFinished(), 1u);

    port.HoldClose(false);
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (slot.ReleaseFinished() != 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_EQ(slot.ReleaseFinished(), 0u);
    EXPECT_EQ(slot.Get(), second);
}

TEST(AudioGenSlot, ReplacingARunningGeneratorLowersItsFlag) {
    RecordingWaveOut port;
    port.HoldClose(true); // keeps the first generator alive while it is looked at
    AudioGenSlot slot;
    const CloseRelease release{port};
    TAudioGen &first = slot.Replace(MakeGenerator(port));
    first.Start();
    ASSERT_TRUE(port.WaitForWrites(1));
    // Replaced without a Stop: it must not play on where nothing can reach it.
    slot.Replace(MakeGenerator(port));
    EXPECT_FALSE(first.Running);
    EXPECT_TRUE(port.WaitForClose());
}

TEST(AudioGenSlot, ReplacingANeverStartedGeneratorReleasesItAtOnce) {
    RecordingWaveOut port;
    AudioGenSlot slot;
    slot.Replace(MakeGenerator(port));
    slot.Replace(MakeGenerator(port));
    EXPECT_EQ(slot.ReleaseFinished(), 0u);
    EXPECT_TRUE(port.Calls().empty());
}

} // namespace
} // namespace morvane::audio
