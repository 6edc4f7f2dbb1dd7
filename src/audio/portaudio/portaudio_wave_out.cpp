#include "audio/portaudio/portaudio_wave_out.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

#include <portaudio.h>

namespace morvane::audio {

namespace {

std::string ErrorText(PaError error) {
    std::string text = Pa_GetErrorText(error);
    if (error == paUnanticipatedHostError) {
        const PaHostErrorInfo *info = Pa_GetLastHostErrorInfo();
        if (info != nullptr && info->errorText != nullptr && info->errorText[0] != '\0') {
            text += ": ";
            text += info->errorText;
        }
    }
    return text;
}

// Opens and starts an output stream of `channels` samples of `format` on `device`, at the
// device's high or low latency, for `callback`; the empty string on success, else PortAudio's
// text with `stream` left null. `armed` is raised before the stream opens, since the callback's
// thread may be older than the stream (JACK's) and must see what was set up before.
std::string StartOutputStream(PaStream *&stream, PaDeviceIndex device, int channels,
                              PaSampleFormat format, bool lowLatency, double rate,
                              PaStreamCallback *callback, void *user, std::atomic<bool> &armed) {
    const PaDeviceInfo *info = Pa_GetDeviceInfo(device);
    if (info == nullptr)
        return ErrorText(paInvalidDevice);
    PaStreamParameters output{};
    output.device = device;
    output.channelCount = channels;
    output.sampleFormat = format;
    output.suggestedLatency =
        lowLatency ? info->defaultLowOutputLatency : info->defaultHighOutputLatency;
    output.hostApiSpecificStreamInfo = nullptr;
    armed.store(true, std::memory_order_release);
    PaError error = Pa_OpenStream(&stream, nullptr, &output, rate, paFramesPerBufferUnspecified,
                                  paNoFlag, callback, user);
    if (error != paNoError) {
        stream = nullptr;
        return ErrorText(error);
    }
    error = Pa_StartStream(stream);
    if (error != paNoError) {
        Pa_CloseStream(stream);
        stream = nullptr;
        return ErrorText(error);
    }
    return {};
}

// Sends stderr to /dev/null for its lifetime (the host APIs print their probing to it).
class QuietStderr {
public:
    explicit QuietStderr(bool active) {
        if (!active) {
            return;
        }
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0) {
            ::dup2(null, STDERR_FILENO);
        }
        if (null >= 0) {
            ::close(null);
        }
    }
    ~QuietStderr() {
        if (saved_ >= 0) {
            std::fflush(stderr);
            ::dup2(saved_, STDERR_FILENO);
            ::close(saved_);
        }
    }
    QuietStderr(const QuietStderr &) = delete;
    QuietStderr &operator=(const QuietStderr &) = delete;

private:
    int saved_ = -1;
};

// One open PortAudio stream playing the handed-over buffers in turn.
//
// The generator's thread writes buffer numbers into a single-producer single-consumer ring; the
// stream callback takes them out in order and plays each one's bytes. A buffer counts as held
// from its Write until the callback has read its last byte. The callback only reads atomics and
// the sample memory: it never allocates, locks, throws or does I/O.
class PortAudioStream final : public WaveOutStream {
public:
    PortAudioStream(std::mutex &apiMutex, int channels)
        : apiMutex_(apiMutex), channels_(channels) {}
    ~PortAudioStream() override { Close(); }
    PortAudioStream(const PortAudioStream &) = delete;
    PortAudioStream &operator=(const PortAudioStream &) = delete;

    // Opens and starts the stream; the empty string on success, else PortAudio's text.
    std::string Start(PaDeviceIndex device, const PcmWaveFormat &format) {
        // Everything the callback reads is in place before the stream is armed.
        return StartOutputStream(stream_, device, channels_, paInt16, false, format.SamplesPerSec,
                                 &Callback, this, armed_);
    }

    bool Write(int bufferNumber, const WaveHeader &header) override {
        if (closed_ || bufferNumber < 1 || bufferNumber > kWaveBufferCount ||
            IsHeld(bufferNumber)) {
            return false;
        }
        const std::uint32_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) >= kRingSize) {
            return false;
        }
        Slot &slot = slots_[Index(bufferNumber)];
        slot.Data = header.Data;
        slot.Samples = header.BufferLength / sizeof(std::int16_t);
        held_[Index(bufferNumber)].store(true, std::memory_order_relaxed);
        ring_[tail % kRingSize] = bufferNumber;
        tail_.store(tail + 1, std::memory_order_release); // publishes slot, flag and ring entry
        return true;
    }

    bool IsHeld(int bufferNumber) override {
        if (bufferNumber < 1 || bufferNumber > kWaveBufferCount) {
            return false;
        }
        return held_[Index(bufferNumber)].load(std::memory_order_acquire);
    }

    void Close() override {
        if (closed_) {
            return;
        }
        closed_ = true;
        if (stream_ != nullptr) {
            const std::lock_guard<std::mutex> lock(apiMutex_);
            // Abort rather than stop: queued buffers are dropped, not played out for seconds.
            Pa_AbortStream(stream_);
            Pa_CloseStream(stream_);
            stream_ = nullptr;
        }
        // The callback has run for the last time; its count makes that visible to the
        // thread-checking tools too, which do not see PortAudio's own synchronisation.
        (void)callbacks_.load(std::memory_order_acquire);
        for (std::atomic<bool> &held : held_) {
            held.store(false, std::memory_order_release);
        }
    }

private:
    static constexpr std::uint32_t kRingSize = 32; // a power of two above the 16 buffers

    struct Slot {
        const AudioSample *Data = nullptr;
        std::uint32_t Samples = 0;
    };

    static std::size_t Index(int bufferNumber) {
        return static_cast<std::size_t>(bufferNumber - 1);
    }

    static int Callback(const void * /*input*/, void *output, unsigned long frameCount,
                        const PaStreamCallbackTimeInfo * /*timeInfo*/,
                        PaStreamCallbackFlags /*statusFlags*/, void *userData) {
        auto *self = static_cast<PortAudioStream *>(userData);
        self->Play(static_cast<std::int16_t *>(output),
                   static_cast<std::size_t>(frameCount) *
                       static_cast<std::size_t>(self->channels_));
        return paContinue;
    }

    // Callback thread: fills `count` interleaved samples, silence where no buffer is queued.
    void Play(std::int16_t *out, std::size_t count) {
        std::size_t i = 0;
        if (armed_.load(std::memory_order_acquire)) {
            while (i < count) {
                if (playing_ == 0) {
                    const std::uint32_t head = head_.load(std::memory_order_relaxed);
                    if (head == tail_.load(std::memory_order_acquire)) {
                        break; // underrun: the rest is silence
                    }
                    playing_ = ring_[head % kRingSize];
                    head_.store(head + 1, std::memory_order_release);
                    offset_ = 0;
                }
                const Slot &slot = slots_[Index(playing_)];
                while (i < count && offset_ < slot.Samples) {
                    out[i++] = slot.Data[offset_++].load(std::memory_order_relaxed);
                }
                if (offset_ >= slot.Samples) {
                    held_[Index(playing_)].store(false, std::memory_order_release);
                    playing_ = 0;
                }
            }
        }
        for (; i < count; ++i) {
            out[i] = 0;
        }
        callbacks_.fetch_add(1, std::memory_order_release);
    }

    std::mutex &apiMutex_;
    const int channels_;
    PaStream *stream_ = nullptr;
    bool closed_ = false;

    // Shared with the callback.
    std::atomic<bool> armed_{false};
    std::array<Slot, kWaveBufferCount> slots_{};
    std::array<std::atomic<bool>, kWaveBufferCount> held_{};
    std::array<int, kRingSize> ring_{};
    std::atomic<std::uint32_t> head_{0}; // next entry the callback takes
    std::atomic<std::uint32_t> tail_{0}; // next entry the generator writes
    std::atomic<std::uint32_t> callbacks_{0};

    // The callback's own.
    int playing_ = 0; // buffer number being played, 0 for none
    std::uint32_t offset_ = 0;
};

// One open PortAudio stream that asks its renderer for every period. The callback calls only
// the renderer, which keeps the real-time rules itself, and counts its runs.
class PortAudioCallbackStream final : public audio::AudioStream {
public:
    PortAudioCallbackStream(std::mutex &apiMutex, int channels, audio::AudioRenderer &renderer)
        : apiMutex_(apiMutex), channels_(channels), renderer_(renderer) {}
    ~PortAudioCallbackStream() override { Close(); }
    PortAudioCallbackStream(const PortAudioCallbackStream &) = delete;
    PortAudioCallbackStream &operator=(const PortAudioCallbackStream &) = delete;

    // Opens and starts the stream; the empty string on success, else PortAudio's text.
    std::string Start(PaDeviceIndex device, int sampleRate) {
        // Low latency: a key pressed is to be heard at once.
        if (std::string error = StartOutputStream(stream_, device, channels_, paFloat32, true,
                                                  sampleRate, &Callback, this, armed_);
            !error.empty())
            return error;
        const PaStreamInfo *streamInfo = Pa_GetStreamInfo(stream_);
        sampleRate_ = streamInfo != nullptr ? static_cast<int>(streamInfo->sampleRate) : sampleRate;
        return {};
    }

    int SampleRate() const override { return sampleRate_; }

    void Close() override {
        if (stream_ == nullptr)
            return;
        {
            const std::lock_guard<std::mutex> lock(apiMutex_);
            Pa_AbortStream(stream_);
            Pa_CloseStream(stream_);
            stream_ = nullptr;
        }
        // The callback has run for the last time; this makes it visible to the thread-checking
        // tools too, which do not see PortAudio's own synchronisation.
        (void)callbacks_.load(std::memory_order_acquire);
    }

private:
    static int Callback(const void * /*input*/, void *output, unsigned long frameCount,
                        const PaStreamCallbackTimeInfo * /*timeInfo*/,
                        PaStreamCallbackFlags /*statusFlags*/, void *userData) {
        auto *self = static_cast<PortAudioCallbackStream *>(userData);
        auto *out = static_cast<float *>(output);
        if (self->armed_.load(std::memory_order_acquire)) {
            self->renderer_.Render(out, static_cast<std::size_t>(frameCount), self->channels_);
        } else {
            std::fill(out, out + frameCount * static_cast<unsigned long>(self->channels_), 0.0F);
        }
        self->callbacks_.fetch_add(1, std::memory_order_release);
        return paContinue;
    }

    std::mutex &apiMutex_;
    const int channels_;
    audio::AudioRenderer &renderer_;
    PaStream *stream_ = nullptr;
    int sampleRate_ = 0;
    std::atomic<bool> armed_{false};
    std::atomic<std::uint32_t> callbacks_{0};
};

} // namespace

PortAudioWaveOut::PortAudioWaveOut(bool quietStartup) : quiet_(quietStartup) {
    const std::lock_guard<std::mutex> lock(mutex_);
    PaError error = paNoError;
    {
        const QuietStderr quiet(quiet_);
        error = Pa_Initialize();
    }
    initialized_ = error == paNoError;
    if (!initialized_) {
        initError_ = ErrorText(error);
    }
}

PortAudioWaveOut::~PortAudioWaveOut() {
    if (initialized_) {
        const std::lock_guard<std::mutex> lock(mutex_);
        const QuietStderr quiet(quiet_);
        Pa_Terminate();
    }
}

std::vector<int> PortAudioWaveOut::OutputDeviceIndexes() const {
    std::vector<int> indexes;
    if (!initialized_) {
        return indexes;
    }
    const PaDeviceIndex count = Pa_GetDeviceCount();
    const PaDeviceIndex fallback = Pa_GetDefaultOutputDevice();
    const auto isOutput = [](PaDeviceIndex index) {
        const PaDeviceInfo *info = Pa_GetDeviceInfo(index);
        return info != nullptr && info->maxOutputChannels > 0;
    };
    if (fallback != paNoDevice && isOutput(fallback)) {
        indexes.push_back(fallback);
    }
    for (PaDeviceIndex index = 0; index < count; ++index) {
        if (index != fallback && isOutput(index)) {
            indexes.push_back(index);
        }
    }
    return indexes;
}

std::vector<WaveOutCaps> PortAudioWaveOut::Devices() {
    const std::lock_guard<std::mutex> lock(mutex_);
    const QuietStderr quiet(quiet_);
    std::vector<WaveOutCaps> devices;
    for (const int index : OutputDeviceIndexes()) {
        const PaDeviceInfo *info = Pa_GetDeviceInfo(index);
        WaveOutCaps caps;
        caps.ProductName = TruncateProductName(info->name != nullptr ? info->name : "");
        for (std::size_t r = 0; r < kFormatRates.size(); ++r) {
            for (int channels = 1; channels <= 2; ++channels) {
                if (channels > info->maxOutputChannels) {
                    continue;
                }
                PaStreamParameters output{};
                output.device = index;
                output.channelCount = channels;
                output.sampleFormat = paInt16;
                output.suggestedLatency = info->defaultHighOutputLatency;
                if (Pa_IsFormatSupported(nullptr, &output, kFormatRates[r]) ==
                    paFormatIsSupported) {
                    caps.Formats |= FormatBit(static_cast<int>(r), channels);
                }
            }
        }
        devices.push_back(std::move(caps));
    }
    return devices;
}

WaveOutOpenResult PortAudioWaveOut::Open(int device, const PcmWaveFormat &format) {
    WaveOutOpenResult result;
    if (!initialized_) {
        result.Error = initError_;
        return result;
    }
    result.Error = CheckWaveFormat(format);
    if (!result.Error.empty()) {
        return result;
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    const std::vector<int> indexes = OutputDeviceIndexes();
    const int number = device == -1 ? 0 : device;
    if (number < 0 || number >= static_cast<int>(indexes.size())) {
        result.Error = ErrorText(paInvalidDevice);
        return result;
    }
    auto stream = std::make_unique<PortAudioStream>(mutex_, format.Channels);
    result.Error = stream->Start(indexes[static_cast<std::size_t>(number)], format);
    if (result.Error.empty()) {
        result.Stream = std::move(stream);
    }
    return result;
}

audio::AudioStreamOpenResult PortAudioWaveOut::OpenStream(int device, int sampleRate, int channels,
                                                          audio::AudioRenderer &renderer) {
    audio::AudioStreamOpenResult result;
    if (!initialized_) {
        result.Error = initError_;
        return result;
    }
    if (sampleRate <= 0 || channels < 1 || channels > 2) {
        result.Error = "Invalid sample rate or channel count";
        return result;
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    const std::vector<int> indexes = OutputDeviceIndexes();
    const int number = device == -1 ? 0 : device;
    if (number < 0 || number >= static_cast<int>(indexes.size())) {
        result.Error = ErrorText(paInvalidDevice);
        return result;
    }
    auto stream = std::make_unique<PortAudioCallbackStream>(mutex_, channels, renderer);
    result.Error = stream->Start(indexes[static_cast<std::size_t>(number)], sampleRate);
    if (result.Error.empty())
        result.Stream = std::move(stream);
    return result;
}

std::optional<int> PortAudioWaveOut::JackDeviceNumber() {
    const std::lock_guard<std::mutex> lock(mutex_);
    const std::vector<int> indexes = OutputDeviceIndexes();
    for (std::size_t number = 0; number < indexes.size(); ++number) {
        const PaDeviceInfo *info = Pa_GetDeviceInfo(indexes[number]);
        const PaHostApiInfo *api = info != nullptr ? Pa_GetHostApiInfo(info->hostApi) : nullptr;
        if (api != nullptr && api->type == paJACK) {
            return static_cast<int>(number);
        }
    }
    return std::nullopt;
}

std::unique_ptr<WaveOut> CreateSystemWaveOut(std::string *error) {
    auto portAudio = std::make_unique<PortAudioWaveOut>();
    if (portAudio->Initialized()) {
        return portAudio;
    }
    if (error != nullptr) {
        *error = portAudio->InitError();
    }
    return std::make_unique<NullWaveOut>();
}

} // namespace morvane::audio
