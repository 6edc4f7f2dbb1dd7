// MIDI from a JACK port of the test's own, through the RtMidi input, into the audition voice:
// note on, a note-on of velocity 0 as note off, and the mod wheel moving the position.
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include <jack/jack.h>
#include <jack/midiport.h>

#include "midi/rtmidi/rtmidi_in.h"
#include "support/jack_harness.h"
#include "ui/audition_session.h"

namespace morvane::midi {
namespace {

using namespace std::chrono_literals;
using testing_support::JackServer;

constexpr auto kPatience = 10s;

// A JACK client "morvane-keys" with one MIDI output "out": a message handed to Send goes out at
// the start of the next process cycle.
class JackKeys {
public:
    ~JackKeys() {
        if (client_ != nullptr) {
            jack_deactivate(client_);
            jack_client_close(client_);
        }
    }
    bool Open(std::string &reason) {
        jack_status_t status{};
        client_ = jack_client_open("morvane-keys", JackNoStartServer, &status);
        if (client_ == nullptr) {
            reason = "jack_client_open failed";
            return false;
        }
        port_ = jack_port_register(client_, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
        jack_set_process_callback(client_, &JackKeys::Process, this);
        if (port_ == nullptr || jack_activate(client_) != 0) {
            reason = "the MIDI port could not be made";
            return false;
        }
        return true;
    }
    void Send(std::array<std::uint8_t, 3> message) {
        message_ = message;
        pending_.store(true, std::memory_order_release);
        while (pending_.load(std::memory_order_acquire))
            std::this_thread::sleep_for(1ms);
    }

private:
    static int Process(jack_nframes_t frames, void *self) {
        auto *keys = static_cast<JackKeys *>(self);
        void *buffer = jack_port_get_buffer(keys->port_, frames);
        jack_midi_clear_buffer(buffer);
        if (keys->pending_.load(std::memory_order_acquire)) {
            jack_midi_event_write(buffer, 0, keys->message_.data(), keys->message_.size());
            keys->pending_.store(false, std::memory_order_release);
        }
        return 0;
    }

    jack_client_t *client_ = nullptr;
    jack_port_t *port_ = nullptr;
    std::array<std::uint8_t, 3> message_{};
    std::atomic<bool> pending_{false};
};

TEST(AuditionMidiJack, NotesAndTheModWheelFromAJackPortReachTheVoice) {
    if (testing_support::kUnderThreadSanitizer)
        GTEST_SKIP() << testing_support::kThreadSanitizerSkipReason;
    JackServer server;
    std::string reason;
    if (!server.Start(reason))
        GTEST_SKIP() << "no JACK server could be started: " << reason;
    JackKeys keys;
    ASSERT_TRUE(keys.Open(reason)) << reason;

    audio::NullAudioStreamOut stream(audio::NullAudioStreamOut::Clock::Manual);
    ui::AuditionSession session(stream, [] { return CreateRtMidiIn(); });
    std::optional<MidiPort> source;
    for (const MidiPort &port : session.InputPorts().Ports)
        if (port.Api == "jack" && port.Name == "morvane-keys:out")
            source = port;
    ASSERT_TRUE(source) << "the test's JACK MIDI port is not listed";
    audio::AudioSettings settings;
    settings.WaveSamplesPerSec = testing_support::kJackSampleRate;
    synth::AuditionParams params;
    params.ModWheelDepth = 63; // the full wheel takes the position from wave 1 to wave 64
    session.Start(
        settings,
        [] {
            Wavetable table;
            FillNewWavetable(table, 0);
            return table;
        }(),
        params);
    session.OpenInput(*source);

    const auto pumpUntil = [&](auto condition) {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (std::chrono::steady_clock::now() < deadline) {
            stream.Pump();
            if (condition())
                return true;
            std::this_thread::sleep_for(2ms);
        }
        return false;
    };
    const synth::AuditionEngine &engine = *session.Engine();
    keys.Send({0x91, 60, 100}); // note on, channel 2
    EXPECT_TRUE(pumpUntil([&] {
        const auto notes = engine.VoiceNotes();
        return std::find(notes.begin(), notes.end(), 60) != notes.end();
    }));
    keys.Send({0xB1, 1, 127}); // the mod wheel fully up
    EXPECT_TRUE(pumpUntil([&] { return engine.Position() > synth::kMaxPosition - 1e-9; }));
    keys.Send({0x91, 60, 0}); // note off as a note on of velocity 0
    EXPECT_TRUE(pumpUntil([&] { return engine.ActiveVoices() == 0; }));
    session.CloseInput();
}

} // namespace
} // namespace morvane::midi
