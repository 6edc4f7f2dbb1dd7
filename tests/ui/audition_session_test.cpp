// The audition session over a stream that renders only when the test says, and a MIDI input
// the test feeds by hand: what reaches the voice, and when.
#include "ui/audition_session.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "document/error.h"

namespace morvane::ui {
namespace {

constexpr std::size_t kPeriod = audio::NullAudioStreamOut::kNullPeriodFrames;

// One input port, "Keys"; delivers what the test hands to Send, from a thread of its own as a
// real backend does.
class FakeMidiIn final : public midi::MidiIn {
public:
    int *Opens;
    explicit FakeMidiIn(int *opens) : Opens(opens) {}
    midi::MidiPortList Ports() override { return {{{"alsa", "ALSA", "Keys 20:0"}}, {}}; }
    void Open(const midi::MidiPort &, midi::MidiInReceiver &receiver) override {
        receiver_ = &receiver;
        ++*Opens;
    }
    void Close() override { receiver_ = nullptr; }
    bool IsOpen() const { return receiver_ != nullptr; }
    void Send(std::vector<std::uint8_t> message) {
        std::thread([&] { receiver_->Receive(message); }).join();
    }

private:
    midi::MidiInReceiver *receiver_ = nullptr;
};

class FailingStreamOut final : public audio::AudioStreamOut {
public:
    audio::AudioStreamOpenResult OpenStream(int, int, int, audio::AudioRenderer &) override {
        return {nullptr, "Device unavailable"};
    }
};

Wavetable SineTable() {
    Wavetable table;
    FillNewWavetable(table, 0);
    return table;
}

float Peak(const float *samples, std::size_t count) {
    float peak = 0;
    for (std::size_t i = 0; i < count; ++i)
        peak = std::max(peak, std::fabs(samples[i]));
    return peak;
}

bool Sounds(const synth::AuditionEngine &engine, int note) {
    const auto notes = engine.VoiceNotes();
    return std::find(notes.begin(), notes.end(), note) != notes.end();
}

class AuditionSessionTest : public ::testing::Test {
protected:
    audio::NullAudioStreamOut stream{audio::NullAudioStreamOut::Clock::Manual};
    int opens = 0;
    FakeMidiIn *input = nullptr;
    AuditionSession session{stream, [this] {
                                auto in = std::make_unique<FakeMidiIn>(&opens);
                                input = in.get();
                                return in;
                            }};
    audio::AudioSettings settings{}; // 44.1 kHz, stereo
};

TEST_F(AuditionSessionTest, AnEditWhileAKeyIsHeldIsHeardInTheNextPeriod) {
    session.Start(settings, Wavetable{}, synth::AuditionParams{});
    session.NoteOn(69, 100);
    EXPECT_EQ(Peak(stream.Pump(8), 2 * kPeriod), 0.0F); // a table of zeros is silent
    EXPECT_TRUE(session.SetTable(SineTable()));
    const float *period = stream.Pump();
    EXPECT_GT(Peak(period, 2 * kPeriod), 0.05F);
    for (std::size_t i = 0; i < kPeriod; ++i)
        ASSERT_EQ(period[2 * i], period[2 * i + 1]) << "frame " << i; // the voice in both
    EXPECT_FALSE(session.SetTable(SineTable()));                      // unchanged: not built again
    session.Stop();
    EXPECT_FALSE(stream.IsOpen());
    EXPECT_EQ(session.Position(), std::nullopt);
}

TEST_F(AuditionSessionTest, KeysAndMidiReachTheVoiceOnlyWhileItPlays) {
    session.OpenInput(session.InputPorts().Ports.at(0));
    input->Send({0x90, 60, 100}); // before any voice exists: dropped
    session.Start(settings, SineTable(), synth::AuditionParams{});
    stream.Pump();
    EXPECT_EQ(session.Engine()->ActiveVoices(), 0);
    input->Send({0x90, 60, 100});
    session.NoteOn(64, 90);
    stream.Pump();
    EXPECT_TRUE(Sounds(*session.Engine(), 60));
    EXPECT_TRUE(Sounds(*session.Engine(), 64));
    session.Stop();
    input->Send({0x90, 62, 100}); // while stopped: neither queued nor heard at the next start
    session.NoteOn(65, 100);
    session.Start(settings, SineTable(), synth::AuditionParams{});
    stream.Pump(20); // past the release of the notes let go at the stop
    EXPECT_EQ(session.Engine()->ActiveVoices(), 0);
}

TEST_F(AuditionSessionTest, ANewRateMakesANewVoiceAndKeepsTheInputOpen) {
    session.Start(settings, SineTable(), synth::AuditionParams{});
    session.OpenInput(session.InputPorts().Ports.at(0));
    settings.WaveSamplesPerSec = 48000;
    settings.WaveChannels = 1;
    session.Start(settings, SineTable(), synth::AuditionParams{});
    EXPECT_EQ(session.Engine()->SampleRate(), 48000);
    EXPECT_EQ(opens, 2);
    ASSERT_TRUE(input->IsOpen());
    input->Send({0x90, 72, 100});
    EXPECT_GT(Peak(stream.Pump(2), kPeriod), 0.05F);
    EXPECT_TRUE(Sounds(*session.Engine(), 72));
}

TEST(AuditionSession, ADeviceThatCannotOpenIsReportedAndNothingPlays) {
    FailingStreamOut failing;
    AuditionSession session(failing, {});
    try {
        session.Start(audio::AudioSettings{}, SineTable(), synth::AuditionParams{});
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_STREQ(e.what(),
                     "Audition: the sound output could not be opened: Device unavailable");
    }
    EXPECT_FALSE(session.Playing());
    audio::AudioSettings broken;
    broken.WaveSamplesPerSec = 0;
    EXPECT_THROW(session.Start(broken, SineTable(), synth::AuditionParams{}), Error);
    EXPECT_THROW(session.InputPorts(), Error); // no MIDI input given
}

} // namespace
} // namespace morvane::ui
