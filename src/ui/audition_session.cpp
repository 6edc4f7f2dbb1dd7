#include "ui/audition_session.h"

#include <algorithm>
#include <utility>

#include "document/error.h"

namespace morvane::ui {

AuditionSession::AuditionSession(audio::AudioStreamOut &streamOut, midi::MidiInFactory midiIn)
    : streamOut_(streamOut), midiInFactory_(std::move(midiIn)) {}

AuditionSession::~AuditionSession() {
    Stop();
    CloseInput();
}

void AuditionSession::Start(const audio::AudioSettings &settings, const Wavetable &table,
                            const synth::AuditionParams &params) {
    Stop();
    const int rate = settings.WaveSamplesPerSec;
    if (rate <= 0)
        throw Error("Audition: the sample rate " + std::to_string(rate) +
                    " Hz of Audio Setup cannot be played.");
    const int channels = std::clamp(settings.WaveChannels, 1, 2);
    if (!engine_ || engine_->SampleRate() != rate) {
        // The MIDI thread posts into the engine: it is stopped while the engine is replaced.
        const std::optional<midi::MidiPort> port = inputPort_;
        CloseInput();
        engine_.reset();
        engine_ = std::make_unique<synth::AuditionEngine>(static_cast<double>(rate));
        sentTable_.reset();
        if (port)
            OpenInput(*port);
    }
    sentTable_.reset();
    SetTable(table);
    engine_->SetParams(params);
    // Notes held when the audition stopped, or posted by MIDI as it stopped, are let go.
    engine_->AllNotesOff();
    audio::AudioStreamOpenResult opened =
        streamOut_.OpenStream(settings.WaveAudioDevice, rate, channels, *this);
    if (!opened.Stream)
        throw Error("Audition: the sound output could not be opened: " + opened.Error);
    stream_ = std::move(opened.Stream);
    accepting_.store(true, std::memory_order_release);
}

void AuditionSession::Stop() {
    accepting_.store(false, std::memory_order_release);
    if (!stream_)
        return;
    stream_->Close();
    stream_.reset();
}

bool AuditionSession::SetTable(const Wavetable &table) {
    if (!engine_ || (sentTable_ && *sentTable_ == table))
        return false;
    engine_->SetTable(table);
    if (!sentTable_)
        sentTable_ = std::make_unique<Wavetable>(table);
    else
        *sentTable_ = table;
    return true;
}

void AuditionSession::SetParams(const synth::AuditionParams &params) {
    if (engine_)
        engine_->SetParams(params);
}

void AuditionSession::NoteOn(int note, int velocity) {
    if (Playing())
        engine_->NoteOn(note, velocity);
}

void AuditionSession::NoteOff(int note) {
    if (Playing())
        engine_->NoteOff(note);
}

std::optional<double> AuditionSession::Position() const {
    if (!Playing())
        return std::nullopt;
    return engine_->Position();
}

midi::MidiIn &AuditionSession::Input() {
    if (!midiIn_) {
        if (!midiInFactory_)
            throw Error("This program has no MIDI input.");
        midiIn_ = midiInFactory_();
    }
    return *midiIn_;
}

midi::MidiPortList AuditionSession::InputPorts() {
    return Input().Ports();
}

void AuditionSession::OpenInput(const midi::MidiPort &port) {
    CloseInput();
    Input().Open(port, *this);
    inputPort_ = port;
}

void AuditionSession::CloseInput() {
    if (midiIn_)
        midiIn_->Close();
    inputPort_.reset();
}

void AuditionSession::Render(float *interleaved, std::size_t frames, int channels) noexcept {
    const std::size_t width = static_cast<std::size_t>(channels);
    for (std::size_t done = 0; done < frames;) {
        const std::size_t count = std::min(kChunkFrames, frames - done);
        engine_->Render(mono_.data(), static_cast<int>(count));
        float *out = interleaved + done * width;
        for (std::size_t i = 0; i < count; ++i)
            std::fill_n(out + i * width, width, mono_[i]);
        done += count;
    }
}

void AuditionSession::Receive(std::span<const std::uint8_t> message) noexcept {
    if (accepting_.load(std::memory_order_acquire))
        engine_->PostMidi(message);
}

} // namespace morvane::ui
