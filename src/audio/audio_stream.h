#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace morvane::audio {

// The callback sound output: unlike the wave-out port, which plays buffers the program filled
// beforehand, a stream asks its renderer for every period just before the device plays it.
// The audition plays through it, so that a key or an edit is heard within one period.

// What a stream asks for its sound. Render runs on the device's real-time thread: it must not
// allocate, lock, throw or do I/O, and it must write every sample it is given.
class AudioRenderer {
public:
    virtual ~AudioRenderer() = default;
    // Fills `frames` frames of `channels` interleaved float samples (-1..1).
    virtual void Render(float *interleaved, std::size_t frames, int channels) noexcept = 0;
};

// An open stream. Calls come from the thread that opened it.
class AudioStream {
public:
    virtual ~AudioStream() = default;
    // The rate the device runs at, in Hz.
    virtual int SampleRate() const = 0;
    // Stops at once; once Close returns, the renderer is never called again and may go.
    // Calling it twice is harmless; the destructor closes too.
    virtual void Close() = 0;
};

struct AudioStreamOpenResult {
    std::unique_ptr<AudioStream> Stream; // none when the open failed
    std::string Error;                   // the backend's text when it failed
};

// The stream service. Device numbers are the wave-out port's (-1: the default output), so the
// device chosen in Audio Setup serves both.
class AudioStreamOut {
public:
    virtual ~AudioStreamOut() = default;
    // Opens device `device` at `sampleRate` Hz with 1 or 2 channels and starts calling
    // `renderer`, which must outlive the stream.
    virtual AudioStreamOpenResult OpenStream(int device, int sampleRate, int channels,
                                             AudioRenderer &renderer) = 0;
};

// A stream service without sound: a stream renders periods of kNullPeriodFrames into a scratch
// buffer and drops them. Automatic streams do so on a thread of their own, at the pace the
// rate gives (for machines without a sound device); manual ones only when Pump is called, on
// the caller's thread (for tests, which need the periods to come exactly when they say).
class NullAudioStreamOut final : public AudioStreamOut {
public:
    static constexpr std::size_t kNullPeriodFrames = 256;

    enum class Clock { Automatic, Manual };
    explicit NullAudioStreamOut(Clock clock = Clock::Automatic) : clock_(clock) {}

    AudioStreamOpenResult OpenStream(int device, int sampleRate, int channels,
                                     AudioRenderer &renderer) override;

    // Manual clock: renders `periods` periods of the stream opened last, while it is open, into
    // its scratch buffer; returns the last period's interleaved samples, nullptr when no stream
    // is open. Opened counts the streams opened so far.
    const float *Pump(int periods = 1);
    int Opened() const { return opened_; }
    // Whether the stream opened last is open.
    bool IsOpen() const;

private:
    class Stream;

    Clock clock_;
    int opened_ = 0;
    Stream *current_ = nullptr; // the stream opened last, while open (manual clock)
};

} // namespace morvane::audio
