#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio/audio_settings.h"

namespace morvane::audio {

// The wave-out port: exactly what the generator thread relies on. A backend lists its output
// devices with their 16-bit format sets, opens one with a PCM format, plays the buffers handed
// to it in turn, tells whether it still holds a buffer, and is closed at the end.

// One sample of the generator's memory. The UI thread rewrites buffers while the device reads
// them, so both sides use relaxed atomic loads and stores: a buffer may be heard partly old and
// partly new, but no value is ever torn and there is no data race.
using AudioSample = std::atomic<std::int16_t>;
static_assert(AudioSample::is_always_lock_free);

inline constexpr int kWaveBufferCount = 16;             // buffers per generator, numbered 1..16
inline constexpr std::size_t kWaveBufferSamples = 8192; // 16-bit samples a buffer holds
// Bytes handed over per write: the first 4096 of the buffer's 8192 samples.
inline constexpr std::uint32_t kWaveBufferBytes = 8192;

using AudioBuffer = std::array<AudioSample, kWaveBufferSamples>;
using AudioBuffers = std::array<AudioBuffer, kWaveBufferCount>;

// The PCM format record passed to the device (the fields of the platform's WAVEFORMATEX).
struct PcmWaveFormat {
    std::uint16_t FormatTag = 1; // PCM
    std::uint16_t Channels = 2;
    std::uint32_t SamplesPerSec = 44100;
    std::uint32_t AvgBytesPerSec = 176400;
    std::uint16_t BlockAlign = 4;
    std::uint16_t BitsPerSample = 16;
    std::uint16_t CbSize = 0;

    friend bool operator==(const PcmWaveFormat &, const PcmWaveFormat &) = default;
};

// The format from the settings: average bytes per second = rate x block align. Fields are
// narrowed as the platform's record would narrow them; a backend rejects what makes no sense.
PcmWaveFormat MakeWaveFormat(const AudioSettings &settings);

// Empty when a backend can play the format (PCM, 16 bits, 1 or 2 channels, block align and
// byte rate consistent with them, a positive rate); otherwise the reason, for the message log.
std::string CheckWaveFormat(const PcmWaveFormat &format);

// The 16-bit bits of a device's format set, as the platform's format table numbers them.
inline constexpr std::uint32_t kWaveFormat1M16 = 0x00004;  // 11.025 kHz, mono
inline constexpr std::uint32_t kWaveFormat1S16 = 0x00008;  // 11.025 kHz, stereo
inline constexpr std::uint32_t kWaveFormat2M16 = 0x00040;  // 22.05 kHz, mono
inline constexpr std::uint32_t kWaveFormat2S16 = 0x00080;  // 22.05 kHz, stereo
inline constexpr std::uint32_t kWaveFormat4M16 = 0x00400;  // 44.1 kHz, mono
inline constexpr std::uint32_t kWaveFormat4S16 = 0x00800;  // 44.1 kHz, stereo
inline constexpr std::uint32_t kWaveFormat48M16 = 0x04000; // 48 kHz, mono
inline constexpr std::uint32_t kWaveFormat48S16 = 0x08000; // 48 kHz, stereo
inline constexpr std::uint32_t kWaveFormat96M16 = 0x40000; // 96 kHz, mono
inline constexpr std::uint32_t kWaveFormat96S16 = 0x80000; // 96 kHz, stereo
inline constexpr std::uint32_t kAllWaveFormats16 =
    kWaveFormat1M16 | kWaveFormat1S16 | kWaveFormat2M16 | kWaveFormat2S16 | kWaveFormat4M16 |
    kWaveFormat4S16 | kWaveFormat48M16 | kWaveFormat48S16 | kWaveFormat96M16 | kWaveFormat96S16;

// The rates of the format table, in its order; bit of (rate r, channels c) is
// FormatBit(r, c).
inline constexpr std::array<std::int32_t, 5> kFormatRates = {11025, 22050, 44100, 48000, 96000};
std::uint32_t FormatBit(int rateIndex, int channels);

// The product name field of the platform's record holds 32 characters with the terminating
// zero.
inline constexpr std::size_t kMaxProductNameLength = 31;

struct WaveOutCaps {
    std::string ProductName;   // at most kMaxProductNameLength bytes
    std::uint32_t Formats = 0; // bits of the format table above
};

// Cuts a device name to kMaxProductNameLength bytes without splitting a UTF-8 character.
std::string TruncateProductName(std::string name);

// What one write hands over: the device reads BufferLength bytes (16-bit samples, interleaved
// left, right for two channels) from Data, which stays valid until the device gives the buffer
// back.
struct WaveHeader {
    const AudioSample *Data = nullptr;
    std::uint32_t BufferLength = 0; // bytes, even
};

// An open device. All calls come from the thread that opened it (the generator's thread).
class WaveOutStream {
public:
    virtual ~WaveOutStream() = default;
    // Queues buffer number k (1..16) behind those already queued; false when refused (k out of
    // range, or the buffer is still held).
    virtual bool Write(int bufferNumber, const WaveHeader &header) = 0;
    // Whether the device still holds buffer k: true from its Write until the device has read
    // all of its bytes, or until Close.
    virtual bool IsHeld(int bufferNumber) = 0;
    // Stops at once (queued buffers are dropped, not played out) and gives back every buffer:
    // once Close returns, the device never touches the memory of any header again. Calling it
    // twice is harmless; the destructor closes too.
    virtual void Close() = 0;
};

struct WaveOutOpenResult {
    std::unique_ptr<WaveOutStream> Stream; // none when the open failed
    std::string Error;                     // the backend's error text when it failed
};

// The wave-out service. Devices and Open may be called from any thread, also while another
// stream of the same service plays.
class WaveOut {
public:
    virtual ~WaveOut() = default;
    // Output devices in the order of their numbers (0, 1, ...).
    virtual std::vector<WaveOutCaps> Devices() = 0;
    // Opens device number `device` (-1: the default output) with the format.
    virtual WaveOutOpenResult Open(int device, const PcmWaveFormat &format) = 0;
};

// A device that plays nothing but consumes the buffers in real time on its own clock: each
// buffer is held for its length in bytes divided by the format's byte rate, after the buffers
// queued before it. For machines without a sound device, and for tests (the clock can be
// replaced).
class NullWaveOut final : public WaveOut {
public:
    using ClockFunction = std::function<std::chrono::steady_clock::time_point()>;

    // One device, "No sound output", offering all ten 16-bit formats.
    NullWaveOut();
    explicit NullWaveOut(std::vector<WaveOutCaps> devices, ClockFunction clock = {});

    std::vector<WaveOutCaps> Devices() override;
    WaveOutOpenResult Open(int device, const PcmWaveFormat &format) override;

private:
    std::vector<WaveOutCaps> devices_;
    ClockFunction clock_;
};

} // namespace morvane::audio
