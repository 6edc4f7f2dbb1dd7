#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "audio/audio_stream.h"
#include "audio/wave_out.h"

namespace morvane::audio {

// The wave-out port on PortAudio. Device numbers count PortAudio's output-capable devices with
// the system's default output device first and the others after it in PortAudio's order; -1
// (the wave mapper) is the default output device too. A device's format set holds the 16-bit
// formats of the format table that PortAudio reports as supported.
//
// Every PortAudio call except the stream callback is made under one lock, so the setup dialog
// may list devices on the UI thread while a generator opens or closes a stream on its own. The
// object must outlive every stream it opened.
//
// It is the callback stream service too (the audition's), with the same device numbers: float
// samples, the device's low latency, the renderer called from PortAudio's callback.
class PortAudioWaveOut final : public WaveOut, public audio::AudioStreamOut {
public:
    // Starts PortAudio. With quietStartup, whatever the host APIs print on stderr while they
    // probe (ALSA and JACK chatter) is discarded.
    explicit PortAudioWaveOut(bool quietStartup = true);
    ~PortAudioWaveOut() override;
    PortAudioWaveOut(const PortAudioWaveOut &) = delete;
    PortAudioWaveOut &operator=(const PortAudioWaveOut &) = delete;

    // False when PortAudio could not start; the list is then empty and every open fails with
    // InitError's text.
    bool Initialized() const { return initialized_; }
    const std::string &InitError() const { return initError_; }

    std::vector<WaveOutCaps> Devices() override;
    WaveOutOpenResult Open(int device, const PcmWaveFormat &format) override;
    audio::AudioStreamOpenResult OpenStream(int device, int sampleRate, int channels,
                                            audio::AudioRenderer &renderer) override;

    // The number of the first device of PortAudio's JACK host API, if it has one.
    std::optional<int> JackDeviceNumber();

private:
    std::vector<int> OutputDeviceIndexes() const; // PortAudio indexes in our numbering

    bool quiet_;
    bool initialized_ = false;
    std::string initError_;
    std::mutex mutex_;
};

// The wave-out service of the editor: PortAudio, or the null device when PortAudio cannot
// start (`error` then receives PortAudio's text, for the message log).
std::unique_ptr<WaveOut> CreateSystemWaveOut(std::string *error = nullptr);

} // namespace morvane::audio
