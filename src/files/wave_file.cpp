#include "files/wave_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <istream>

#include "document/error.h"
#include "document/extended.h"
#include "files/atomic_file.h"

namespace morvane::files {

namespace {

constexpr std::int64_t kByte3Unit = 8388608; // 2^23: what the reader counts per step of byte 3
constexpr std::int64_t kTextStep = 8192;     // one step of the dump's numbers
constexpr std::int64_t kTextMiddle = 128;    // the dump's number for silence

void Put16(std::uint8_t *p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v & 0xFF);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t *p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF);
}
std::uint16_t Get16(const std::uint8_t *p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t Get32(const std::uint8_t *p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

} // namespace

WaveBuffers &WaveBuffersInstance() {
    static WaveBuffers buffers;
    return buffers;
}

WaveSample EncodeWaveSample(std::int32_t value) {
    const auto m = static_cast<std::uint32_t>(std::llabs(static_cast<long long>(value)));
    WaveSample s{};
    s[0] = static_cast<std::uint8_t>(m & 0xFF);
    s[1] = static_cast<std::uint8_t>((m >> 8) & 0xFF);
    s[2] = static_cast<std::uint8_t>((m >> 16) & 0xFF);
    s[3] = static_cast<std::uint8_t>(value < 0 ? (((m >> 24) & 0x7F) | kWaveSignBit) : (m >> 24));
    return s;
}

std::int64_t WaveSampleMagnitude(const WaveSample &sample) {
    return sample[0] + sample[1] * std::int64_t{256} + sample[2] * std::int64_t{65536} +
           (sample[3] & 0x7F) * kByte3Unit;
}

bool IsMorvaneWaveBytes(std::span<const std::uint8_t> bytes) {
    const auto le = [&bytes](std::size_t at, int size) {
        std::uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
        return value;
    };
    const auto text = [&bytes](std::size_t at) {
        return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                           bytes.begin() + static_cast<std::ptrdiff_t>(at) + 4);
    };
    if (bytes.size() != kWaveFileSize)
        return false;
    if (text(0) != "RIFF" || text(8) != "WAVE" || le(kWaveOffsetAudioFormat, 2) != kWavePcm ||
        le(kWaveOffsetChannels, 2) != kWaveChannels ||
        le(kWaveOffsetSampleRate, 4) != kWaveSampleRate ||
        le(kWaveOffsetBitsPerSample, 2) != kWaveBitsPerSample)
        return false;
    for (std::size_t at = kWaveHeaderSize; at < bytes.size(); at += kWaveSampleSize) {
        const std::uint8_t top = bytes[at + 3];
        if ((top != 0 && top != kWaveSignBit) || le(at, 3) > static_cast<std::uint32_t>(kMaxSample))
            return false;
    }
    return true;
}

std::int64_t WaveSampleValue(const WaveSample &sample) {
    const std::int64_t m = WaveSampleMagnitude(sample);
    return (sample[3] & kWaveSignBit) != 0 ? -m : m;
}

std::int64_t WaveTextNumber(std::int64_t value) {
    return value / kTextStep + kTextMiddle;
}

void PrepareWaveExport(const Wavetable &table, WaveBuffers &buffers) {
    for (int w = 0; w < kWaveCount; ++w)
        for (int k = 0; k < kSampleCount; ++k)
            buffers.WaveSamples[static_cast<std::size_t>(w * kSampleCount + k)] =
                EncodeWaveSample(ReadSample(table, w, k));
}

void FillWaveHeader(WaveBuffers &buffers) {
    std::uint8_t *h = buffers.WaveHeader.data();
    std::memcpy(h + 0, "RIFF", 4);
    Put32(h + 4, static_cast<std::uint32_t>(kWaveFileSize - 8)); // 32,804: 36 + data size
    std::memcpy(h + 8, "WAVE", 4);
    std::memcpy(h + 12, "fmt ", 4);
    Put32(h + 16, 16); // size of the PCM format chunk
    Put16(h + kWaveOffsetAudioFormat, kWavePcm);
    Put16(h + kWaveOffsetChannels, kWaveChannels);
    Put32(h + kWaveOffsetSampleRate, kWaveSampleRate);
    Put32(h + 28, kWaveChannels * kWaveSampleRate * kWaveBitsPerSample / 8);           // byte rate
    Put16(h + 32, static_cast<std::uint16_t>(kWaveChannels * kWaveBitsPerSample / 8)); // align
    Put16(h + kWaveOffsetBitsPerSample, kWaveBitsPerSample);
    std::memcpy(h + 36, "data", 4);
    Put32(h + 40, static_cast<std::uint32_t>(kWaveDataSize));
}

std::vector<std::uint8_t> WaveFileBytes(const WaveBuffers &buffers) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kWaveFileSize);
    bytes.insert(bytes.end(), buffers.WaveHeader.begin(), buffers.WaveHeader.end());
    for (const WaveSample &s : buffers.WaveSamples)
        bytes.insert(bytes.end(), s.begin(), s.end());
    return bytes;
}

std::vector<std::uint8_t> WaveTextBytes(WaveBuffers &buffers) {
    std::vector<std::uint8_t> text;
    text.reserve(static_cast<std::size_t>(kWaveSampleCount) * 5);
    for (WaveSample &s : buffers.WaveSamples) {
        const std::int64_t value = WaveSampleValue(s);
        s[3] = static_cast<std::uint8_t>(s[3] & ~kWaveSignBit);
        const std::string line = std::to_string(WaveTextNumber(value)) + "\r\n";
        text.insert(text.end(), line.begin(), line.end());
    }
    return text;
}

void WriteWaveFile(const std::string &path, WaveBuffers &buffers) {
    FillWaveHeader(buffers);
    const std::vector<std::uint8_t> wave = WaveFileBytes(buffers);
    const std::vector<std::uint8_t> text = WaveTextBytes(buffers);
    AtomicFile waveFile(path);
    AtomicFile textFile(WaveTextPath(path));
    waveFile.Write(wave);
    textFile.Write(text);
    textFile.Commit();
    waveFile.Commit();
}

void ReadWaveFile(ByteReader &reader, WaveBuffers &buffers) {
    std::array<std::uint8_t, kWaveHeaderSize> header{};
    const std::size_t got = reader.Read(header);
    buffers.WaveHeader = header;
    std::string refusal;
    if (got < kWaveHeaderSize) {
        refusal = "No WAV header.";
    } else {
        const std::uint8_t *h = header.data();
        if (Get16(h + kWaveOffsetAudioFormat) != kWavePcm)
            refusal = "No PCM format.";
        if (Get16(h + kWaveOffsetChannels) != kWaveChannels)
            refusal = "No mono wave.";
        if (Get32(h + kWaveOffsetSampleRate) != kWaveSampleRate)
            refusal = "No 44100Hz.";
        if (Get16(h + kWaveOffsetBitsPerSample) != kWaveBitsPerSample)
            refusal = "No 32Bit.";
    }
    if (!refusal.empty())
        throw Error(refusal + kAcceptedWaveFormats);

    std::array<std::uint8_t, kWaveDataSize> data{};
    const std::size_t read = reader.Read(data);
    // A file cut short (a save that was killed, a copy that stopped) would leave waves of
    // silence that look like content: the samples its data chunk promises must be there.
    if (std::memcmp(header.data() + kWaveOffsetDataTag, "data", 4) == 0) {
        const std::size_t promised =
            std::min<std::size_t>(Get32(header.data() + kWaveOffsetDataSize), kWaveDataSize);
        if (read < promised)
            throw Error("The file is shorter than its header says: it holds " +
                        std::to_string(read) + " of " + std::to_string(promised) +
                        " bytes of samples.");
    }
    // Samples a shorter data chunk does not hold (a last sample cut short too) are zero.
    for (std::size_t s = 0; s < buffers.WaveSamples.size(); ++s) {
        WaveSample sample{};
        if ((s + 1) * kWaveSampleSize <= read)
            std::memcpy(sample.data(), data.data() + s * kWaveSampleSize, kWaveSampleSize);
        buffers.WaveSamples[s] = sample;
    }
}

void ReadWaveFile(const std::string &path, WaveBuffers &buffers) {
    ByteReader reader(OpenFileSource(path));
    ReadWaveFile(reader, buffers);
}

void ReadWaveFromStream(std::istream &in, WaveBuffers &buffers) {
    ByteReader reader(StreamSource(in));
    ReadWaveFile(reader, buffers);
}

void ImportWaveSamples(const WaveBuffers &buffers, Wavetable &table, int first, int last) {
    if (first < 1)
        first = 1;
    if (last > kWaveCount)
        last = kWaveCount;
    if (last < first)
        return;
    const auto at = [&](int n, int k) -> const WaveSample & {
        return buffers.WaveSamples[static_cast<std::size_t>((n - 1) * kSampleCount + k)];
    };
    std::int64_t peak = -2147483647; // the smallest 32-bit value plus one
    for (int n = first; n <= last; ++n)
        for (int k = 0; k < kSampleCount; ++k)
            peak = std::max(peak, WaveSampleMagnitude(at(n, k)));
    // Every sample of the range is zero: 0 / 0 has no value to store.
    if (peak == 0)
        throw Error("Division by zero");
    const Extended fullScale = kFullScale;
    for (int n = first; n <= last; ++n) {
        for (int k = 0; k < kSampleCount; ++k) {
            const Extended value = WaveSampleValue(at(n, k));
            const std::int64_t g = TruncToInt64(Floor(value / peak * fullScale));
            WriteSample(table, n - 1, k, static_cast<std::int32_t>(g / 2));
        }
    }
}

} // namespace morvane::files
