#include "audio/audio_stream.h"

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace morvane::audio {

class NullAudioStreamOut::Stream final : public AudioStream {
public:
    Stream(NullAudioStreamOut &owner, int sampleRate, int channels, AudioRenderer &renderer)
        : owner_(owner), renderer_(renderer), sampleRate_(sampleRate), channels_(channels),
          scratch_(kNullPeriodFrames * static_cast<std::size_t>(channels)) {
        if (owner.clock_ == Clock::Automatic)
            thread_ = std::thread([this] { Run(); });
        else
            owner.current_ = this;
    }
    ~Stream() override { Close(); }
    Stream(const Stream &) = delete;
    Stream &operator=(const Stream &) = delete;

    int SampleRate() const override { return sampleRate_; }

    void Close() override {
        running_.store(false, std::memory_order_release);
        if (thread_.joinable())
            thread_.join();
        if (owner_.current_ == this)
            owner_.current_ = nullptr;
    }

    const float *RenderPeriod() {
        renderer_.Render(scratch_.data(), kNullPeriodFrames, channels_);
        return scratch_.data();
    }

private:
    // The stream's own thread: one period at a time, each due a period after the one before.
    void Run() {
        const auto period = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(static_cast<double>(kNullPeriodFrames) / sampleRate_));
        auto due = std::chrono::steady_clock::now();
        while (running_.load(std::memory_order_acquire)) {
            RenderPeriod();
            due += period;
            std::this_thread::sleep_until(due);
        }
    }

    NullAudioStreamOut &owner_;
    AudioRenderer &renderer_;
    const int sampleRate_;
    const int channels_;
    std::vector<float> scratch_;
    std::atomic<bool> running_{true};
    std::thread thread_;
};

AudioStreamOpenResult NullAudioStreamOut::OpenStream(int, int sampleRate, int channels,
                                                     AudioRenderer &renderer) {
    AudioStreamOpenResult result;
    if (sampleRate <= 0 || channels < 1 || channels > 2) {
        result.Error = "Invalid sample rate or channel count";
        return result;
    }
    result.Stream = std::make_unique<Stream>(*this, sampleRate, channels, renderer);
    ++opened_;
    return result;
}

const float *NullAudioStreamOut::Pump(int periods) {
    const float *last = nullptr;
    for (int i = 0; i < periods && current_ != nullptr; ++i)
        last = current_->RenderPeriod();
    return last;
}

bool NullAudioStreamOut::IsOpen() const {
    return current_ != nullptr;
}

} // namespace morvane::audio
