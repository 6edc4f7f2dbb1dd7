// The audition end to end: a note held on the voice, played through the PortAudio stream on a
// private JACK server and recorded by a JACK client of the test's own; an edit of the table
// made meanwhile must be heard within one period.
#include <chrono>
#include <cmath>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "audio/portaudio/portaudio_wave_out.h"
#include "document/wave_message.h"
#include "support/jack_harness.h"
#include "ui/audition_session.h"

namespace morvane::audio {
namespace {

#if defined(MORVANE_HAVE_JACK)

using namespace std::chrono_literals;
using testing_support::JackRecorder;
using testing_support::JackServer;

constexpr unsigned kRate = testing_support::kJackSampleRate;
constexpr std::size_t kPeriod = testing_support::kJackPeriodFrames;
constexpr auto kPatience = 10s; // bounds every wait; reaching it fails the test

template <typename Condition> bool WaitUntil(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

TEST(AuditionJack, AnEditWhileANoteIsHeldIsHeardWithinOnePeriod) {
    JackServer server;
    std::string reason;
    if (!server.Start(reason))
        GTEST_SKIP() << "no JACK server could be started: " << reason;
    PortAudioWaveOut portAudio;
    ASSERT_TRUE(portAudio.Initialized()) << portAudio.InitError();
    const std::optional<int> device = portAudio.JackDeviceNumber();
    ASSERT_TRUE(device) << "PortAudio sees no JACK device on the running server";
    JackRecorder recorder(1, 20 * kRate);
    ASSERT_TRUE(recorder.Open(reason)) << reason;

    ui::AuditionSession session(portAudio, {});
    const AudioSettings mono{*device, 1, static_cast<std::int32_t>(kRate), 2, 16};
    session.Start(mono, Wavetable{}, synth::AuditionParams{}); // a table of zeros: silence
    session.NoteOn(69, 127);
    std::vector<std::string> sources;
    ASSERT_TRUE(WaitUntil([&] {
        sources = recorder.OtherOutputPorts();
        return sources.size() == 1;
    })) << "the stream's output port did not appear";
    ASSERT_TRUE(recorder.Connect(sources[0], 0));
    const std::size_t connected = recorder.Frames();
    ASSERT_TRUE(WaitUntil([&] { return recorder.Frames() >= connected + 8 * kPeriod; }));

    const std::size_t before = recorder.Frames();
    Wavetable sines;
    FillNewWavetable(sines, 0);
    ASSERT_TRUE(session.SetTable(sines));
    // Every cycle that starts from here on plays the new table; the one running as the hand-over
    // completed may still play the old one.
    const std::size_t handedOver = recorder.Frames();
    ASSERT_TRUE(WaitUntil([&] { return recorder.Frames() >= handedOver + 8 * kPeriod; }));
    session.Stop();

    std::optional<std::size_t> firstHeard;
    for (std::size_t n = connected; n < recorder.Frames() && !firstHeard; ++n) {
        if (std::fabs(recorder.Sample(0, n)) > 1e-4F)
            firstHeard = n;
    }
    ASSERT_TRUE(firstHeard) << "the edit was never heard";
    EXPECT_GE(*firstHeard, before) << "sound before the edit, from a table of zeros";
    EXPECT_LT(*firstHeard, handedOver + 2 * kPeriod)
        << "heard " << (*firstHeard - handedOver) << " frames after the hand-over";
}

#endif

} // namespace
} // namespace morvane::audio
