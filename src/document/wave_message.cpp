#include "document/wave_message.h"

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

#include "document/extended.h"

namespace morvane {

namespace {
constexpr std::int32_t kHighUnit = 16384; // 2^14: value of one step of the high byte
constexpr std::int32_t kMiddleUnit = 128; // 2^7: value of one step of the middle byte
constexpr std::uint8_t kSevenBits = 0x7F;
constexpr std::uint8_t kHighPositiveMax = 63; // high bytes 00..3F are positive
constexpr std::uint8_t kSignBit = 0x40;       // set in the high byte of negative values
constexpr char kPadding = ' ';
const char kUntitled[] = "untitled";
} // namespace

SampleTriple EncodeSample(std::int32_t value) {
    if (value == -1)
        return {};
    // The magnitude is taken in 64 bits so that INT32_MIN, which allowed overflow may produce,
    // has a defined magnitude; bits above bit 20 are dropped as the 7-bit bytes require.
    const std::int64_t m = std::llabs(static_cast<std::int64_t>(value));
    SampleTriple t;
    t.Low = static_cast<std::uint8_t>(m % 128);
    t.Middle = static_cast<std::uint8_t>((m / kMiddleUnit) % 128);
    t.High = static_cast<std::uint8_t>((m / kHighUnit) % 128);
    if (value < 0)
        t.High = static_cast<std::uint8_t>(((kHighPositiveMax - t.High) | kSignBit) & 0xFF);
    return t;
}

std::int32_t DecodeSample(std::uint8_t high, std::uint8_t middle, std::uint8_t low) {
    if (high <= kHighPositiveMax)
        return high * kHighUnit + middle * kMiddleUnit + low;
    const std::int32_t h = kHighPositiveMax - (high & 0x3F);
    return -(h * kHighUnit + middle * kMiddleUnit + low);
}

std::int32_t ReadSample(const Wavetable &table, int waveIndex, int sampleIndex) {
    const std::uint8_t *p = table.SamplePtr(waveIndex, sampleIndex);
    return DecodeSample(p[0], p[1], p[2]);
}

void WriteSample(Wavetable &table, int waveIndex, int sampleIndex, std::int32_t value) {
    WriteSampleBytes(table, waveIndex, sampleIndex, EncodeSample(value));
}

SampleTriple ReadSampleBytes(const Wavetable &table, int waveIndex, int sampleIndex) {
    const std::uint8_t *p = table.SamplePtr(waveIndex, sampleIndex);
    return {p[0], p[1], p[2]};
}

void WriteSampleBytes(Wavetable &table, int waveIndex, int sampleIndex, SampleTriple bytes) {
    std::uint8_t *p = table.SamplePtr(waveIndex, sampleIndex);
    p[0] = bytes.High;
    p[1] = bytes.Middle;
    p[2] = bytes.Low;
}

void FillNewWavetable(Wavetable &table, std::uint8_t deviceId) {
    for (int w = 0; w < kWaveCount; ++w) {
        std::uint8_t *m = table.Message(w);
        m[kOffsetStart] = kSysExStart;
        m[kOffsetManufacturer] = kWaldorfId;
        m[kOffsetModel] = kBlofeldId;
        m[kOffsetDevice] = deviceId;
        m[kOffsetCommand] = kWaveDumpCommand;
        m[kOffsetSlot] = 0;
        m[kOffsetWaveNumber] = static_cast<std::uint8_t>(w);
        m[kOffsetReserved] = 0;
        m[kOffsetChecksum] = kChecksumByte;
        m[kOffsetEnd] = kSysExEnd;
        const NameBytes name = PaddedName(kUntitled);
        for (std::size_t c = 0; c < kNameLength; ++c)
            m[kOffsetName + c] = static_cast<std::uint8_t>(name[c]);
        m[kOffsetAfterName] = 0;
        m[kOffsetAfterName + 1] = 0;
        for (int i = 1; i <= kSampleCount; ++i) {
            // One period of a half-scale sine that starts one step after its zero crossing, in
            // double; the sine itself is ours so that every processor gives the same bits.
            const double x = 2.0 * std::numbers::pi * i / kSampleCount;
            const double s = Sin(Extended(x)).ToDouble() / 2.0 * kMaxSample;
            WriteSample(table, w, i - 1, static_cast<std::int32_t>(std::floor(s)));
        }
    }
}

std::string NewWaveListText(int waveNumber) {
    std::string n = std::to_string(waveNumber);
    if (waveNumber < 10)
        n = "0" + n;
    return n + ". Wave";
}

std::string LoadedWaveListText(int count) {
    return std::to_string(count) + " wavetable";
}

char SanitizeNameChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 0x20 && u < 0x7F) ? c : '?';
}

NameBytes PaddedName(std::string_view fieldText) {
    NameBytes name;
    name.fill(kPadding);
    for (std::size_t i = 0; i < kNameLength && i < fieldText.size(); ++i)
        name[i] = SanitizeNameChar(fieldText[i]);
    return name;
}

NameBytes TrimmedPaddedName(std::string_view fieldText) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    std::size_t b = 0;
    std::size_t e = fieldText.size();
    while (b < e && blank(fieldText[b]))
        ++b;
    while (e > b && blank(fieldText[e - 1]))
        --e;
    return PaddedName(fieldText.substr(b, e - b));
}

bool WriteNameToAll(Wavetable &table, const NameBytes &name) {
    bool changed = false;
    for (int w = 0; w < kWaveCount; ++w) {
        std::uint8_t *m = table.Message(w) + kOffsetName;
        for (std::size_t c = 0; c < kNameLength; ++c) {
            const auto ch = static_cast<std::uint8_t>(name[c]);
            if (m[c] != ch) {
                m[c] = ch;
                changed = true;
            }
        }
    }
    return changed;
}

std::string TrimmedNameOfFirstWave(const Wavetable &table) {
    const std::uint8_t *m = table.Message(0) + kOffsetName;
    std::size_t b = 0;
    std::size_t e = kNameLength;
    while (b < e && m[b] <= 0x20)
        ++b;
    while (e > b && m[e - 1] <= 0x20)
        --e;
    return std::string(reinterpret_cast<const char *>(m + b), e - b);
}

void WriteDeviceAndSlot(Wavetable &table, std::uint8_t deviceId, std::uint8_t slot) {
    for (int w = 0; w < kWaveCount; ++w) {
        table.Message(w)[kOffsetDevice] = deviceId;
        table.Message(w)[kOffsetSlot] = slot;
    }
}

void StampHeaders(Wavetable &table, int first, int last, std::string_view nameField,
                  std::uint8_t slot) {
    const NameBytes name = PaddedName(nameField);
    if (first < 1)
        first = 1;
    if (last > kWaveCount)
        last = kWaveCount;
    for (int n = first; n <= last; ++n) {
        std::uint8_t *m = table.Message(n - 1);
        m[kOffsetSlot] = slot;
        m[kOffsetWaveNumber] = static_cast<std::uint8_t>(n - 1);
        for (std::size_t c = 0; c < kNameLength; ++c)
            m[kOffsetName + c] = static_cast<std::uint8_t>(name[c]);
    }
}

void FillChecksums(Wavetable &table) {
    for (int w = 0; w < kWaveCount; ++w)
        table.Message(w)[kOffsetChecksum] = kChecksumByte;
}

bool IsWellFormedWaveMessage(std::span<const std::uint8_t, kMessageSize> message) {
    if (message[kOffsetStart] != kSysExStart || message[kOffsetManufacturer] != kWaldorfId ||
        message[kOffsetModel] != kBlofeldId || message[kOffsetEnd] != kSysExEnd)
        return false;
    for (std::size_t i = kOffsetDevice; i < kOffsetSamples; ++i)
        if (message[i] >= 0x80)
            return false;
    for (std::size_t i = kOffsetName; i < kOffsetEnd; ++i)
        if (message[i] >= 0x80)
            return false;
    return true;
}

bool HoldsOverflowSamples(std::span<const std::uint8_t, kMessageSize> message) {
    for (std::size_t i = kOffsetSamples; i < kOffsetName; ++i)
        if (message[i] >= 0x80)
            return true;
    return false;
}

WaveSet OverflowWaves(const Wavetable &table, int first, int last) {
    WaveSet waves = 0;
    for (int n = first < 1 ? 1 : first; n <= last && n <= kWaveCount; ++n)
        if (HoldsOverflowSamples(table.MessageSpan(n - 1)))
            waves |= WaveSet{1} << (n - 1);
    return waves;
}

std::string OverflowWavesText(WaveSet waves) {
    std::vector<int> numbers;
    for (int n = 1; n <= kWaveCount; ++n)
        if ((waves >> (n - 1)) & 1U)
            numbers.push_back(n);
    if (numbers.empty())
        return {};
    std::string text = numbers.size() == 1 ? "Wave " : "Waves ";
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0)
            text += i + 1 == numbers.size() ? " and " : ", ";
        text += std::to_string(numbers[i]);
    }
    return text + (numbers.size() == 1 ? " holds" : " hold") +
           " values the instrument cannot take.";
}

} // namespace morvane
