#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace morvane {

// Layout of one wave-dump System Exclusive message of the instrument.
inline constexpr int kWaveCount = 64;                                // waves in a table
inline constexpr int kSampleCount = 128;                             // samples in a wave
inline constexpr std::size_t kMessageSize = 410;                     // bytes of one wave message
inline constexpr std::size_t kTableSize = kMessageSize * kWaveCount; // 26,240 bytes

inline constexpr std::size_t kOffsetStart = 0;        // F0, start of System Exclusive
inline constexpr std::size_t kOffsetManufacturer = 1; // 3E, Waldorf
inline constexpr std::size_t kOffsetModel = 2;        // 13, Blofeld
inline constexpr std::size_t kOffsetDevice = 3;       // device id 0..127
inline constexpr std::size_t kOffsetCommand = 4;      // 12, wave dump
inline constexpr std::size_t kOffsetSlot = 5;         // wavetable slot 80..118 (0 when new)
inline constexpr std::size_t kOffsetWaveNumber = 6;   // wave index 0..63
inline constexpr std::size_t kOffsetReserved = 7;     // 00
inline constexpr std::size_t kOffsetSamples = 8;      // 128 samples of 3 bytes
inline constexpr std::size_t kSampleBytes = 3;        // high, middle, low 7-bit bytes
inline constexpr std::size_t kOffsetName = 392;       // 14 name characters, space padded
inline constexpr std::size_t kNameLength = 14;
inline constexpr std::size_t kOffsetAfterName = 406; // 00 00
inline constexpr std::size_t kOffsetChecksum = 408;  // always 7F, never computed
inline constexpr std::size_t kOffsetEnd = 409;       // F7, end of System Exclusive

// The per-wave backup and the random-order swap cover offsets 7..407: the byte before the
// samples, the samples, the name and the two bytes after it.
inline constexpr std::size_t kBackupOffset = 7;
inline constexpr std::size_t kBackupSize = 401;

inline constexpr std::uint8_t kSysExStart = 0xF0;
inline constexpr std::uint8_t kSysExEnd = 0xF7;
inline constexpr std::uint8_t kWaldorfId = 0x3E;
inline constexpr std::uint8_t kBlofeldId = 0x13;
inline constexpr std::uint8_t kWaveDumpCommand = 0x12;
inline constexpr std::uint8_t kChecksumByte = 0x7F;

inline constexpr int kFirstSlot = 80; // slot selector items "80" .. "118"
inline constexpr int kLastSlot = 118;
inline constexpr int kDeviceIdCount = 128;

// Sample values: every value the edits produce lies in -kMaxSample..kMaxSample (+-(2^20 - 1)).
inline constexpr std::int32_t kMaxSample = 1048575;
// Full scale in drawing and conversion: twice kMaxSample.
inline constexpr std::int32_t kFullScale = 2097150;

struct SampleTriple {
    std::uint8_t High = 0;
    std::uint8_t Middle = 0;
    std::uint8_t Low = 0;
    friend bool operator==(const SampleTriple &, const SampleTriple &) = default;
};

// Sign-and-magnitude 21-bit codec of the wave message; -1 is stored as 0.
SampleTriple EncodeSample(std::int32_t value);
std::int32_t DecodeSample(std::uint8_t high, std::uint8_t middle, std::uint8_t low);

// The document: 64 wave messages in one contiguous block, exactly as the instrument receives
// them. There is no second representation of the samples.
struct Wavetable {
    std::array<std::uint8_t, kTableSize> Bytes{};

    std::uint8_t *Message(int waveIndex) { return Bytes.data() + kMessageSize * Index(waveIndex); }
    const std::uint8_t *Message(int waveIndex) const {
        return Bytes.data() + kMessageSize * Index(waveIndex);
    }
    std::span<std::uint8_t, kMessageSize> MessageSpan(int waveIndex) {
        return std::span<std::uint8_t, kMessageSize>(Message(waveIndex), kMessageSize);
    }
    std::span<const std::uint8_t, kMessageSize> MessageSpan(int waveIndex) const {
        return std::span<const std::uint8_t, kMessageSize>(Message(waveIndex), kMessageSize);
    }
    // Address of the three bytes of sample k (0..127) of wave w (0..63).
    std::uint8_t *SamplePtr(int waveIndex, int sampleIndex) {
        return Message(waveIndex) + kOffsetSamples + kSampleBytes * SampleIndex(sampleIndex);
    }
    const std::uint8_t *SamplePtr(int waveIndex, int sampleIndex) const {
        return Message(waveIndex) + kOffsetSamples + kSampleBytes * SampleIndex(sampleIndex);
    }

    friend bool operator==(const Wavetable &, const Wavetable &) = default;

private:
    // Out-of-range indexes are a programming error; they are clamped so that no write can
    // leave the block.
    static std::size_t Index(int w) {
        return static_cast<std::size_t>(w < 0 ? 0 : (w > 63 ? 63 : w));
    }
    static std::size_t SampleIndex(int k) {
        return static_cast<std::size_t>(k < 0 ? 0 : (k > 127 ? 127 : k));
    }
};
static_assert(sizeof(Wavetable) == kTableSize);

// Sample k (0..127) of wave w (0..63) through the codec.
std::int32_t ReadSample(const Wavetable &table, int waveIndex, int sampleIndex);
void WriteSample(Wavetable &table, int waveIndex, int sampleIndex, std::int32_t value);
// Raw three-byte copy of one sample, for the operations that only move samples.
SampleTriple ReadSampleBytes(const Wavetable &table, int waveIndex, int sampleIndex);
void WriteSampleBytes(Wavetable &table, int waveIndex, int sampleIndex, SampleTriple bytes);

using NameBytes = std::array<char, kNameLength>;

// Fills the whole block with 64 half-scale sines, named "untitled", slot 0, the given device.
void FillNewWavetable(Wavetable &table, std::uint8_t deviceId);

// The wave list text of a new table for wave number n (1..64): "01. Wave" .. "64. Wave".
std::string NewWaveListText(int waveNumber);
// The wave list text after a load: "1 wavetable", "2 wavetable", ...
std::string LoadedWaveListText(int count);

// The name field's text as it goes into a message: characters outside printable 7-bit ASCII
// become '?' (codes F0/F7 and >= 80 would break the System Exclusive message).
char SanitizeNameChar(char c);

// edtNameChange: leading and trailing characters <= 20 hex removed, padded with spaces, first
// 14 characters used.
NameBytes TrimmedPaddedName(std::string_view fieldText);
// StampHeaders: not trimmed, padded with spaces, first 14 characters used.
NameBytes PaddedName(std::string_view fieldText);
// Writes the name into all 64 messages; returns whether any byte differed.
bool WriteNameToAll(Wavetable &table, const NameBytes &name);
// The redraw: the 14 name characters of wave 1 with leading and trailing spaces and control
// characters removed.
std::string TrimmedNameOfFirstWave(const Wavetable &table);

// cmbDeviceIDChange: byte 3 and byte 5 of all 64 messages.
void WriteDeviceAndSlot(Wavetable &table, std::uint8_t deviceId, std::uint8_t slot);

// StampHeaders(first, last): slot, wave number and name into wave numbers first..last (1..64,
// nothing when last < first). The device byte is not written.
void StampHeaders(Wavetable &table, int first, int last, std::string_view nameField,
                  std::uint8_t slot);
// 7F into byte 408 of all 64 messages.
void FillChecksums(Wavetable &table);

// Whether 410 bytes are a whole wave message: F0 3E 13 at the start, F7 as the last byte, and
// the header, name and checksum bytes below 80 hex. Sample bytes are not looked at (see
// HoldsOverflowSamples).
bool IsWellFormedWaveMessage(std::span<const std::uint8_t, kMessageSize> message);
// Whether a sample byte is 80 hex or more. Morvane writes such bytes for values beyond the
// 21-bit range when "Allow overflow" is on; the instrument does not take the message.
bool HoldsOverflowSamples(std::span<const std::uint8_t, kMessageSize> message);

// A set of wave numbers 1..64: bit n - 1 stands for wave n.
using WaveSet = std::uint64_t;
// The waves first..last (1..64) that hold overflow samples.
WaveSet OverflowWaves(const Wavetable &table, int first, int last);
// "Wave 3 holds" / "Waves 3, 7 and 9 hold" followed by " values the instrument cannot take.";
// empty for an empty set.
std::string OverflowWavesText(WaveSet waves);

} // namespace morvane
