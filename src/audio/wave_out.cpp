#include "audio/wave_out.h"

#include <algorithm>
#include <utility>

namespace morvane::audio {

PcmWaveFormat MakeWaveFormat(const AudioSettings &settings) {
    PcmWaveFormat format;
    format.FormatTag = 1;
    format.Channels = static_cast<std::uint16_t>(settings.WaveChannels);
    format.SamplesPerSec = static_cast<std::uint32_t>(settings.WaveSamplesPerSec);
    format.AvgBytesPerSec = static_cast<std::uint32_t>(
        static_cast<std::int64_t>(settings.WaveSamplesPerSec) * settings.WaveBlockAlign);
    format.BlockAlign = static_cast<std::uint16_t>(settings.WaveBlockAlign);
    format.BitsPerSample = static_cast<std::uint16_t>(settings.WaveBitsPerSample);
    format.CbSize = 0;
    return format;
}

std::string CheckWaveFormat(const PcmWaveFormat &format) {
    const bool valid = format.FormatTag == 1 && format.BitsPerSample == 16 &&
                       (format.Channels == 1 || format.Channels == 2) &&
                       format.BlockAlign == format.Channels * 2 && format.SamplesPerSec > 0 &&
                       static_cast<std::uint64_t>(format.AvgBytesPerSec) ==
                           static_cast<std::uint64_t>(format.SamplesPerSec) * format.BlockAlign;
    if (valid) {
        return {};
    }
    return "Unsupported wave format (" + std::to_string(format.Channels) + " channels, " +
           std::to_string(format.SamplesPerSec) + " Hz, " + std::to_string(format.BitsPerSample) +
           " bits, block align " + std::to_string(format.BlockAlign) + ")";
}

std::uint32_t FormatBit(int rateIndex, int channels) {
    // Each rate takes four bits: 8-bit mono, 8-bit stereo, 16-bit mono, 16-bit stereo.
    const std::uint32_t bit16 = channels == 2 ? 0x8u : 0x4u;
    return bit16 << (4 * rateIndex);
}

std::string TruncateProductName(std::string name) {
    if (name.size() <= kMaxProductNameLength) {
        return name;
    }
    std::size_t length = kMaxProductNameLength;
    // Back off over continuation bytes (10xxxxxx) so that no character is split.
    while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) {
        --length;
    }
    name.resize(length);
    return name;
}

namespace {

using Clock = std::chrono::steady_clock;

// Single-threaded by contract: only the generator's thread calls a stream.
class NullWaveOutStream final : public WaveOutStream {
public:
    NullWaveOutStream(PcmWaveFormat format, NullWaveOut::ClockFunction clock)
        : format_(format), clock_(std::move(clock)) {}

    bool Write(int bufferNumber, const WaveHeader &header) override {
        if (closed_ || bufferNumber < 1 || bufferNumber > kWaveBufferCount ||
            IsHeld(bufferNumber)) {
            return false;
        }
        const Clock::time_point now = clock_();
        const Clock::time_point start = std::max(now, queueEnd_);
        const auto length =
            std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                static_cast<double>(header.BufferLength) / format_.AvgBytesPerSec));
        queueEnd_ = start + length;
        heldUntil_[Slot(bufferNumber)] = queueEnd_;
        return true;
    }

    bool IsHeld(int bufferNumber) override {
        if (closed_ || bufferNumber < 1 || bufferNumber > kWaveBufferCount) {
            return false;
        }
        return clock_() < heldUntil_[Slot(bufferNumber)];
    }

    void Close() override {
        closed_ = true;
        heldUntil_.fill(Clock::time_point{});
    }

private:
    static std::size_t Slot(int bufferNumber) { return static_cast<std::size_t>(bufferNumber - 1); }

    PcmWaveFormat format_;
    NullWaveOut::ClockFunction clock_;
    std::array<Clock::time_point, kWaveBufferCount> heldUntil_{};
    Clock::time_point queueEnd_{};
    bool closed_ = false;
};

} // namespace

NullWaveOut::NullWaveOut()
    : NullWaveOut(std::vector<WaveOutCaps>{{"No sound output", kAllWaveFormats16}}) {}

NullWaveOut::NullWaveOut(std::vector<WaveOutCaps> devices, ClockFunction clock)
    : devices_(std::move(devices)), clock_(std::move(clock)) {
    if (!clock_) {
        clock_ = [] { return Clock::now(); };
    }
    for (WaveOutCaps &caps : devices_) {
        caps.ProductName = TruncateProductName(std::move(caps.ProductName));
    }
}

std::vector<WaveOutCaps> NullWaveOut::Devices() {
    return devices_;
}

WaveOutOpenResult NullWaveOut::Open(int device, const PcmWaveFormat &format) {
    WaveOutOpenResult result;
    const int count = static_cast<int>(devices_.size());
    if (device < -1 || device >= count || count == 0) {
        result.Error = "Invalid device";
        return result;
    }
    result.Error = CheckWaveFormat(format);
    if (result.Error.empty()) {
        result.Stream = std::make_unique<NullWaveOutStream>(format, clock_);
    }
    return result;
}

} // namespace morvane::audio
