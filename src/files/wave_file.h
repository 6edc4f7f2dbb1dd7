#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

#include "document/wave_message.h"
#include "files/byte_reader.h"

namespace morvane::files {

inline constexpr std::size_t kWaveHeaderSize = 44;                 // the canonical RIFF/WAVE header
inline constexpr int kWaveSampleCount = kWaveCount * kSampleCount; // 8,192: the whole table
inline constexpr std::size_t kWaveSampleSize = 4;                  // 32 bits, sign and magnitude
inline constexpr std::size_t kWaveDataSize = kWaveSampleCount * kWaveSampleSize; // 32,768
inline constexpr std::size_t kWaveFileSize = kWaveHeaderSize + kWaveDataSize;    // 32,812

// Header fields (little-endian) and the values the export writes.
inline constexpr std::size_t kWaveOffsetAudioFormat = 20;   // 16 bits, 1 = PCM
inline constexpr std::size_t kWaveOffsetChannels = 22;      // 16 bits
inline constexpr std::size_t kWaveOffsetSampleRate = 24;    // 32 bits
inline constexpr std::size_t kWaveOffsetBitsPerSample = 34; // 16 bits
inline constexpr std::size_t kWaveOffsetDataTag = 36;       // "data"
inline constexpr std::size_t kWaveOffsetDataSize = 40;      // 32 bits, bytes of samples
inline constexpr std::uint16_t kWavePcm = 1;
inline constexpr std::uint16_t kWaveChannels = 1;
inline constexpr std::uint32_t kWaveSampleRate = 44100;
inline constexpr std::uint16_t kWaveBitsPerSample = 32;

// The byte 3 flag of a negative sample.
inline constexpr std::uint8_t kWaveSignBit = 0x80;

// The sentence that follows every refusal of a header.
inline constexpr const char *kAcceptedWaveFormats =
    " (Sample rate: 44.1Khz, Bit depth: 32Bit, Channels: Mono and PCM (No Compression) wave files "
    "accepted)";

using WaveSample = std::array<std::uint8_t, kWaveSampleSize>;

// The two buffers that the WAV export and import share, one instance for the program
// (WaveBuffersInstance). Sample s belongs to wave s / 128, sample s % 128.
struct WaveBuffers {
    std::array<std::uint8_t, kWaveHeaderSize> WaveHeader{};
    std::array<WaveSample, kWaveSampleCount> WaveSamples{};
};

// The program's one pair of WAV buffers, alive for the whole run.
WaveBuffers &WaveBuffersInstance();

// A sample value in the file's 32-bit sign-and-magnitude format, and back. The magnitude of
// byte 3 counts 2^23 per step, as the reader and the text dump take it.
WaveSample EncodeWaveSample(std::int32_t value);
std::int64_t WaveSampleMagnitude(const WaveSample &sample);
std::int64_t WaveSampleValue(const WaveSample &sample);

// The dump's number for a sample value: value / 8,192 truncated toward zero, plus 128.
std::int64_t WaveTextNumber(std::int64_t value);

// Morvane's own WAV, recognised by all its bytes: exactly the export's length and header, and
// samples that are values of the table's range in sign and magnitude. A 32-bit
// two's-complement file of the same length fails the last test (its negative samples have FF in
// byte 3).
bool IsMorvaneWaveBytes(std::span<const std::uint8_t> bytes);

// PrepareWaveExport: every sample of the table into WaveSamples, in table order.
void PrepareWaveExport(const Wavetable &table, WaveBuffers &buffers);

// Fills WaveHeader with the export's values.
void FillWaveHeader(WaveBuffers &buffers);

// The file bytes and the dump for the buffers as they stand. WaveTextBytes also clears the
// sign bit of byte 3 of every sample in WaveSamples, as the export has always done (the file
// keeps the signs).
std::vector<std::uint8_t> WaveFileBytes(const WaveBuffers &buffers);
std::vector<std::uint8_t> WaveTextBytes(WaveBuffers &buffers);

// WriteWaveFile: the header is filled, then the WAV file and the dump path + ".txt" are
// written; each target is replaced only once both files are complete. Throws morvane::Error.
void WriteWaveFile(const std::string &path, WaveBuffers &buffers);
// The dump that goes with the WAV file at `path`.
inline std::string WaveTextPath(const std::string &path) {
    return path + ".txt";
}

// ReadWaveFile: reads the header and, when it is accepted, the samples (those a shorter data
// chunk does not hold become zero). A refused header throws morvane::Error with the refusal
// ("No 32Bit.") followed by kAcceptedWaveFormats; a file that holds fewer sample bytes than its
// "data" chunk gives throws, and the samples stay as they were; so do opening and reading
// errors.
void ReadWaveFile(ByteReader &reader, WaveBuffers &buffers);
void ReadWaveFile(const std::string &path, WaveBuffers &buffers);
void ReadWaveFromStream(std::istream &in, WaveBuffers &buffers);

// The import's conversion (btnLoadWaveClick steps 5 and 6) for wave numbers first..last
// (1..64; nothing when last < first): wave n takes file samples (n - 1) * 128 .. n * 128 - 1,
// scaled so that the largest magnitude of the range reaches full scale. Throws
// morvane::Error("Division by zero") before changing anything when every sample of the range
// is zero.
void ImportWaveSamples(const WaveBuffers &buffers, Wavetable &table, int first, int last);

} // namespace morvane::files
