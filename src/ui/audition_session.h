#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>

#include "audio/audio_settings.h"
#include "audio/audio_stream.h"
#include "document/wave_message.h"
#include "midi/midi_in.h"
#include "synth/audition_engine.h"

namespace morvane::ui {

// The audition: one voice engine played through a callback stream on the device of Audio
// Setup, from the on-screen keyboard and from a MIDI input port. The window turns its controls
// into calls of this; it holds no sound state of its own.
//
// Threads: every member function runs on the owner's (user-interface) thread. The stream's
// thread calls only the engine's Render; the MIDI input's thread only the engine's PostMidi,
// which is lock-free. The engine is made at the first Start (it takes some 90 MB) and made anew
// only when the rate changes.
class AuditionSession final : private audio::AudioRenderer, private midi::MidiInReceiver {
public:
    AuditionSession(audio::AudioStreamOut &streamOut, midi::MidiInFactory midiIn);
    ~AuditionSession() override;
    AuditionSession(const AuditionSession &) = delete;
    AuditionSession &operator=(const AuditionSession &) = delete;

    // Opens the stream at the settings' device, rate and channel count and plays `table` with
    // `params`, every voice silent. Throws Error with the text for the user when the device
    // cannot be opened; the audition is then stopped.
    void Start(const audio::AudioSettings &settings, const Wavetable &table,
               const synth::AuditionParams &params);
    // Closes the stream; sounding notes are dropped. Harmless when stopped.
    void Stop();
    bool Playing() const { return stream_ != nullptr; }

    // Hands the table to the voice when it differs from the one it plays (an edit); false when
    // nothing changed or no voice exists yet. The first period rendered after it plays it.
    bool SetTable(const Wavetable &table);
    void SetParams(const synth::AuditionParams &params);
    // The on-screen keyboard. Ignored while stopped.
    void NoteOn(int note, int velocity);
    void NoteOff(int note);

    // The voice's position (1..64) as the last period left it; none while stopped.
    std::optional<double> Position() const;
    // The engine while one exists, for the displays and the tests.
    const synth::AuditionEngine *Engine() const { return engine_.get(); }

    // The MIDI input ports listed now.
    midi::MidiPortList InputPorts();
    // Delivers the port's messages to the voice (closing the port opened before). Throws Error.
    void OpenInput(const midi::MidiPort &port);
    void CloseInput();
    // The port open now.
    const std::optional<midi::MidiPort> &InputPort() const { return inputPort_; }

private:
    // The stream's thread.
    void Render(float *interleaved, std::size_t frames, int channels) noexcept override;
    // The MIDI input's thread.
    void Receive(std::span<const std::uint8_t> message) noexcept override;

    midi::MidiIn &Input();

    // Frames the voice renders at a time into the mono scratch buffer; a longer period is done
    // in several pieces.
    static constexpr std::size_t kChunkFrames = 1024;

    audio::AudioStreamOut &streamOut_;
    midi::MidiInFactory midiInFactory_;
    std::unique_ptr<midi::MidiIn> midiIn_;
    std::optional<midi::MidiPort> inputPort_;
    std::unique_ptr<synth::AuditionEngine> engine_;
    std::unique_ptr<audio::AudioStream> stream_;
    std::unique_ptr<Wavetable> sentTable_; // the table the voice has, to tell an edit
    // Raised while the stream runs, so that MIDI that comes while stopped is not queued up for
    // the next start.
    std::atomic<bool> accepting_{false};
    // The stream thread's own.
    std::array<float, kChunkFrames> mono_{};
};

} // namespace morvane::ui
